#pragma once

#include "windows/main_window.h"
#include "windows/setup_window.h"

#include <memory>

namespace velmora {

// The program's two windows on one book: "Setup Doctors Details" hides the main window and shows
// the setup window (made and loaded on its first opening), and leaving the setup window comes back.
class BookWindows
{
public:
    // The setup and the confirmations' statuses write on storage; the other windows read through reads.
    BookWindows(const Platform &platform, AppointmentBook &book, BookStorage &storage, BackgroundReads &reads,
                const QDir &pdfFolder, const QStringList &fileProblems = {});
    ~BookWindows();

    MainWindow &main() { return *main_; }
    // The setup window once it has been opened, or null.
    SetupWindow *setup() { return setup_.get(); }

private:
    void openSetup();

    Platform platform_;
    DoctorSetup doctorSetup_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<SetupWindow> setup_;
};

} // namespace velmora
