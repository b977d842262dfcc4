#include "core/appointment_book.h"

#include "core/month_report.h"
#include "core/name_rules.h"
#include "core/patient_query.h"

#include "core/text_rules.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace velmora {

namespace {

const char *const kChooseProfessionalFirst =
    QT_TRANSLATE_NOOP("AppointmentBook", "Please choose professional first");
const char *const kNoAppointmentSelected =
    QT_TRANSLATE_NOOP("AppointmentBook", "No appointment is selected: choose one in the list first.");

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

// What a Change stores for a field: what the receptionist did not edit exactly as it is stored (a note
// longer than its column, the padding, a line break); an edited field at its column's width as a new
// booking is, but never cut: a text longer than the column stays whole.
QString changedMember(const Appointment &stored, EntryField field, const QString &typed, const QString &shown,
                      int width)
{
    if (typed == shown)
        return memberOf(stored, field);
    return characterCount(typed) > width ? typed : fitted(typed, width);
}

// The booking the row at position shows, among bookings: of the bookings shown alike, the one in the
// same place (equal rows stand in the order their bookings were added).
std::optional<Appointment> bookingShownAt(const QStringList &rows, int position,
                                          const QVector<Appointment> &bookings)
{
    const QString &shown = rows.at(position);
    int sameBefore = static_cast<int>(std::count(rows.cbegin(), rows.cbegin() + position, shown));
    for (const Appointment &booking : bookings)
        if (shownRecord(booking).row() == shown && sameBefore-- == 0)
            return booking;
    return std::nullopt;
}

const char *const kNothingChanged = QT_TRANSLATE_NOOP(
    "AppointmentBook", "No stored appointment of this day has the time and name of the one selected: it "
                       "may have been changed or removed at another desk. Nothing was changed.");
const char *const kNothingRemoved = QT_TRANSLATE_NOOP(
    "AppointmentBook", "No stored appointment of this day has the time and name in the fields: it may "
                       "have been changed or removed at another desk. Nothing was removed.");

const char *const kStatusNotSet = QT_TRANSLATE_NOOP(
    "AppointmentBook", "The selected appointment is no longer stored as listed: it may have been changed or "
                       "removed at another desk. Its status was not set.");
const char *const kNoHistory = QT_TRANSLATE_NOOP(
    "AppointmentBook", "The selected appointment is no longer stored as listed: it may have been changed or "
                       "removed at another desk.");

Outcome said(const QString &message)
{
    return Outcome{false, {message}};
}

// Rows reading exactly as the row at position, before it: equal rows stand in the order their
// bookings were added, so the count tells which of them it is.
int sameRowsBefore(const QStringList &rows, int position)
{
    const QString &row = rows.at(position);
    return static_cast<int>(std::count(rows.cbegin(), rows.cbegin() + position, row));
}

// The position of the row reading as text that has before rows reading the same before it, or -1.
int rowReadingAs(const QStringList &rows, const QString &text, int before)
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i) == text && before-- == 0)
            return i;
    return -1;
}

// Tells the views that the rows about to move are moved by the book, not picked by the user.
class ListChange
{
public:
    explicit ListChange(AppointmentBook &book) : book_(book) { Q_EMIT book_.listChanging(true); }
    ~ListChange() { Q_EMIT book_.listChanging(false); }
    ListChange(const ListChange &) = delete;
    ListChange &operator=(const ListChange &) = delete;

private:
    AppointmentBook &book_;
};

} // namespace

AppointmentBook::AppointmentBook(BookStorage &storage, QDate today, QObject *parent)
    : QObject(parent), storage_(storage), currentDate_(today)
{
    storage_.watchOtherDesks([this](const StoredElsewhere &change) { storedElsewhere(change); });
}

AppointmentBook::~AppointmentBook()
{
    storage_.watchOtherDesks({});
}

