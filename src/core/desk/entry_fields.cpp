#include "core/desk/entry_fields.h"

#include "core/model/appointment.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>

namespace velmora {

namespace {

// A booking's field as an entry field shows it: BookingRecord (a row's columns) and Appointment (as
// stored) name their texts alike.
template <typename Booking> QString memberOf(const Booking &booking, EntryField field)
{
    switch (field) {
    case TimeField:
        return booking.hora;
    case NameField:
        return booking.nome;
    case PlanField:
        return booking.convenio;
    case PhonesField:
        return booking.telefone;
    case NotesField:
    case kEntryFieldCount:
        break;
    }
    return booking.obs;
}

constexpr std::array<int, kEntryFieldCount> kWidths{BookingRecord::kHoraWidth, BookingRecord::kNomeWidth,
                                                    BookingRecord::kConvenioWidth,
                                                    BookingRecord::kTelefoneWidth, BookingRecord::kObsWidth};

// The stored fields the entry fields stand for, in their order.
const std::array<QString Appointment::*, kEntryFieldCount> kMembers{
    &Appointment::hora, &Appointment::nome, &Appointment::convenio, &Appointment::telefone,
    &Appointment::obs};

Appointment bookingOf(QDate date, const std::array<QString, kEntryFieldCount> &texts)
{
    Appointment booking;
    booking.date = date;
    for (int i = 0; i < kEntryFieldCount; ++i)
        booking.*kMembers[static_cast<size_t>(i)] = texts[static_cast<size_t>(i)];
    return booking;
}

} // namespace

void EntryFields::type(EntryField field, const QString &text)
{
    if (texts_[field] == text)
        return;
    texts_[field] = text;
    edited(field);
}

void EntryFields::setByProgram(EntryField field, const QString &text)
{
    if (texts_[field] == text)
        return;
    texts_[field] = text;
    Q_EMIT changedByProgram(field);
    edited(field);
}

void EntryFields::edited(EntryField field)
{
    if (texts_[field] == memberOf(current_, field))
        return;
    offer({true, rowSelected_ && !trimBlanks(current_.nome).isEmpty(), false});
}

void EntryFields::leave(EntryField field)
{
    if (field != NameField && field != PlanField)
        return;
    const QString capitalised =
        field == NameField ? capitalize_name(texts_[field]) : capitalize_plan(texts_[field]);
    if (capitalised != texts_[field])
        setByProgram(field, capitalised);
}

void EntryFields::offer(EntryButtons buttons)
{
    if (buttons == buttons_)
        return;
    buttons_ = buttons;
    Q_EMIT buttonsChanged();
}

void EntryFields::fillFromSelection(const BookingRecord &picked, const std::optional<Appointment> &stored)
{
    // Each field is set in turn and reacts against the previous selection, as its change handler
    // does; then the selection becomes the current booking and the fields are trimmed against it.
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = static_cast<EntryField>(i);
        setByProgram(field,
                     stored ? blankControlCharacters(memberOf(*stored, field)) : memberOf(picked, field));
        if (trimBlanks(texts_[field]).isEmpty())
            setByProgram(field, QString());
        if (field == NameField)
            offer({buttons_.add, !texts_[NameField].isEmpty(), buttons_.remove});
    }
    current_ = record();
    for (int i = 0; i < kEntryFieldCount; ++i)
        setByProgram(static_cast<EntryField>(i), trimBlanks(texts_[i]));
    selected_ = texts_;
    // The handlers above compared against the previous selection; what is offered follows this one:
    // a booking with a name can be changed and removed, a free row neither.
    const bool booked = !texts_[NameField].isEmpty();
    offer({buttons_.add, booked, booked});
}

void EntryFields::clear()
{
    for (int i = 0; i < kEntryFieldCount; ++i)
        setByProgram(static_cast<EntryField>(i), QString());
}

bool EntryFields::carriesAnotherPatient() const
{
    const QString before = trimBlanks(selected_[NameField]);
    const QString now = trimBlanks(texts_[NameField]);
    if (before.isEmpty() || now.isEmpty() || now.compare(before, Qt::CaseInsensitive) == 0)
        return false;
    for (const EntryField field : {PlanField, PhonesField})
        if (!trimBlanks(texts_[field]).isEmpty() && readsAsSelected(field))
            return true;
    return false;
}

bool EntryFields::readsAsSelected(EntryField field) const
{
    return trimBlanks(texts_[field]) == trimBlanks(selected_[field]);
}

Appointment EntryFields::booking(QDate date) const
{
    return bookingOf(date, texts_);
}

Appointment EntryFields::changed(const Appointment &stored) const
{
    std::array<QString, kEntryFieldCount> members;
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = static_cast<EntryField>(i);
        const QString &typed = texts_[field];
        members[field] = typed == selected_[field]                ? memberOf(stored, field)
                         : characterCount(typed) > kWidths[field] ? typed
                                                                  : fitted(typed, kWidths[field]);
    }
    return bookingOf(stored.date, members);
}

BookingRecord EntryFields::record() const
{
    return BookingRecord::of(texts_[TimeField], texts_[NameField], texts_[PlanField], texts_[PhonesField],
                             texts_[NotesField]);
}

QString EntryFields::refusal() const
{
    if (trimBlanks(texts_[TimeField]).isEmpty())
        return QCoreApplication::translate("AppointmentBook", "Choose schedule belows or type one time");
    if (trimBlanks(texts_[NameField]).isEmpty())
        return QCoreApplication::translate("AppointmentBook", "Field Name cannot be empty");
    return {};
}

} // namespace velmora
