#include "windows/side_panel.h"

#include "core/model/booking_status.h"
#include "windows/widgets_support.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>

namespace velmora {

void SidePanel::setToReschedule(int count)
{
    const QString caption = tr("To resc&hedule (%1)").arg(count);
    toReschedule_->setText(caption);
    toReschedule_->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
}

void SidePanel::setHeld(const QStringList &lines)
{
    const int current = held_->currentRow();
    held_->clear();
    held_->addItems(lines);
    held_->setCurrentRow(qMin(qMax(current, 0), static_cast<int>(lines.size()) - 1));
}

void SidePanel::setSeriesEnding(const QStringList &lines)
{
    seriesEnding_->clear();
    seriesEnding_->addItems(lines);
}

SidePanel::SidePanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("sidePanel"));
    setAccessibleName(tr("Reception tools"));
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    const auto add = [this, layout](const char *name, const QString &caption, const QString &keys) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        button->setToolTip(keys);
        button->setFocusPolicy(Qt::TabFocus); // reached by Tab after the day list's own controls
        layout->addWidget(button);
        return button;
    };
    connect(add("findButton", tr("&Find patient"), QStringLiteral("Ctrl+F")), &QPushButton::clicked, this,
            &SidePanel::findRequested);
    connect(add("firstFreeButton", tr("&Earliest free times"), QStringLiteral("Ctrl+Shift+E")),
            &QPushButton::clicked, this, &SidePanel::firstFreeRequested);
    connect(add("clinicDayButton", tr("The clinic's &day"), QStringLiteral("Ctrl+Shift+D")),
            &QPushButton::clicked, this, &SidePanel::clinicDayRequested);
    connect(add("confirmationsButton", tr("Co&nfirmations"), QStringLiteral("Ctrl+Shift+C")),
            &QPushButton::clicked, this, &SidePanel::confirmationsRequested);
    connect(add("calendarButton", tr("The clinic's ca&lendar"), QStringLiteral("Ctrl+Shift+L")),
            &QPushButton::clicked, this, &SidePanel::calendarRequested);
    toReschedule_ = add("rescheduleButton", tr("To resc&hedule"), QStringLiteral("Ctrl+Shift+R"));
    connect(toReschedule_, &QPushButton::clicked, this, &SidePanel::rescheduleRequested);

    statuses_ = velmora::statusMenu(this, [this](BookingStatus status) { Q_EMIT statusChosen(status); });
    add("statusButton", tr("Set stat&us"), QStringLiteral("Ctrl+1 ... Ctrl+6"))->setMenu(statuses_);
    connect(add("historyButton", tr("Histor&y"), QStringLiteral("Ctrl+Shift+H")), &QPushButton::clicked, this,
            &SidePanel::historyRequested);

    connect(add("monthButton", tr("&Month in numbers"), QStringLiteral("Ctrl+Shift+M")),
            &QPushButton::clicked, this, &SidePanel::monthRequested);

    connect(add("waitingListButton", tr("&Waiting list"), QStringLiteral("Ctrl+Shift+W")),
            &QPushButton::clicked, this, &SidePanel::waitingListRequested);
    connect(add("seriesButton", tr("Repeat &by week..."), QStringLiteral("Ctrl+Shift+B")),
            &QPushButton::clicked, this, &SidePanel::seriesRequested);

    // Moving a booking: held here until it is placed at the time chosen in the day list.
    connect(add("moveButton", tr("Mo&ve"), QStringLiteral("Ctrl+Shift+T")), &QPushButton::clicked, this,
            &SidePanel::moveRequested);
    // A short list under its label, as wide as the buttons: the day list beside it keeps the window's room.
    const auto list = [this, layout](const char *name, const QString &caption, const QString &accessible,
                                     int lines) {
        auto *label = new QLabel(caption, this);
        layout->addWidget(label);
        auto *shown = new QListWidget(this);
        shown->setObjectName(QLatin1String(name));
        shown->setAccessibleName(accessible);
        shown->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        shown->setWordWrap(true);
        shown->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        shown->setMinimumHeight(fontMetrics().height() * lines + 2 * shown->frameWidth());
        shown->setMaximumHeight(fontMetrics().height() * 5);
        label->setBuddy(shown);
        layout->addWidget(shown);
        return shown;
    };
    held_ = list("heldList", tr("Bein&g moved:"), tr("Appointments being moved"), 2);
    const auto chosen = [this] { return held_->currentRow() >= 0 ? held_->currentRow() : 0; };
    connect(held_, &QListWidget::itemActivated, this, [this, chosen] { Q_EMIT placeRequested(chosen()); });
    // Side by side, so that the panel stays within the window's own height.
    auto *placing = new QHBoxLayout;
    layout->addLayout(placing);
    for (const auto &[name, caption, keys, put] :
         {std::tuple{"placeButton", tr("Place &it here"), tr("Enter in the list"), false},
          std::tuple{"putBackButton", tr("Put bac&k"), QString(), true}}) {
        QPushButton *button = add(name, caption, keys);
        placing->addWidget(button); // moved from the column into the row
        connect(button, &QPushButton::clicked, this, [this, chosen, back = put] {
            if (back)
                Q_EMIT putBackRequested(chosen());
            else
                Q_EMIT placeRequested(chosen());
        });
    }

    // Series about to end, for the reception to renew them with the patient.
    seriesEnding_ = list("seriesEndingList", tr("Series ending s&oon:"), tr("Weekly series ending soon"), 1);

    auto *legend = new QLabel(this);
    legend->setObjectName(QStringLiteral("statusLegend"));
    QStringList lines;
    for (int number = 1; number < kBookingStatusCount; ++number) {
        const BookingStatus status = statusFromNumber(number);
        lines << QStringLiteral("<span style=\"background:%1;color:white\">&nbsp;%2&nbsp;</span> %3")
                     .arg(statusColour(status).name(), statusMark(status).toHtmlEscaped(),
                          statusCaption(status).toHtmlEscaped());
    }
    legend->setText(lines.join(QStringLiteral("<br>")));
    legend->setAccessibleName(tr("Marks of the day list"));
    layout->addWidget(legend);
    layout->addStretch();
}

} // namespace velmora