void AppointmentBook::storedElsewhere(const StoredElsewhere &change)
{
    if (change.doctors())
        followDoctorsSavedElsewhere(change.anything);
    else if (activeSlot_ != 0 && change.slot == activeSlot_ && change.date == currentDate_) {
        QString error; // the next action says why the day cannot be read
        listDayAgainKeepingSelection(&error);
    }
}

bool AppointmentBook::listDayAgainKeepingSelection(QString *error)
{
    QVector<Appointment> bookings;
    // Read first: when the read fails the list stays as it was.
    if (!storage_.readDay(activeSlot_, currentDate_, &bookings, error))
        return false;
    listKeepingSelection(bookings);
    return true;
}

void AppointmentBook::listKeepingSelection(const QVector<Appointment> &bookings)
{
    const QString selected = selectedRow_ >= 0 ? dayList_.rows().at(selectedRow_) : QString();
    const int sameBefore = selectedRow_ >= 0 ? sameRowsBefore(dayList_.rows(), selectedRow_) : 0;
    const BookingRecord current = current_;
    const bool change = canChange_;
    const bool remove = canRemove_;
    showDay(bookings);
    current_ = current;
    const int row = selected.isNull() ? -1 : rowReadingAs(dayList_.rows(), selected, sameBefore);
    if (row < 0)
        return; // what was selected is gone: nothing to change or remove
    selectedRow_ = row;
    setButtons(canAdd_, change, remove);
    Q_EMIT rowReselected(row);
}

void AppointmentBook::followDoctorsSavedElsewhere(bool dayToo)
{
    // Two reads: the settings record, which the doctor list needs anyway, and the chosen doctor's
    // weekly hours. The day's bookings, which a settings save leaves as they were, are listed again
    // from what was last read, with the slot length and hours as they are now.
    AllDoctorFields fields;
    const int slot = activeSlot_;
    if (!readDoctorNames(&fields).read || slot == 0)
        return;
    const DoctorFields &doctor = fields[static_cast<size_t>(slot - 1)];
    WeeklyTimes times;
    QString error;
    if (!doctor.interval || !doctor.link || !storage_.readWeeklyTimes(slot, &times, &error))
        return; // the next choice of the doctor says why
    applyDoctor(doctor, times);
    if (dayToo)
        listDayAgainKeepingSelection(&error);
    else if (dayBookings_)
        listKeepingSelection(*dayBookings_);
}

AppointmentBook::DoctorNames AppointmentBook::readDoctorNames()
{
    AllDoctorFields fields;
    return readDoctorNames(&fields);
}

AppointmentBook::DoctorNames AppointmentBook::readDoctorNames(AllDoctorFields *fields)
{
    DoctorNames result;
    QString error;
    if (!storage_.readDoctors(fields, &error, LockWait::GiveUp))
        return result; // tried again on the next tick
    result.read = true;
    for (const DoctorFields &doctor : *fields) {
        if (!doctor.name)
            break;
        result.names << *doctor.name;
    }
    result.complete = result.names.size() == kDoctorSlotCount;
    names_ = result.names;
    Q_EMIT doctorNamesChanged();
    return result;
}

QString AppointmentBook::doctorCalled(int slot) const
{
    const QString name = trimBlanks(names_.value(slot - 1));
    return name.isEmpty() ? QCoreApplication::translate("AppointmentBook", "doctor %1").arg(slot)
                          : QStringLiteral("\"%1\"").arg(name);
}

bool AppointmentBook::loadDoctor(int slot, QString *error)
{
    AllDoctorFields fields;
    if (!storage_.readDoctors(&fields, error))
        return false;
    const DoctorFields &doctor = fields[static_cast<size_t>(slot - 1)];
    if (!doctor.interval || !doctor.link) {
        *error = QCoreApplication::translate(
            "AppointmentBook", "the doctor's slot length or linked book has no value in the settings");
        return false;
    }
    WeeklyTimes times;
    if (!storage_.readWeeklyTimes(slot, &times, error) || !storage_.openBook(slot, error))
        return false;
    applyDoctor(doctor, times);
    return true;
}

