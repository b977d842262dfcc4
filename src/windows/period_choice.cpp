#include "windows/period_choice.h"
#include "windows/widgets_support.h"

#include "core/reports/month_report.h"
#include "core/text/written_dates.h"
#include "windows/platform.h"

#include "core/text/text_rules.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>

namespace velmora {

PeriodChoice::PeriodChoice(const QString &namePrefix, QWidget *parent) : QWidget(parent)
{
    const auto made = [&](auto *control, const char *name, const QString &accessible) {
        control->setObjectName(namePrefix + QLatin1String(name));
        control->setAccessibleName(accessible);
        return control;
    };
    from_ = made(new QDateEdit(this), "From", tr("From date"));
    to_ = made(new QDateEdit(this), "To", tr("To date"));
    doctor_ = made(new QComboBox(this), "Doctor", tr("Doctor"));
    setFocusProxy(from_);
    for (QDateEdit *date : {from_, to_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(writtenDateFormat(QLocale())); // as the list below writes its dates
        typeDatesWhole(date);
    }
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (const auto &[caption, control] : {std::pair{tr("&From:"), static_cast<QWidget *>(from_)},
                                           std::pair{tr("&To:"), static_cast<QWidget *>(to_)},
                                           std::pair{tr("&Doctor:"), static_cast<QWidget *>(doctor_)}}) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(control);
        row->addWidget(label);
        row->addWidget(control, control == doctor_ ? 1 : 0);
    }
    connect(from_, &QDateEdit::dateChanged, this, [this](QDate date) {
        if (to_->date() < date) {
            const QSignalBlocker blockTo(to_);
            to_->setDate(date);
        }
        dateChanged();
    });
    connect(to_, &QDateEdit::dateChanged, this, [this](QDate date) {
        if (from_->date() > date) {
            const QSignalBlocker blockFrom(from_);
            from_->setDate(date);
        }
        dateChanged();
    });
    connect(doctor_, &QComboBox::currentIndexChanged, this, &PeriodChoice::changed);
}

void PeriodChoice::dateChanged()
{
    const QDate from = from_->date();
    const QDate to = to_->date();
    if (messages_ && periodNeedsAsking(from, to) &&
        !messages_->ask(this,
                        tr("Read the %1 days from %2 to %3? A period this long takes a while to read.")
                            .arg(QLocale().toString(from.daysTo(to) + 1), listedDate(from, QLocale()),
                                 listedDate(to, QLocale())),
                        tr("Read them"), tr("Keep the period"), MessageService::Default::No)) {
        const QSignalBlocker blockFrom(from_);
        const QSignalBlocker blockTo(to_);
        from_->setDate(takenFrom_);
        to_->setDate(takenTo_);
        return;
    }
    takenFrom_ = from_->date();
    takenTo_ = to_->date();
    Q_EMIT changed();
}

void PeriodChoice::set(QDate from, QDate to, const QStringList &doctorNames)
{
    takenFrom_ = from;
    takenTo_ = to;
    const QSignalBlocker blockFrom(from_);
    const QSignalBlocker blockTo(to_);
    const QSignalBlocker blockDoctor(doctor_);
    from_->setDate(from);
    to_->setDate(to);
    doctor_->clear();
    doctor_->addItem(tr("All doctors"), 0);
    for (int slot = 1; slot <= doctorNames.size(); ++slot)
        if (!trimBlanks(doctorNames.at(slot - 1)).isEmpty())
            doctor_->addItem(trimBlanks(doctorNames.at(slot - 1)), slot);
}

QDate PeriodChoice::from() const
{
    return from_->date();
}

QDate PeriodChoice::to() const
{
    return to_->date();
}

int PeriodChoice::slot() const
{
    return doctor_->currentData().toInt();
}

QString PeriodChoice::doctorText() const
{
    return doctor_->currentText();
}

} // namespace velmora
