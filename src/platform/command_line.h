#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora {

// What the program was asked to do, read and checked before anything is opened or written.
struct CommandLine
{
    enum class Task
    {
        Window,
        Help,
        Version,
        ImportLegacy,
        RestoreBackup,
        CopyToServer,
        CopyFromServer,
        Find,
        Report,
        ServerSetup,
        Day,
        Calendar,
        Patient
    };
    Task task = Task::Window;
    QByteArray dataFolder; // as given, byte for byte; empty for the working folder
    QString language;
    QString server;
    QString value;   // the day of a restore, the server of a copy, the text to find, a report's first day, a
                     // calendar's year
    QString until;   // a report's last day
    int doctor = 0;  // the clinic's day of one doctor's slot (1-10), or of all (0)
    QString csvFile; // where a report is written, or empty for the terminal; relative to the shell's folder
    bool force = false; // an existing file (not one of the program's) may be written over
    QString error;      // why the command line cannot be followed: nothing is done then
    QString help;

    // The tasks of a terminal, which need no window and no screen.
    bool needsWindow() const { return task == Task::Window; }
};

// A warning, when a server's address on the command line holds a password (every user of the computer
// sees the arguments, as ps shows them); empty otherwise.
QString passwordWarning(const CommandLine &line);

// The language --language names among the arguments, valid or not; empty for the system's.
QString namedLanguage(const QList<QByteArray> &arguments);

// Reads the arguments as the program got them (argv without its first).
CommandLine readCommandLine(const QList<QByteArray> &arguments);

// Makes the data folder the working folder, so that every file is opened by a name relative to it
// and a folder whose name is no valid text is still the one given. "user" is the user's own folder,
// made on first use; any other folder must exist. False with the reason otherwise.
bool enterDataFolder(const QByteArray &dataFolder, QString *error);

} // namespace velmora