void AppointmentBook::applyDoctor(const DoctorFields &doctor, const WeeklyTimes &times)
{
    doctor_ = doctorSettingsOf(doctor, times);
}

Outcome AppointmentBook::chooseDoctor(int slot)
{
    if (!isDoctorSlot(slot)) {
        clearDayList();
        return {};
    }
    activeSlot_ = slot;
    QString error;
    Outcome outcome;
    if (!loadDoctor(slot, &error)) {
        activeSlot_ = 0;
        clearDayList();
        Q_EMIT doctorChanged();
        return said(QCoreApplication::translate("AppointmentBook",
                                                "The appointment book of %1 could not be opened: %2.\n\n"
                                                "No doctor is chosen; please choose one again.")
                        .arg(doctorCalled(slot), error));
    }
    Q_EMIT doctorChanged();
    outcome.done = true;
    rebuildDayList(outcome);
    return outcome;
}

void AppointmentBook::leaveDoctor()
{
    activeSlot_ = 0;
    clearDayList();
    Q_EMIT doctorChanged();
}

QString AppointmentBook::longDate() const
{
    return QLocale().toString(currentDate_, QLocale::LongFormat);
}

void AppointmentBook::clearDayList()
{
    ListChange change(*this);
    dayList_.clear();
    dayBookings_.reset();
    selectNone();
}

void AppointmentBook::selectNone()
{
    selectedRow_ = -1;
    Q_EMIT selectionCleared();
    setButtons(canAdd_, false, false); // nothing to change or remove
}

bool AppointmentBook::rebuildDayList(QString *error)
{
    QVector<Appointment> bookings;
    if (!storage_.readDay(activeSlot_, currentDate_, &bookings, error)) {
        clearDayList();
        return false;
    }
    showDay(bookings);
    return true;
}

void AppointmentBook::showDay(const QVector<Appointment> &bookings)
{
    // The whole day in one change of the list, from the rules that list the free slots and merge the
    // bookings in.
    ListChange change(*this);
    dayBookings_ = bookings;
    const QStringList rows = dayRows(doctor_, currentDate_, bookings);
    QVector<BookingStatus> statuses;
    statuses.reserve(rows.size());
    for (const int booking : rowBookings(rows, bookings))
        statuses << (booking < 0 ? BookingStatus::ToConfirm : bookings.at(booking).status);
    dayList_.setRows(rows, statuses);
    if (!bookings.isEmpty())
        current_ = shownRecord(bookings.last()); // as merging the bookings one by one leaves it
    selectNone();
}

void AppointmentBook::rebuildDayList(Outcome &outcome)
{
    // When a day's appointments cannot be read, the list stays empty rather than showing free rows
    // that may be booked.
    QString error;
    if (!rebuildDayList(&error))
        outcome.messages << QCoreApplication::translate("AppointmentBook",
                                                        "The appointments of %1 could not be read: %2.\n\n"
                                                        "The list stays empty until they can be read.")
                                .arg(longDate(), error);
}

void AppointmentBook::reportStorageFailure(Outcome &outcome, const QString &what, const QString &reason)
{
    // One message says both what failed and what the list now shows. The selection and the fields
    // stay, so that the action can simply be tried again once the cause is gone.
    QString readError;
    const bool listed = listDayAgainKeepingSelection(&readError);
    if (!listed)
        clearDayList();
    const QString shown =
        listed ? QCoreApplication::translate("AppointmentBook", "The list shows what is stored.")
               : QCoreApplication::translate("AppointmentBook",
                                             "The stored appointments cannot be read either (%1); the list "
                                             "stays empty until they can be read.")
                     .arg(readError);
    outcome.messages << QStringLiteral("%1: %2.\n\n%3").arg(what, reason, shown);
}

void AppointmentBook::reportNothingMatched(Outcome &outcome, const char *what)
{
    outcome.messages << QCoreApplication::translate("AppointmentBook", what);
    rebuildDayList(outcome);
}

