#pragma once

#include "windows/platform.h"

class QProgressDialog;

namespace velmora {

// The services of the desktop: real message boxes and dialogs, the system clock, the default printer
// and the web browser.
class SystemMessages : public MessageService
{
public:
    void inform(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text, const QString &yes, const QString &no,
             Default answer = Default::Yes) override;
    int choose(QWidget *parent, const QString &text, const QStringList &choices) override;
    QString saveFileName(QWidget *parent, const QString &startPath, const QString &filter) override;
};

class SystemProgress : public ProgressService
{
public:
    ~SystemProgress() override;
    bool show(QWidget *parent, const QString &text, int percent) override;
    void close() override;

private:
    QProgressDialog *dialog_ = nullptr;
};

class SystemClock : public Clock
{
public:
    QDate today() const override;
    QTime now() const override;
};

class SystemPrinter : public PrinterService
{
public:
    bool print(const Printout &printout, QString *error) override;
    bool saveAsPdf(const Printout &printout, const QString &path, QString *error) override;
};

class SystemBrowser : public Browser
{
public:
    bool open(const QUrl &address) override;
};

} // namespace velmora
