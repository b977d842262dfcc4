#include "app/velmora_app.h"

#include "storage/database.h"

namespace velmora {

VelmoraApp::VelmoraApp(const QDir &folder)
{
    const QStringList problems = prepareFiles(folder);
    window_ = std::make_unique<MainWindow>(Platform{messages_, clock_, printer_, browser_}, folder, problems);
}

} // namespace velmora