Outcome AppointmentBook::stepDate(DateStep step, QDate today)
{
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    const std::optional<QDate> next = steppedDate(currentDate_, step, today);
    if (!next)
        return {}; // past the calendar's ends nothing changes
    currentDate_ = *next;
    Q_EMIT dateChanged();
    Outcome outcome{true, {}};
    rebuildDayList(outcome);
    return outcome;
}

void AppointmentBook::setButtons(bool add, bool change, bool remove)
{
    if (add == canAdd_ && change == canChange_ && remove == canRemove_)
        return;
    canAdd_ = add;
    canChange_ = change;
    canRemove_ = remove;
    Q_EMIT buttonsChanged();
}

void AppointmentBook::fieldEdited(EntryField field)
{
    if (fields_[field] == memberOf(current_, field))
        return;
    setButtons(true, selectedRow_ >= 0 && !trimBlanks(current_.nome).isEmpty(), false);
}

void AppointmentBook::setField(EntryField field, const QString &text)
{
    if (fields_[field] == text)
        return;
    fields_[field] = text;
    fieldEdited(field);
}

void AppointmentBook::setFieldByProgram(EntryField field, const QString &text)
{
    if (fields_[field] == text)
        return;
    fields_[field] = text;
    Q_EMIT fieldChanged(field);
    fieldEdited(field);
}

void AppointmentBook::leaveField(EntryField field)
{
    if (field != NameField && field != PlanField)
        return;
    const QString capitalised = capitalize_name(fields_[field]);
    if (capitalised != fields_[field])
        setFieldByProgram(field, capitalised);
}

void AppointmentBook::selectRow(int row)
{
    if (row < 0 || row >= dayList_.rowCount()) {
        // A click beside the rows selects none: there is nothing to change or remove.
        selectedRow_ = -1;
        setButtons(canAdd_, false, false);
        return;
    }
    selectedRow_ = row;
    const BookingRecord picked = BookingRecord::fromRow(dayList_.rows().at(row));
    // A booked row's fields show the whole stored values, not the row's columns, which cut them.
    const std::optional<Appointment> stored = dayBookings_ && !trimBlanks(picked.nome).isEmpty()
                                                  ? bookingShownAt(dayList_.rows(), row, *dayBookings_)
                                                  : std::nullopt;
    // Each field is set in turn and reacts against the previous selection, as its change handler
    // does; then the selection becomes the current booking and the fields are trimmed against it.
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = static_cast<EntryField>(i);
        setFieldByProgram(field, stored ? blankControlCharacters(memberOf(*stored, field))
                                        : memberOf(picked, field));
        if (trimBlanks(fields_[field]).isEmpty())
            setFieldByProgram(field, QString());
        if (field == NameField)
            setButtons(canAdd_, !fields_[NameField].isEmpty(), canRemove_);
    }
    current_ = BookingRecord::of(fields_[TimeField], fields_[NameField], fields_[PlanField],
                                 fields_[PhonesField], fields_[NotesField]);
    for (int i = 0; i < kEntryFieldCount; ++i)
        setFieldByProgram(static_cast<EntryField>(i), trimBlanks(fields_[i]));
    selectedFields_ = fields_;
    // The fields' handlers above compared against the previous selection; what is offered follows
    // this one: a booking with a name can be changed and removed, a free row neither.
    const bool booked = !fields_[NameField].isEmpty();
    setButtons(canAdd_, booked, booked);
}

Appointment AppointmentBook::bookingFromFields() const
{
    Appointment booking;
    booking.date = currentDate_;
    booking.hora = fields_[TimeField];
    booking.nome = fields_[NameField];
    booking.convenio = fields_[PlanField];
    booking.telefone = fields_[PhonesField];
    booking.obs = fields_[NotesField];
    return booking;
}

bool AppointmentBook::reloadSlotLengthAndLink(QString *error)
{
    DoctorFields doctor;
    if (!storage_.readSlotLengthAndLink(activeSlot_, &doctor, error))
        return false;
    doctor_.slotLength = fitted(doctor.interval.value_or(QString()), 2);
    doctor_.linkedSlot = linkedSlotValue(doctor.link.value_or(QString()));
    return true;
}

