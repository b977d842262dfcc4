#include "windows/reading_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

ReadingBar::ReadingBar(BackgroundReads &reads, QWidget *parent) : QWidget(parent), requests_(reads, this)
{
    setObjectName(QStringLiteral("readingBar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    what_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 0); // busy until the first share is told
    bar_->setAccessibleName(tr("Reading progress"));
    stop_ = new QPushButton(tr("Stop readin&g"), this);
    stop_->setObjectName(QStringLiteral("stopReading"));
    stop_->setAccessibleName(tr("Stop reading"));
    row->addWidget(what_);
    row->addWidget(bar_, 1);
    row->addWidget(stop_);
    connect(stop_, &QPushButton::clicked, this, &ReadingBar::stop);
    connect(&requests_, &ReadRequests::progressed, this, [this](int percent) {
        bar_->setRange(0, 100);
        bar_->setValue(percent);
    });
    hide();
}

void ReadingBar::showReading(const QString &what)
{
    what_->setText(what);
    bar_->setRange(0, 0);
    show();
}

void ReadingBar::stop()
{
    if (!requests_.reading())
        return;
    requests_.cancel();
    hide();
    Q_EMIT stopped();
}

} // namespace velmora
