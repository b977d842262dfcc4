#include "platform/start_up.h"

#include "storage/database.h"

namespace velmora {

VelmoraApp::VelmoraApp(const Platform &platform, const QDir &folder)
    : platform_(platform), folder_(folder), lock_(folder.filePath(QString::fromLatin1(kLockFileName)))
{
    // Held as long as the program runs; one left by a program that crashed names a process that is
    // gone and is taken over.
    lock_.setStaleLockTime(0);
}

bool VelmoraApp::start()
{
    if (!lock_.tryLock(0)) {
        const QString reason =
            lock_.error() == QLockFile::LockFailedError
                ? QStringLiteral("Velmora is already open on this folder. Use the window that is open, or "
                                 "close it first.")
                : QStringLiteral("Velmora cannot claim this folder for itself (its lock file cannot be "
                                 "written), so it does not open the files.");
        platform_.messages.inform(
            nullptr,
            QStringLiteral("%1\n\nFolder: %2").arg(reason, QDir::toNativeSeparators(folder_.absolutePath())));
        return false;
    }
    const QStringList problems = prepareFolder();
    storage_ = std::make_unique<SqliteStorage>(folder_);
    book_ = std::make_unique<AppointmentBook>(*storage_, platform_.clock.today());
    windows_ = std::make_unique<BookWindows>(platform_, *book_, folder_, problems);
    return true;
}

QStringList VelmoraApp::prepareFolder()
{
    const FolderCheck check = checkFolder(folder_);
    QStringList problems = check.problems;
    if (check.missing.isEmpty())
        return problems;
    // Made without asking only on a first start; a file missing among the others is more likely
    // moved or lost than never made, and an empty one would hide that.
    const bool create =
        check.firstStart ||
        platform_.messages.ask(nullptr, QStringLiteral("These files are missing from the folder %1:\n\n%2\n\n"
                                                       "Create them empty? The doctors or appointments they "
                                                       "held will not be in them. Answer No to look for them "
                                                       "first; the program works without them meanwhile.")
                                            .arg(QDir::toNativeSeparators(folder_.absolutePath()),
                                                 check.missing.join(QStringLiteral(", "))));
    if (create)
        return problems + createFiles(folder_, check.missing);
    for (const QString &fileName : check.missing)
        problems << QStringLiteral("\"%1\" is missing; it was not created.").arg(fileName);
    return problems;
}

} // namespace velmora