Outcome AppointmentBook::add()
{
    // However the button was pressed (an access key leaves the focus in the field), names are
    // capitalised before they are read.
    leaveField(NameField);
    leaveField(PlanField);
    addedRow_ = -1;
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    if (trimBlanks(fields_[TimeField]).isEmpty())
        return said(
            QCoreApplication::translate("AppointmentBook", "Choose schedule belows or type one time"));
    if (trimBlanks(fields_[NameField]).isEmpty())
        return said(QCoreApplication::translate("AppointmentBook", "Field Name cannot be empty"));

    // Not hearing the other desks, the list may miss their bookings: read again first, so that the
    // list the new booking joins is what is stored.
    QString unread;
    if (!storage_.hearsOtherDesks())
        listDayAgainKeepingSelection(&unread);
    rowBuffer_ = BookingRecord::of(fields_[TimeField], fields_[NameField], fields_[PlanField],
                                   fields_[PhonesField], fields_[NotesField]);
    current_.hora = rowBuffer_.hora;
    int added = -1;
    {
        ListChange change(*this);
        drop_free_slot(dayList_, current_);
        added = dayList_.add(rowBuffer_.row());
        selectNone();
    }

    const int linked = doctor_.linkedSlot;
    QString error;
    Outcome outcome;
    const Added stored = storage_.add(activeSlot_, bookingFromFields(),
                                      isDoctorSlot(linked) && linked != activeSlot_ ? linked : 0, &error);
    switch (stored.outcome) {
    case AddOutcome::Stored:
        outcome.done = true;
        addedRow_ = added;
        if (dayBookings_)
            dayBookings_->append(bookingFromFields());
        break;
    case AddOutcome::StoredWithoutCopy:
        outcome.done = true;
        addedRow_ = added;
        if (dayBookings_)
            dayBookings_->append(bookingFromFields());
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook",
                                "The appointment was stored, but it could not be copied to the linked "
                                "doctor's book (%1): %2.")
                                .arg(doctorCalled(linked), error);
        break;
    case AddOutcome::NotStored:
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook",
                                        "The appointment could not be stored, for this doctor nor for a "
                                        "linked one"),
            error);
        break;
    }
    // The book was replaced under the program: the list shows what the book there holds.
    if (stored.bookReplaced) {
        rebuildDayList(outcome);
        addedRow_ = outcome.done ? static_cast<int>(dayList_.rows().indexOf(rowBuffer_.row())) : -1;
    }
    if (!reloadSlotLengthAndLink(&error))
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook",
                                "The doctor's slot length and linked book could not be read again: %1.")
                                .arg(error);
    return outcome;
}

bool AppointmentBook::findSelectedBooking(Appointment *found, bool *readOk, Outcome &outcome)
{
    QVector<Appointment> bookings;
    QString error;
    *readOk = storage_.readDay(activeSlot_, currentDate_, &bookings, &error);
    if (!*readOk) {
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook", "The appointments of this day could not be read"),
            error);
        return false;
    }
    // The booking shown in the selected row, as it is stored (whatever the row shows of control
    // characters or of a field longer than its column).
    const std::optional<Appointment> shown = bookingShownAt(dayList_.rows(), selectedRow_, bookings);
    if (shown)
        *found = *shown;
    return shown.has_value();
}

bool AppointmentBook::selectedAsStored(Appointment *found, Outcome &outcome, const char *notMatched)
{
    if (!bookingSelected()) {
        outcome = said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
        return false;
    }
    bool readOk = false;
    if (findSelectedBooking(found, &readOk, outcome))
        return true;
    if (readOk)
        reportNothingMatched(outcome, notMatched);
    return false;
}

