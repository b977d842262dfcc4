#pragma once

#include "core/storage/background_reads.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmora {

// A window's reads in the background, and while one runs, a line saying what is read, how far it has
// come and a button that stops it: the window answers meanwhile, however slow the books are.
class ReadingBar : public QWidget
{
    Q_OBJECT

public:
    ReadingBar(BackgroundReads &reads, QWidget *parent);

    // Replaces the read under way, if any; done is called on the window's thread, unless stopped.
    template <typename Result>
    void start(const QString &what, std::function<Result(BookStorage &, const ReadProgress &)> read,
               std::function<void(const Result &)> done)
    {
        showReading(what);
        requests_.start<Result>(std::move(read), [this, done = std::move(done)](const Result &result) {
            hide();
            done(result);
        });
    }
    bool reading() const { return requests_.reading(); }
    // The read under way dropped, as the Stop button does.
    void stop();

Q_SIGNALS:
    void stopped();

private:
    void showReading(const QString &what);

    ReadRequests requests_;
    QLabel *what_ = nullptr;
    QProgressBar *bar_ = nullptr;
    QPushButton *stop_ = nullptr;
};

} // namespace velmora
