#pragma once

#include "platform/system_platform.h"
#include "windows/platform.h"

#include <QStringList>
#include <QTest>

#include <deque>

namespace velmora::testing {

// Message boxes answered in advance and remembered in the order they came up.
class RecordedMessages : public MessageService
{
public:
    void inform(QWidget *, const QString &text) override { shown << text; }
    using MessageService::ask;
    bool ask(QWidget *, const QString &text) override
    {
        shown << text;
        if (answers.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("a question nobody answered: ") + text), __FILE__,
                         __LINE__);
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answered from choices, in order; a question nobody answered fails the test.
    int choose(QWidget *, const QString &text, const QStringList &offered) override
    {
        shown << text;
        offers << offered;
        if (choices.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("a choice nobody made: ") + text), __FILE__, __LINE__);
            return static_cast<int>(offered.size()) - 1;
        }
        const int choice = choices.front();
        choices.pop_front();
        return choice;
    }
    QString saveFileName(QWidget *, const QString &startPath, const QString &) override
    {
        saveDialogStart = startPath;
        return saveAs;
    }

    QString last() const { return shown.isEmpty() ? QString() : shown.last(); }
    QString takeOne() { return shown.isEmpty() ? QStringLiteral("<no message>") : shown.takeFirst(); }

    QStringList shown;
    std::deque<bool> answers;
    std::deque<int> choices;
    QList<QStringList> offers; // the buttons of each choice, in order
    QString saveAs;
    QString saveDialogStart;
};

// Progress remembered; answers Cancel once cancelAfter steps were shown (never when negative).
class RecordedProgress : public ProgressService
{
public:
    bool show(QWidget *, const QString &text, int) override
    {
        shown << text;
        return cancelAfter < 0 || shown.size() <= cancelAfter;
    }
    void close() override { ++closed; }

    QStringList shown;
    int cancelAfter = -1;
    int closed = 0;
};

class SetClock : public Clock
{
public:
    explicit SetClock(QDate day) : day_(day) {}
    QDate today() const override { return day_; }
    QTime now() const override { return QTime(10, 20, 30); }
    void setToday(QDate day) { day_ = day; }

private:
    QDate day_;
};

class RecordedBrowser : public Browser
{
public:
    bool open(const QUrl &address) override
    {
        opened << address;
        return true;
    }
    QList<QUrl> opened;
};

// The platform a window gets in a test: answered messages, a set clock, the real printer service.
struct TestPlatform
{
    explicit TestPlatform(QDate today = QDate(2027, 3, 1)) : clock(today) {}

    RecordedMessages messages;
    SetClock clock;
    SystemPrinter printer;
    RecordedBrowser browser;
    RecordedProgress progress;
    Platform platform() { return Platform{messages, clock, printer, browser, progress}; }
};

} // namespace velmora::testing