Outcome AppointmentBook::setStatus(BookingStatus status)
{
    Outcome outcome;
    Appointment found;
    if (!selectedAsStored(&found, outcome, kStatusNotSet))
        return outcome;
    QString error;
    const WriteOutcome written = storage_.setStatus(activeSlot_, found, status, &error);
    if (written == WriteOutcome::NoLongerStored) {
        reportNothingMatched(outcome, kStatusNotSet);
        return outcome;
    }
    if (written == WriteOutcome::Failed) {
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook", "The status could not be set; it stays as it was"),
            error);
        return outcome;
    }
    // The row keeps its selection and the fields what they hold: only its mark changes.
    outcome.done = true;
    dayList_.setStatusAt(selectedRow_, status);
    if (dayBookings_)
        for (Appointment &booking : *dayBookings_)
            if (booking.id == found.id)
                booking.status = status;
    return outcome;
}

Outcome AppointmentBook::history(QVector<HistoryEntry> *entries)
{
    entries->clear();
    Outcome outcome;
    Appointment found;
    if (!selectedAsStored(&found, outcome, kNoHistory))
        return outcome;
    QString error;
    if (!storage_.readHistory(activeSlot_, found.id, entries, &error)) {
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook", "The history of the appointment could not be read: %1.")
                                .arg(error);
        return outcome;
    }
    // Entries of another booking under the same identity (the book renumbered by another tool) are
    // never shown as this patient's.
    if (!historyBelongsTo(*entries, found)) {
        entries->clear();
        outcome.messages << QCoreApplication::translate(
            "AppointmentBook",
            "The history kept under this appointment's number tells of another appointment "
            "(the book was renumbered by another program): it is set aside, not shown.");
        return outcome;
    }
    outcome.done = true;
    return outcome;
}

bool AppointmentBook::bookingSelected() const
{
    return selectedRow_ >= 0 &&
           !trimBlanks(BookingRecord::fromRow(dayList_.rows().at(selectedRow_)).nome).isEmpty();
}

Outcome AppointmentBook::change()
{
    leaveField(NameField);
    leaveField(PlanField);
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", "Please choose the professional first"));
    if (!bookingSelected())
        return said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
    if (trimBlanks(fields_[TimeField]).isEmpty())
        return said(
            QCoreApplication::translate("AppointmentBook", "Choose schedule belows or type one time"));
    if (trimBlanks(fields_[NameField]).isEmpty())
        return said(QCoreApplication::translate("AppointmentBook", "Field Name cannot be empty"));
    // The record is the one selected, as it was read; the fields hold what it becomes.
    Outcome outcome;
    Appointment found;
    bool readOk = false;
    if (!findSelectedBooking(&found, &readOk, outcome)) {
        if (readOk)
            reportNothingMatched(outcome, kNothingChanged);
        return outcome;
    }

    rowBuffer_ = BookingRecord::of(fields_[TimeField], fields_[NameField], fields_[PlanField],
                                   fields_[PhonesField], fields_[NotesField]);
    Appointment changed = bookingFromFields();
    const auto member = [&](EntryField field, int width) {
        return changedMember(found, field, fields_[field], selectedFields_[field], width);
    };
    changed.hora = member(TimeField, BookingRecord::kHoraWidth);
    changed.nome = member(NameField, BookingRecord::kNomeWidth);
    changed.convenio = member(PlanField, BookingRecord::kConvenioWidth);
    changed.telefone = member(PhonesField, BookingRecord::kTelefoneWidth);
    changed.obs = member(NotesField, BookingRecord::kObsWidth);
    QString error;
    const WriteOutcome written = storage_.update(activeSlot_, found, changed, &error);
    if (written == WriteOutcome::NoLongerStored) {
        reportNothingMatched(outcome, kNothingChanged);
        return outcome;
    }
    if (written == WriteOutcome::Failed) {
        // The fields keep what was typed, so that nothing has to be typed again.
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook",
                                        "The appointment could not be changed; it is stored as it was"),
            error);
        return outcome;
    }
    for (int i = 0; i < kEntryFieldCount; ++i)
        setFieldByProgram(static_cast<EntryField>(i), QString());
    setButtons(canAdd_, false, false);
    // Rebuilt rather than patched, so that the old time gets its free row back and the new one loses it.
    outcome.done = true;
    rebuildDayList(outcome);
    return outcome;
}

