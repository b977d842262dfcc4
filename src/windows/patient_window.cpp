#include "windows/patient_window.h"

#include "core/patients/patient_bookings.h"
#include "core/patients/patient_rules.h"
#include "core/text/name_rules.h"
#include "core/text/written_dates.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

QDate typedDate(const QString &text)
{
    return QDate::fromString(text.trimmed(), writtenDateFormat(QLocale()));
}

QString shownDate(QDate date)
{
    return date.isValid() ? writtenDate(date, QLocale()) : QString();
}

} // namespace

PatientWindow::PatientWindow(const Platform &platform, BookStorage &storage, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), sheet_(storage, platform.clock.today())
{
    setObjectName(QStringLiteral("patientWindow"));
    auto *layout = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    layout->addLayout(columns);
    std::array<QFormLayout *, 2> forms{new QFormLayout, new QFormLayout};
    for (QFormLayout *form : forms)
        columns->addLayout(form);
    const auto field = [this](QFormLayout *form, QWidget *control, const QString &caption, const char *name) {
        control->setObjectName(QLatin1String(name));
        control->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        auto *label = new QLabel(caption, this);
        label->setBuddy(control);
        form->addRow(label, control);
    };
    const std::array<std::tuple<Field, QString, const char *, int>, kFieldCount> captions{{
        {FullName, tr("&Full name"), "patientFullName", 0},
        {SocialName, tr("S&ocial name"), "patientSocialName", 0},
        {Cpf, tr("&CPF"), "patientCpf", 0},
        {BirthDate, tr("&Birth date"), "patientBirthDate", 0},
        {Phones, tr("P&hones"), "patientPhones", 0},
        {Email, tr("&E-mail"), "patientEmail", 0},
        {Street, tr("Add&ress"), "patientStreet", 0},
        {District, tr("&District"), "patientDistrict", 0},
        {City, tr("C&ity"), "patientCity", 1},
        {State, tr("State (&UF)"), "patientState", 1},
        {Cep, tr("CE&P"), "patientCep", 1},
        {Plan, tr("Health p&lan"), "patientPlan", 1},
        {CardNumber, tr("Card nu&mber"), "patientCardNumber", 1},
        {CardValidUntil, tr("Card &valid until"), "patientCardValidUntil", 1},
        {Cns, tr("C&NS"), "patientCns", 1},
        {Notes, tr("No&tes"), "patientNotes", 1},
    }};
    for (const auto &[which, caption, name, column] : captions) {
        fields_[which] = new QLineEdit(this);
        field(forms[static_cast<size_t>(column)], fields_[which], caption, name);
        if (which == Cpf) {
            cpfAbsence_ = new QComboBox(this);
            for (const QString &reason :
                 {tr("The CPF is given"), tr("Newborn"), tr("Foreigner"), tr("Not given")})
                cpfAbsence_->addItem(reason);
            field(forms[0], cpfAbsence_, tr("&Why no CPF"), "patientCpfAbsence");
        }
    }
    // The patient's answer to messages by WhatsApp, in the order of MessageConsent.
    messages_ = new QComboBox(this);
    for (const QString &answer : {tr("Not asked yet"), tr("Yes"), tr("No: call instead")})
        messages_->addItem(answer);
    field(forms[1], messages_, tr("Messages b&y WhatsApp"), "patientMessages");
    fields_[BirthDate]->setPlaceholderText(writtenDateFormat(QLocale()).toUpper());
    fields_[CardValidUntil]->setPlaceholderText(writtenDateFormat(QLocale()).toUpper());
    fields_[Phones]->setPlaceholderText(tr("the WhatsApp one first, each after a /"));

    auto *listCaption = new QLabel(tr("&Appointments:"), this);
    layout->addWidget(listCaption);
    appointments_ = new QTableWidget(0, 5, this);
    appointments_->setObjectName(QStringLiteral("patientAppointments"));
    appointments_->setAccessibleName(tr("The patient's appointments"));
    appointments_->setHorizontalHeaderLabels(
        {tr("Date"), tr("Time"), tr("Doctor"), tr("Name"), tr("Status")});
    appointments_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    appointments_->setSelectionBehavior(QAbstractItemView::SelectRows);
    appointments_->setTabKeyNavigation(false);
    appointments_->verticalHeader()->hide();
    appointments_->horizontalHeader()->setStretchLastSection(true);
    listCaption->setBuddy(appointments_);
    layout->addWidget(appointments_, 1);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("patientSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    // Another record of the same person, found as it is typed, merged into this one.
    auto *merging = new QHBoxLayout;
    layout->addLayout(merging);
    auto *mergeCaption = new QLabel(tr("Loo&k up another record of the same person:"), this);
    merging->addWidget(mergeCaption);
    mergeWith_ = new QLineEdit(this);
    mergeWith_->setObjectName(QStringLiteral("patientMergeWith"));
    mergeWith_->setAccessibleName(tr("Another record of the same person"));
    mergeCaption->setBuddy(mergeWith_);
    merging->addWidget(mergeWith_, 1);
    merge_ = new QPushButton(this);
    merge_->setObjectName(QStringLiteral("patientMerge"));
    merging->addWidget(merge_);
    mergeCandidates_ = new QListWidget(this);
    mergeCandidates_->setObjectName(QStringLiteral("patientMergeCandidates"));
    mergeCandidates_->setAccessibleName(tr("Records it may be"));
    mergeCandidates_->setMaximumHeight(fontMetrics().height() * 5);
    layout->addWidget(mergeCandidates_);
    connect(mergeWith_, &QLineEdit::textEdited, this, &PatientWindow::listMergeCandidates);
    // From the record typed, to the records it may be, to merging one.
    setTabOrder(mergeWith_, mergeCandidates_);
    setTabOrder(mergeCandidates_, merge_);
    connect(merge_, &QPushButton::clicked, this, &PatientWindow::mergeOrUndo);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    save_ = new QPushButton(tr("&Save"), this);
    save_->setObjectName(QStringLiteral("patientSave"));
    save_->setAccessibleName(tr("Save"));
    connect(save_, &QPushButton::clicked, this, &PatientWindow::save);
    buttons->addWidget(save_);
    layout->addLayout(buttons);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    resize(900, 600);
}

bool PatientWindow::openOfBooking(int slot, qint64 booking, const QStringList &doctorNames)
{
    QString error;
    if (!sheet_.openOfBooking(slot, booking, &error)) {
        platform_.messages.inform(parentWidget(), error);
        return false;
    }
    show(doctorNames);
    return true;
}

bool PatientWindow::openOfListed(const ListedRow &listed, const QStringList &doctorNames)
{
    QString error;
    if (!sheet_.openOfListed(listed, &error)) {
        platform_.messages.inform(parentWidget(), error);
        return false;
    }
    show(doctorNames);
    return true;
}

void PatientWindow::show(const QStringList &doctorNames)
{
    doctorNames_ = doctorNames;
    const Patient &patient = sheet_.patient();
    setWindowTitle(tr("Patient: %1").arg(patient.fullName));
    const HealthCard card = patient.cards.value(patient.cards.size() - 1);
    const std::array<QString, kFieldCount> texts{patient.fullName,
                                                 patient.socialName,
                                                 patient.cpf.isEmpty() ? QString() : shownCpf(patient.cpf),
                                                 shownDate(patient.birthDate),
                                                 bookingDetailsOf(patient).phones,
                                                 patient.email,
                                                 patient.address.street,
                                                 patient.address.district,
                                                 patient.address.city,
                                                 patient.address.state,
                                                 patient.address.cep,
                                                 card.plan,
                                                 card.number,
                                                 shownDate(card.validUntil),
                                                 patient.cns,
                                                 patient.notes};
    for (int i = 0; i < kFieldCount; ++i)
        fields_[static_cast<size_t>(i)]->setText(texts[static_cast<size_t>(i)]);
    cpfAbsence_->setCurrentIndex(static_cast<int>(patient.cpfAbsence));
    messages_->setCurrentIndex(static_cast<int>(patient.messages.consent));
    messages_->setToolTip(messageAnswerSaid(patient));
    const QVector<QStringList> lines = sheet_.bookingLines(doctorNames_);
    appointments_->setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row)
        for (int column = 0; column < lines.at(row).size(); ++column)
            appointments_->setItem(row, column, new QTableWidgetItem(lines.at(row).at(column)));
    appointments_->resizeColumnsToContents();
    QStringList said{
        tr("%n appointment(s), %1 missed.", "", static_cast<int>(lines.size())).arg(sheet_.missed())};
    if (const QString warning = sheet_.cardWarning(); !warning.isEmpty())
        said << warning;
    said << messageAnswerSaid(patient);
    if (const Patient *merged = sheet_.lastMergedHere())
        said << sheet_.mergeSaid(*merged);
    mergeWith_->clear();
    listMergeCandidates(QString());
    summary_->setText(said.join(QLatin1Char(' ')));
    QWidget::show();
    raise();
    activateWindow();
}

