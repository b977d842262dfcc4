#include "windows/first_free_window.h"
#include "windows/widgets_support.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QShortcut>
#include <QVBoxLayout>

namespace velmora {

FirstFreeWindow::FirstFreeWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("firstFreeWindow"));
    slots_ = new QListWidget(this);
    slots_->setObjectName(QStringLiteral("firstFreeSlots"));
    slots_->setAccessibleName(tr("First free times"));
    slots_->setFont(QFont(QStringLiteral("Courier New"), 11));
    auto *caption = new QLabel(tr("&Earliest free times, Enter to go there:"), this);
    caption->setBuddy(slots_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(slots_);
    resize(520, 300);
    connect(slots_, &QListWidget::itemActivated, this, [this] {
        const int row = slots_->currentRow();
        if (row >= 0 && row < shown_.size())
            Q_EMIT chosen(shown_.at(row));
    });
    onEscape(this, [this] { close(); });
}

void FirstFreeWindow::open(const QString &doctor, const QVector<FirstFree> &slots)
{
    setWindowTitle(tr("First free times of %1").arg(doctor));
    shown_ = slots;
    slots_->clear();
    const QLocale locale;
    for (const FirstFree &free : slots)
        slots_->addItem(
            QStringLiteral("%1  %2").arg(free.time, locale.toString(free.date, QLocale::LongFormat)));
    slots_->setCurrentRow(0);
    show();
    raise();
    activateWindow();
    slots_->setFocus(Qt::OtherFocusReason);
}

} // namespace velmora