Outcome AppointmentBook::remove()
{
    if (!bookingSelected())
        return said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
    // Remove goes by what the fields hold now: the selected booking, while they still name it.
    if (trimBlanks(fields_[TimeField]) != trimBlanks(selectedFields_[TimeField]) ||
        trimBlanks(fields_[NameField]) != trimBlanks(selectedFields_[NameField]))
        return said(QCoreApplication::translate("AppointmentBook", kNothingRemoved));
    Outcome outcome;
    Appointment found;
    bool readOk = false;
    if (!findSelectedBooking(&found, &readOk, outcome)) {
        if (readOk)
            reportNothingMatched(outcome, kNothingRemoved); // the row stays, as its booking does
        return outcome;
    }
    QString error;
    const WriteOutcome written = storage_.remove(activeSlot_, found, &error);
    if (written == WriteOutcome::NoLongerStored) {
        reportNothingMatched(outcome, kNothingRemoved);
        return outcome;
    }
    if (written == WriteOutcome::Failed) {
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook",
                                        "The appointment could not be removed; it is still stored"),
            error);
        return outcome;
    }
    outcome.done = true;
    rebuildDayList(outcome);
    return outcome;
}

bool AppointmentBook::readConfirmations(QDate from, QDate to, int slot, bool toConfirmOnly,
                                        QVector<ConfirmationRow> *rows, QString *error)
{
    if (names_.isEmpty())
        readDoctorNames();
    return readConfirmationList(storage_, from, to, slot, names_, toConfirmOnly, rows, error);
}

Outcome AppointmentBook::setStatusOf(const ConfirmationRow &row, BookingStatus status)
{
    Outcome outcome;
    QString error;
    const WriteOutcome written = storage_.setStatus(row.slot, row.booking, status, &error);
    if (written == WriteOutcome::NoLongerStored)
        outcome.messages << QCoreApplication::translate("AppointmentBook", kStatusNotSet);
    else if (written == WriteOutcome::Failed)
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook", "The status could not be set; it stays as it was: %1.")
                                .arg(error);
    outcome.done = written == WriteOutcome::Done;
    if (row.slot == activeSlot_ && row.booking.date == currentDate_)
        listDayAgainKeepingSelection(&error);
    return outcome;
}

bool AppointmentBook::monthReport(QDate from, QDate to, int slot, MonthReport *report, QString *error)
{
    return readMonthReport(storage_, from, to, slot, report, error);
}

std::array<bool, 7> AppointmentBook::weekdaysWorked()
{
    std::array<WeeklyTimes, kDoctorSlotCount> hours{};
    QString error;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        if (!storage_.readWeeklyTimes(slot, &hours[static_cast<size_t>(slot - 1)], &error))
            hours[static_cast<size_t>(slot - 1)].fill(QString());
    return weekdaysWithHours(hours);
}

bool AppointmentBook::findPatients(const QString &typed, QDate today, PatientQuery *query,
                                   QVector<FoundBooking> *found, QString *error)
{
    *query = patientQuery(typed);
    found->clear();
    if (query->kind == PatientQuery::Kind::TooShort)
        return true;
    if (!storage_.findBookings(*query, found, error))
        return false;
    sortFound(*found, today);
    return true;
}

Outcome AppointmentBook::goTo(const FoundBooking &found)
{
    Outcome outcome{true, {}};
    if (activeSlot_ != found.slot) {
        outcome = chooseDoctor(found.slot);
        if (activeSlot_ != found.slot)
            return outcome;
    }
    if (!showDateWithRow(found.booking.date, shownRecord(found.booking).row(), outcome))
        outcome.messages << QCoreApplication::translate(
            "AppointmentBook",
            "The appointment is no longer stored as it was found: it may have been changed or "
            "removed at another desk. The list shows what is stored.");
    return outcome;
}