void PatientWindow::listMergeCandidates(const QString &typed)
{
    candidates_ = typed.trimmed().isEmpty() ? QVector<Patient>() : sheet_.mergeCandidates(typed);
    mergeCandidates_->clear();
    for (const Patient &patient : std::as_const(candidates_))
        mergeCandidates_->addItem(patientSummary(patient));
    if (!candidates_.isEmpty())
        mergeCandidates_->setCurrentRow(0);
    // With nothing typed, the last merge into this record can be undone.
    const Patient *merged = typed.trimmed().isEmpty() ? sheet_.lastMergedHere() : nullptr;
    merge_->setText(merged ? tr("Undo the mer&ge of %1").arg(merged->fullName)
                           : tr("Mer&ge into this record"));
    merge_->setAccessibleName(QString(merge_->text()).remove(QLatin1Char('&')));
}

void PatientWindow::mergeOrUndo()
{
    const Patient &shown = sheet_.patient();
    if (const Patient *merged = sheet_.lastMergedHere(); merged && mergeWith_->text().trimmed().isEmpty()) {
        if (platform_.messages.ask(this,
                                   tr("Undo the merge of %1? Both records and their appointments go back to "
                                      "what they were before it.")
                                       .arg(merged->fullName),
                                   tr("Undo the merge"), tr("Keep it"), MessageService::Default::No))
            showOutcome(sheet_.undoMerge(merged->id));
        return;
    }
    const int row = mergeCandidates_->currentRow();
    if (row < 0 || row >= candidates_.size()) {
        platform_.messages.inform(
            this, tr("Type the other record's name, phone or CPF and choose it in the list."));
        return;
    }
    const Patient other = candidates_.at(row);
    // Each part the two records differ in is the receptionist's to pick: nothing is chosen for them.
    QSet<PatientPart> fromOther;
    for (const PatientPart part : differingParts(shown, other)) {
        const QStringList choices{tr("Keep \"%1\"").arg(partValue(shown, part)),
                                  tr("Take \"%1\"").arg(partValue(other, part)), tr("Do not merge")};
        const int chosen = platform_.messages.choose(
            this, tr("%1 differs in the two records. Which one stays?").arg(partCaption(part)), choices);
        if (chosen < 0 || chosen == 2)
            return;
        if (chosen == 1)
            fromOther.insert(part);
    }
    if (!platform_.messages.ask(this,
                                tr("Merge %1 into %2? Every appointment of %1 becomes %2's; the merge can be "
                                   "undone from %2's record.")
                                    .arg(other.fullName, shown.fullName),
                                tr("Merge"), tr("Do not merge"), MessageService::Default::No))
        return;
    showOutcome(sheet_.mergeFrom(other.id, fromOther));
}

