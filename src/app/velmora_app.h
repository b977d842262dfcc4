#pragma once

#include "app/platform.h"
#include "book/main_window.h"

#include <QDir>
#include <QLockFile>

#include <memory>

namespace velmora {

// The program as it starts on a data folder: the folder claimed for this copy of the program, its
// files checked (and created on a first start), and the main window on them, not yet shown.
class VelmoraApp
{
public:
    VelmoraApp(const Platform &platform, const QDir &folder);

    // False, after saying why, when the program must end: another copy has the folder open. Nothing
    // in the folder is touched then.
    bool start();

    MainWindow &window() { return *window_; }

    static constexpr const char *kLockFileName = "velmora.lock";

private:
    QStringList prepareFolder();

    Platform platform_;
    QDir folder_;
    QLockFile lock_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace velmora
