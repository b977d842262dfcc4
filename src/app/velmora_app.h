#pragma once

#include "app/system_platform.h"
#include "book/main_window.h"

#include <QDir>

#include <memory>

namespace velmora {

// The program as it starts: its files prepared in the folder, the desktop's services, and the main
// window on them, not yet shown.
class VelmoraApp
{
public:
    explicit VelmoraApp(const QDir &folder);

    MainWindow &window() { return *window_; }

private:
    SystemMessages messages_;
    SystemClock clock_;
    SystemPrinter printer_;
    SystemBrowser browser_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace velmora