bool AppointmentBook::showDateWithRow(QDate date, const QString &row, Outcome &outcome)
{
    if (currentDate_ != date) {
        currentDate_ = date;
        Q_EMIT dateChanged();
        rebuildDayList(outcome);
    }
    const int position = static_cast<int>(dayList_.rows().indexOf(row));
    if (position < 0) {
        outcome.done = false;
        return false;
    }
    selectRow(position);
    Q_EMIT rowReselected(position);
    return true;
}

Outcome AppointmentBook::firstFreeSlots(QVector<FirstFree> *found, QDate today, QTime now)
{
    found->clear();
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    const bool anyHours = std::any_of(doctor_.weeklyTimes.cbegin(), doctor_.weeklyTimes.cend(),
                                      [](const QString &time) { return !trimBlanks(time).isEmpty(); });
    if (!anyHours)
        return said(
            QCoreApplication::translate("AppointmentBook", "%1 has no weekly hours: set them up first.")
                .arg(doctorCalled(activeSlot_)));
    QString error;
    bool readOk = true;
    const QDate from = std::max(currentDate_, today);
    *found = velmora::firstFreeSlots(
        doctor_, from,
        [&](QDate date, QVector<Appointment> *bookings) {
            readOk = storage_.readDay(activeSlot_, date, bookings, &error);
            return readOk;
        },
        10, from == today ? now : QTime());
    if (!readOk)
        return said(QCoreApplication::translate("AppointmentBook", "The appointments could not be read: %1.")
                        .arg(error));
    if (found->isEmpty())
        return said(
            QCoreApplication::translate("AppointmentBook", "%1 has no free time within a year from %2.")
                .arg(doctorCalled(activeSlot_), longDate()));
    return {true, {}};
}

Outcome AppointmentBook::goToFree(const FirstFree &free)
{
    Outcome outcome{true, {}};
    if (!showDateWithRow(free.date, free.time, outcome))
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook",
                                "The time %1 was booked meanwhile; the list shows the day as it is now.")
                                .arg(free.time);
    return outcome;
}

std::optional<Printout> AppointmentBook::printout() const
{
    if (activeSlot_ == 0)
        return std::nullopt;
    Printout printout;
    const QString name = names_.value(activeSlot_ - 1);
    printout.documentName = printDocumentName(name, currentDate_);
    printout.header = name + QStringLiteral(" - ") + longDate();
    printout.rows = dayList_.rows();
    return printout;
}

bool AppointmentBook::readSetup(AllDoctorFields *fields, QString *error)
{
    setupAsRead_.reset();
    if (!storage_.readDoctors(fields, error))
        return false;
    setupAsRead_ = *fields;
    return true;
}

AppointmentBook::SetupSave AppointmentBook::saveSetup(const AllDoctorChanges &changes, QString *error,
                                                      bool overwriteOtherSave)
{
    if (setupAsRead_ && !overwriteOtherSave) {
        AllDoctorFields now;
        if (!storage_.readDoctors(&now, error))
            return SetupSave::Failed;
        if (now != *setupAsRead_)
            return SetupSave::SavedElsewhere;
    }
    if (!storage_.saveDoctors(changes, error))
        return SetupSave::Failed;
    // The window keeps what was saved: the next save asks only when another desk saves meanwhile.
    AllDoctorFields saved;
    QString readError;
    if (storage_.readDoctors(&saved, &readError))
        setupAsRead_ = saved;
    else
        setupAsRead_.reset();
    names_.clear();
    for (const DoctorChanges &doctor : changes)
        names_ << doctor.name;
    leaveDoctor();
    Q_EMIT doctorNamesChanged();
    return SetupSave::Saved;
}

bool AppointmentBook::readWeeklyTimes(int slot, WeeklyTimes *times, QString *error)
{
    return storage_.readWeeklyTimes(slot, times, error);
}

bool AppointmentBook::saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error)
{
    return storage_.saveWeeklyTimes(slot, times, error);
}

} // namespace velmora
