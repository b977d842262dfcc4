#include "windows/find_window.h"
#include "core/storage/stored_bookings.h"
#include "windows/widgets_support.h"

#include "core/storage/series_scope.h"

#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <utility>

namespace velmora {

namespace {

constexpr int kTypingPauseMs = 250;

} // namespace

FindWindow::FindWindow(const Platform &platform, BackgroundReads &reads, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform)
{
    setObjectName(QStringLiteral("findWindow"));
    setWindowTitle(tr("Find a patient"));
    auto *caption = new QLabel(tr("&Name or phone:"), this);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("findText"));
    text_->setAccessibleName(tr("Name or phone to find"));
    caption->setBuddy(text_);
    said_ = new QLabel(this);
    said_->setObjectName(QStringLiteral("findSaid"));
    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("findResults"));
    results_->setAccessibleName(tr("Appointments found"));
    results_->setFont(QFont(QStringLiteral("Courier New"), 10));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(text_);
    layout->addWidget(said_);
    // The reading line after the window's own controls, in Tab order too.
    reading_ = new ReadingBar(reads, this);
    layout->addWidget(reading_);
    layout->addWidget(results_, 1);
    auto *patients = new QHBoxLayout;
    layout->addLayout(patients);
    for (const auto &[caption, name, review] :
         {std::tuple{tr("The patient's &record"), "findPatientRecord", false},
          std::tuple{tr("&Join old bookings to patients..."), "findReview", true}}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        button->setAutoDefault(false);
        patients->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, wholeBooks = review] {
            if (wholeBooks)
                Q_EMIT reviewRequested();
            else if (const int row = results_->currentRow(); row >= 0 && row < found_.size())
                Q_EMIT patientRequested(found_.at(row));
        });
    }
    patients->addStretch();
    resize(1080, 420); // a whole line of a booking found in view

    pause_.setSingleShot(true);
    pause_.setInterval(kTypingPauseMs);
    connect(&pause_, &QTimer::timeout, this, &FindWindow::search);
    connect(text_, &QLineEdit::textEdited, &pause_, qOverload<>(&QTimer::start));
    connect(text_, &QLineEdit::returnPressed, this, [this] {
        if (pause_.isActive()) {
            pause_.stop();
            search();
        }
        // What was typed last is chosen from, once found.
        if (reading_->reading())
            chooseWhenFound_ = true;
        else
            chooseCurrent();
    });
    connect(results_, &QListWidget::itemActivated, this, [this] { chooseCurrent(); });
    text_->installEventFilter(this);
    connect(reading_, &ReadingBar::stopped, this, [this] {
        chooseWhenFound_ = false;
        said_->setText(tr("The search was stopped."));
    });
    onEscape(this, [this] {
        if (reading_->reading())
            reading_->stop();
        else
            QWidget::close();
    });
}

void FindWindow::open()
{
    show();
    raise();
    activateWindow();
    text_->setFocus(Qt::OtherFocusReason);
    text_->selectAll();
}

bool FindWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows in the text move through the results.
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && results_->count() > 0) {
            const int row =
                std::clamp(results_->currentRow() + (key == Qt::Key_Down ? 1 : -1), 0, results_->count() - 1);
            results_->setCurrentRow(row);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindWindow::search()
{
    const QString typed = text_->text();
    const QDate today = platform_.clock.today();
    reading_->start<FoundPatients>(
        tr("Searching the books..."),
        [typed, today](BookStorage &storage, const ReadProgress &) {
            return findPatients(storage, typed, today);
        },
        [this, today](const FoundPatients &result) { showFound(result, today); });
}

void FindWindow::showFound(const FoundPatients &result, QDate today)
{
    results_->clear();
    found_ = result.found;
    if (!result.read) {
        said_->setText(tr("The books could not be searched: %1").arg(result.error));
        return;
    }
    if (result.query.kind == PatientQuery::Kind::TooShort) {
        said_->setText(tr("Type at least three letters of a name, or four digits of a phone."));
        return;
    }
    const QLocale locale;
    for (const FoundBooking &each : std::as_const(found_)) {
        const Appointment &booking = each.booking;
        const QString line = QStringLiteral("%1  %2  %3  %4  %5  %6")
                                 .arg(listedDate(booking.date, locale),
                                      fitted(trimBlanks(booking.hora), BookingRecord::kHoraWidth),
                                      fitted(trimBlanks(result.doctorNames.value(each.slot - 1)), 30),
                                      fitted(trimBlanks(booking.nome), BookingRecord::kNomeWidth),
                                      fitted(trimBlanks(booking.convenio), BookingRecord::kConvenioWidth),
                                      trimBlanks(booking.telefone));
        // A session of a weekly series says which ("3/10").
        const QString session = sessionText(booking.series);
        auto *item = new QListWidgetItem(
            blankControlCharacters(session.isEmpty() ? line : line + QStringLiteral("  [%1]").arg(session)),
            results_);
        if (booking.date < today) // past ones told apart at a glance
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    said_->setText(found_.isEmpty() ? tr("Nothing found.")
                                    : tr("Found: %n", nullptr, static_cast<int>(found_.size())));
    if (!found_.isEmpty())
        results_->setCurrentRow(0);
    if (std::exchange(chooseWhenFound_, false))
        chooseCurrent();
}

void FindWindow::chooseCurrent()
{
    const int row = results_->currentRow();
    if (row < 0 || row >= found_.size())
        return;
    Q_EMIT chosen(found_.at(row));
}

} // namespace velmora
