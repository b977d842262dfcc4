#include "windows/squeeze_limits_window.h"
#include "windows/widgets_support.h"

#include "core/text/name_rules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>

namespace velmora {

SqueezeLimitsWindow::SqueezeLimitsWindow(const Platform &platform, ReceptionStorage &storage, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), storage_(storage)
{
    setObjectName(QStringLiteral("squeezeLimitsWindow"));
    setWindowTitle(tr("Squeeze-ins per day"));
    auto *form = new QFormLayout(this);
    auto *note =
        new QLabel(tr("A squeeze-in is a booking between a doctor's slots, or a second one at a taken "
                      "slot. Past the number set here, the receptionist is asked first."),
                   this);
    note->setWordWrap(true);
    form->addRow(note);
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
        auto *limit = new QSpinBox(this);
        limit->setObjectName(QStringLiteral("squeezeLimit%1").arg(slot));
        limit->setRange(-1, 99);
        limit->setSpecialValueText(tr("no limit"));
        limits_[static_cast<size_t>(slot - 1)] = limit;
        auto *name = new QLabel(this); // the doctor's name, as opened
        name->setBuddy(limit);
        form->addRow(name, limit);
    }
    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(tr("&Save"), this);
    save->setObjectName(QStringLiteral("saveSqueezeLimits"));
    auto *cancel = new QPushButton(tr("&Cancel"), this);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(save, &QPushButton::clicked, this, &SqueezeLimitsWindow::save);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    onEscape(this, [this] { close(); });
}

void SqueezeLimitsWindow::open(const QStringList &doctorNames)
{
    SqueezeLimits stored;
    QString error;
    if (!storage_.readSqueezeLimits(&stored, &error)) {
        platform_.messages.inform(this, tr("The squeeze-ins per day could not be read: %1.").arg(error));
        return;
    }
    auto *form = static_cast<QFormLayout *>(layout());
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
        QSpinBox *limit = limits_[static_cast<size_t>(slot - 1)];
        const QString name = doctorNames.value(slot - 1).trimmed();
        limit->setValue(stored[static_cast<size_t>(slot - 1)].value_or(-1));
        // Each doctor's number is its access key: Alt+1 to Alt+9, and Alt+0 for the tenth.
        limit->setAccessibleName(tr("Squeeze-ins a day for %1").arg(doctorCalled(doctorNames, slot)));
        form->setRowVisible(limit, !name.isEmpty());
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(limit)))
            label->setText(QStringLiteral("&%1  %2").arg(slot % 10).arg(
                QString(name).replace(QLatin1Char('&'), QLatin1String("&&"))));
    }
    show();
    raise();
    activateWindow();
}

void SqueezeLimitsWindow::save()
{
    SqueezeLimits limits;
    for (size_t i = 0; i < limits.size(); ++i)
        if (limits_[i]->value() >= 0)
            limits[i] = limits_[i]->value();
    QString error;
    if (!storage_.saveSqueezeLimits(limits, &error)) {
        platform_.messages.inform(this, tr("The squeeze-ins per day could not be saved: %1.").arg(error));
        return;
    }
    Q_EMIT saved(StoredElsewhere{}); // as a settings save
    close();
}

} // namespace velmora