void PatientWindow::showOutcome(const Outcome &outcome)
{
    if (!outcome.messages.isEmpty())
        platform_.messages.inform(this, outcome.messages.join(QLatin1Char('\n')));
    show(doctorNames_);
}

Patient PatientWindow::edited() const
{
    Patient patient = sheet_.patient();
    const auto text = [this](Field which) { return fields_[which]->text().trimmed(); };
    patient.fullName = text(FullName);
    patient.socialName = text(SocialName);
    patient.cpf = digitsOf(text(Cpf));
    patient.cpfAbsence =
        patient.cpf.isEmpty() ? static_cast<CpfAbsence>(cpfAbsence_->currentIndex()) : CpfAbsence::None;
    patient.messages.consent = static_cast<MessageConsent>(messages_->currentIndex());
    patient.birthDate = typedDate(text(BirthDate));
    // The phones as typed, the first the WhatsApp one.
    patient.phones.clear();
    for (const QString &number : typedPhones(text(Phones)))
        patient.phones.append({number, patient.phones.isEmpty()});
    patient.email = text(Email);
    patient.address.street = text(Street);
    patient.address.district = text(District);
    patient.address.city = text(City);
    patient.address.state = text(State).toUpper();
    patient.address.cep = digitsOf(text(Cep));
    // A new card is added after the earlier ones, which are kept; the current one edited in place.
    const HealthCard card{text(Plan), text(CardNumber), typedDate(text(CardValidUntil))};
    if (patient.cards.isEmpty() || (patient.cards.last().number != card.number && !card.number.isEmpty() &&
                                    !patient.cards.last().number.isEmpty()))
        patient.cards.append(card);
    else
        patient.cards.last() = card;
    if (card.plan.isEmpty() && card.number.isEmpty() && !card.validUntil.isValid())
        patient.cards.removeLast();
    patient.cns = digitsOf(text(Cns));
    patient.notes = text(Notes);
    return patient;
}

void PatientWindow::save()
{
    // A date typed that reads as none is said, never saved as no date.
    for (const Field which : {BirthDate, CardValidUntil})
        if (!fields_[which]->text().trimmed().isEmpty() && !typedDate(fields_[which]->text()).isValid()) {
            platform_.messages.inform(this,
                                      tr("Type the date as %1.").arg(writtenDateFormat(QLocale()).toUpper()));
            fields_[which]->setFocus(Qt::OtherFocusReason);
            return;
        }
    const Outcome outcome = sheet_.save(edited());
    if (!outcome.done) {
        platform_.messages.inform(this, outcome.messages.join(QLatin1Char('\n')));
        return;
    }
    show(doctorNames_);
}

} // namespace velmora
