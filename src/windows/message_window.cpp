#include "windows/message_window.h"
#include "core/reception/waiting_list.h"
#include "windows/widgets_support.h"

#include "core/desk/desk_settings.h"
#include "core/reception/confirmation_message.h"
#include "core/text/text_rules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>

namespace velmora {

MessageWindow::MessageWindow(const Platform &platform, const QString &iniPath, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), iniPath_(iniPath)
{
    setObjectName(QStringLiteral("messageWindow"));
    setWindowTitle(tr("WhatsApp message"));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("messageText"));
    text_->setAccessibleName(tr("Message text"));
    text_->setTabChangesFocus(true);
    reschedule_ = new QPlainTextEdit(this);
    reschedule_->setObjectName(QStringLiteral("rescheduleText"));
    reschedule_->setAccessibleName(tr("Message for a booking the clinic must reschedule"));
    reschedule_->setTabChangesFocus(true);
    reschedule_->setMaximumHeight(reschedule_->fontMetrics().lineSpacing() * 5);
    offer_ = new QPlainTextEdit(this);
    offer_->setObjectName(QStringLiteral("offerText"));
    offer_->setAccessibleName(tr("Message offering a freed time to the waiting list"));
    offer_->setTabChangesFocus(true);
    offer_->setMaximumHeight(offer_->fontMetrics().lineSpacing() * 5);
    areaCode_ = new QLineEdit(this);
    areaCode_->setObjectName(QStringLiteral("areaCode"));
    areaCode_->setAccessibleName(tr("The clinic's area code"));
    areaCode_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[1-9]{0,2}")), areaCode_));
    areaCode_->setMaximumWidth(60);
    clinic_ = new QLineEdit(this);
    clinic_->setObjectName(QStringLiteral("clinicName"));
    clinic_->setAccessibleName(tr("The clinic's name"));
    sample_ = new QLabel(this);
    sample_->setObjectName(QStringLiteral("messageSample"));
    sample_->setWordWrap(true);
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setTextFormat(Qt::PlainText);
    unknown_ = new QLabel(this);
    unknown_->setObjectName(QStringLiteral("unknownPlaceholders"));
    unknown_->setWordWrap(true);
    unknown_->setStyleSheet(QStringLiteral("color: #a00000"));
    auto *placeholders = new QLabel(tr("Placeholders: %1").arg(knownPlaceholders()), this);
    placeholders->setWordWrap(true);
    placeholders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *save = new QPushButton(tr("&Save"), this);
    save->setObjectName(QStringLiteral("saveMessage"));
    auto *cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelMessage"));
    auto *standard = new QPushButton(tr("&Default message"), this);
    standard->setObjectName(QStringLiteral("defaultMessage"));
    standard->setAccessibleName(tr("Default message"));
    standard->setAutoDefault(false);
    limit_ = new QLabel(this);
    limit_->setObjectName(QStringLiteral("messageLength"));

    auto *form = new QFormLayout(this);
    auto *textCaption = new QLabel(tr("&Message:"), this);
    textCaption->setBuddy(text_);
    form->addRow(textCaption, text_);
    form->addRow(QString(), placeholders);
    form->addRow(QString(), limit_);
    auto *rescheduleCaption = new QLabel(tr("&Reschedule message:"), this);
    rescheduleCaption->setBuddy(reschedule_);
    form->addRow(rescheduleCaption, reschedule_);
    auto *offerCaption = new QLabel(tr("Offer of a &freed time:"), this);
    offerCaption->setBuddy(offer_);
    form->addRow(offerCaption, offer_);
    auto *areaCaption = new QLabel(tr("&Area code:"), this);
    areaCaption->setBuddy(areaCode_);
    form->addRow(areaCaption, areaCode_);
    auto *clinicCaption = new QLabel(tr("C&linic:"), this);
    clinicCaption->setBuddy(clinic_);
    form->addRow(clinicCaption, clinic_);
    form->addRow(tr("As sent:"), sample_);
    form->addRow(QString(), unknown_);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(standard);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    // The buttons in the order they stand: the default message first, then Save and Cancel.
    QWidget::setTabOrder(clinic_, standard);
    QWidget::setTabOrder(standard, save);
    QWidget::setTabOrder(save, cancel);
    resize(560, 420);

    connect(text_, &QPlainTextEdit::textChanged, this, &MessageWindow::showSample);
    connect(clinic_, &QLineEdit::textChanged, this, &MessageWindow::showSample);
    connect(save, &QPushButton::clicked, this, &MessageWindow::save);
    connect(areaCode_, &QLineEdit::returnPressed, this, &MessageWindow::save);
    connect(clinic_, &QLineEdit::returnPressed, this, &MessageWindow::save);
    connect(standard, &QPushButton::clicked, this, [this] { text_->setPlainText(defaultMessageTemplate()); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    onEscape(this, [this] { close(); });
}

void MessageWindow::open()
{
    const ConfirmationSettings settings = readConfirmationSettings(iniPath_);
    text_->setPlainText(settings.messageTemplate);
    reschedule_->setPlainText(settings.rescheduleTemplate);
    offer_->setPlainText(settings.offerTemplate);
    areaCode_->setText(settings.areaCode);
    clinic_->setText(settings.clinic);
    showSample();
    show();
    raise();
    activateWindow();
    text_->setFocus(Qt::OtherFocusReason);
}

void MessageWindow::showSample()
{
    const MessageFacts sample{tr("Maria da Silva"),    platform_.clock.today().addDays(1),
                              QStringLiteral("14:30"), tr("Dr. Souza"),
                              clinic_->text(),         QStringLiteral("3/10")};
    sample_->setText(filledMessage(text_->toPlainText(), sample, QLocale()));
    limit_->setText(tr("%1 of at most %2 characters")
                        .arg(QLocale().toString(characterCount(text_->toPlainText())),
                             QLocale().toString(kMessageLimit)));
    const QStringList unknown = unknownPlaceholders(text_->toPlainText());
    unknown_->setText(unknown.isEmpty()
                          ? QString()
                          : tr("Not known, sent as typed: %1").arg(unknown.join(QStringLiteral(", "))));
}

void MessageWindow::save()
{
    // A reschedule message left empty is the default one.
    const QString reschedule = trimBlanks(reschedule_->toPlainText()).trimmed().isEmpty()
                                   ? defaultRescheduleTemplate()
                                   : reschedule_->toPlainText();
    const QString offer = trimBlanks(offer_->toPlainText()).trimmed().isEmpty() ? defaultOfferTemplate()
                                                                                : offer_->toPlainText();
    const ConfirmationSettings settings{text_->toPlainText(), reschedule, offer, areaCode_->text(),
                                        clinic_->text()};
    if (trimBlanks(text_->toPlainText()).trimmed().isEmpty()) {
        platform_.messages.inform(this, tr("The message is empty: write one, or press \"Default message\"."));
        text_->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (QPlainTextEdit *message : {text_, reschedule_, offer_})
        if (characterCount(message->toPlainText()) > kMessageLimit) {
            platform_.messages.inform(
                this, tr("The message is longer than %1 characters: WhatsApp would not take it "
                         "whole. Shorten it.")
                          .arg(QLocale().toString(kMessageLimit)));
            message->setFocus(Qt::OtherFocusReason);
            return;
        }
    if (areaCode_->text().size() == 1) {
        platform_.messages.inform(this, tr("The area code has two digits, such as 11 or 21."));
        areaCode_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!saveConfirmationSettings(iniPath_, settings)) {
        platform_.messages.inform(this, tr("The message could not be saved in %1.").arg(iniPath_));
        return;
    }
    close();
}

} // namespace velmora
