#include "windows/book_windows.h"

namespace velmora {

BookWindows::BookWindows(const Platform &platform, AppointmentBook &book, BookStorage &storage,
                         BackgroundReads &reads, const QDir &pdfFolder, const QStringList &fileProblems)
    : platform_(platform), doctorSetup_(storage),
      main_(std::make_unique<MainWindow>(platform, book, storage, reads, pdfFolder, fileProblems))
{
    QObject::connect(main_.get(), &MainWindow::setupRequested, main_.get(), [this] { openSetup(); });
}

BookWindows::~BookWindows()
{
    setup_.reset();
}

void BookWindows::openSetup()
{
    if (!setup_) {
        auto window = std::make_unique<SetupWindow>(platform_, doctorSetup_);
        if (!window->load())
            return; // never opened on values that were not read, which saving would write over
        setup_ = std::move(window);
        QObject::connect(setup_.get(), &SetupWindow::returned, main_.get(), &MainWindow::showAfterSetup);
        QObject::connect(setup_.get(), &SetupWindow::calendarRequested, main_.get(),
                         [main = main_.get()] { main->openCalendar(false); });
        QObject::connect(setup_.get(), &SetupWindow::squeezeLimitsRequested, main_.get(),
                         [main = main_.get()] { main->openSqueezeLimits(); });
    }
    setup_->showMaximized();
    main_->hide();
}

} // namespace velmora
