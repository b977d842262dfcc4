#pragma once

#include <QDate>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QUrl>

class QWidget;

namespace velmora {

struct Printout;

// Message boxes and the file dialog. Every box carries the caption "Velmora".
class MessageService
{
public:
    virtual ~MessageService() = default;
    // A modal box with the text and an OK button.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // A modal box with Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &text) = 0;
    // The same with buttons that say what they do, such as "Import" and "Not now". A Yes that cannot
    // be undone is not the default button: Enter then answers No.
    enum class Default
    {
        Yes,
        No
    };
    virtual bool ask(QWidget *parent, const QString &text, const QString &yes, const QString &no,
                     Default answer = Default::Yes)
    {
        Q_UNUSED(yes);
        Q_UNUSED(no);
        Q_UNUSED(answer);
        return ask(parent, text);
    }
    // A modal box with a button for each choice, the first the default and the last the one Escape
    // presses: the index of the one pressed.
    virtual int choose(QWidget *parent, const QString &text, const QStringList &choices)
    {
        return ask(parent, text, choices.value(0), choices.value(choices.size() - 1))
                   ? 0
                   : static_cast<int>(choices.size()) - 1;
    }
    // A save dialog offering startPath's file name in the user's documents folder; the empty text when
    // the user cancels.
    virtual QString saveFileName(QWidget *parent, const QString &startPath, const QString &filter) = 0;
};

// A window showing how far a long task has come, with a Cancel button.
class ProgressService
{
public:
    virtual ~ProgressService() = default;
    // Shown or brought up to date; false once the user has cancelled.
    virtual bool show(QWidget *parent, const QString &text, int percent) = 0;
    virtual void close() = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QTime now() const = 0;
};

class Browser
{
public:
    virtual ~Browser() = default;
    virtual bool open(const QUrl &address) = 0;
};

class PrinterService
{
public:
    virtual ~PrinterService() = default;
    // Prints on the system's default printer; false with the reason when nothing could be printed.
    virtual bool print(const Printout &printout, QString *error) = 0;
    // The same pages written to a PDF file.
    virtual bool saveAsPdf(const Printout &printout, const QString &path, QString *error) = 0;
};

// The services a window may use, handed to each window so that tests can answer them.
struct Platform
{
    MessageService &messages;
    Clock &clock;
    PrinterService &printer;
    Browser &browser;
    ProgressService &progress;
};

// Prints the pages; when they cannot be printed, offers to save them as a PDF file in folder.
void printOrSavePdf(const Platform &platform, QWidget *parent, const Printout &printout, const QDir &folder);

} // namespace velmora
