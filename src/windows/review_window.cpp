#include "windows/review_window.h"

#include "core/text/written_dates.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace velmora {

ReviewWindow::ReviewWindow(const Platform &platform, BookStorage &storage, BackgroundReads &reads,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), storage_(storage),
      records_(storage, platform.clock.today())
{
    setObjectName(QStringLiteral("reviewWindow"));
    setWindowTitle(tr("Patients from the books"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("The appointments booked before patients were recorded, grouped by name and "
                                "phones. Nothing becomes a patient until you accept it; a \"maybe\" has the "
                                "same name as another group with other phones: join them if they are one "
                                "person."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    reading_ = new ReadingBar(reads, this);
    layout->addWidget(reading_);
    auto *caption = new QLabel(tr("&Suggested patients:"), this);
    layout->addWidget(caption);
    groups_ = new QTreeWidget(this);
    groups_->setObjectName(QStringLiteral("reviewGroups"));
    groups_->setAccessibleName(tr("Suggested patients"));
    groups_->setHeaderLabels({tr("Name"), tr("Phones"), tr("Appointments"), tr("Maybe")});
    groups_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    caption->setBuddy(groups_);
    connect(groups_, &QTreeWidget::itemExpanded, this, [this] { groups_->resizeColumnToContents(0); });
    layout->addWidget(groups_, 1);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("reviewSummary"));
    layout->addWidget(summary_);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    for (const auto &[caption, name, action] :
         {std::tuple{tr("&Accept as patients"), "reviewAccept", &ReviewWindow::accept},
          std::tuple{tr("S&plit off"), "reviewSplit", &ReviewWindow::split},
          std::tuple{tr("&Join"), "reviewJoin", &ReviewWindow::join}}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    resize(800, 600);
}

void ReviewWindow::open(const QStringList &doctorNames)
{
    doctorNames_ = doctorNames;
    show();
    raise();
    activateWindow();
    QString error;
    if (!records_.read(&error)) {
        platform_.messages.inform(this, error);
        return;
    }
    reading_->start<std::shared_ptr<BookingReview>>(
        tr("Grouping the appointments of the ten books"),
        [](BookStorage &storage, const ReadProgress &progress) {
            return std::make_shared<BookingReview>(reviewBookings(storage, progress));
        },
        [this](const std::shared_ptr<BookingReview> &review) {
            if (!review->read) {
                if (!review->cancelled)
                    platform_.messages.inform(this, review->error);
                return;
            }
            review_ = review->groups;
            showGroups();
        });
}

void ReviewWindow::showGroups()
{
    groups_->clear();
    const QLocale locale;
    int bookings = 0;
    for (const ReviewGroup &group : std::as_const(review_)) {
        auto *item =
            new QTreeWidgetItem(groups_, {group.name, group.phones, QString::number(group.bookings.size()),
                                          group.maybe ? tr("maybe") : QString()});
        for (const ReviewBooking &booking : group.bookings)
            new QTreeWidgetItem(item,
                                {listedDate(booking.date, locale) + QLatin1Char(' ') + booking.hora.trimmed(),
                                 doctorNames_.value(booking.slot - 1)});
        bookings += static_cast<int>(group.bookings.size());
    }
    for (int column = 0; column < groups_->columnCount(); ++column)
        groups_->resizeColumnToContents(column);
    summary_->setText(tr("%1 suggested patients, %2 appointments.").arg(review_.size()).arg(bookings));
}

QVector<int> ReviewWindow::chosenGroups() const
{
    QVector<int> chosen;
    for (QTreeWidgetItem *item : groups_->selectedItems()) {
        QTreeWidgetItem *group = item->parent() ? item->parent() : item;
        const int index = groups_->indexOfTopLevelItem(group);
        if (!chosen.contains(index))
            chosen.append(index);
    }
    return chosen;
}

void ReviewWindow::accept()
{
    const QVector<int> chosen = chosenGroups();
    if (chosen.isEmpty())
        return;
    const Outcome outcome = acceptGroups(storage_, records_, review_, chosen);
    if (!outcome.messages.isEmpty())
        platform_.messages.inform(this, outcome.messages.join(QLatin1Char('\n')));
    showGroups();
}

void ReviewWindow::split()
{
    // The bookings chosen within one group go to a group of their own.
    const QVector<int> chosen = chosenGroups();
    if (chosen.size() != 1) {
        platform_.messages.inform(this, tr("Choose appointments of one group to split them off."));
        return;
    }
    QVector<int> bookings;
    for (QTreeWidgetItem *item : groups_->selectedItems())
        if (item->parent())
            bookings.append(item->parent()->indexOfChild(item));
    splitOff(review_, chosen.first(), bookings);
    showGroups();
}

void ReviewWindow::join()
{
    joinGroups(review_, chosenGroups());
    showGroups();
}

} // namespace velmora
