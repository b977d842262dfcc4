#pragma once

#include "core/text/text_rules.h"

#include <QObject>

#include <array>
#include <optional>

namespace velmora {

struct Appointment;

// The five entry fields, as the controls Text1 to Text5 show them.
enum EntryField
{
    TimeField,
    NameField,
    PlanField,
    PhonesField,
    NotesField,
    kEntryFieldCount
};

// Which of Add, Change and Remove the fields offer.
struct EntryButtons
{
    bool add = true;
    bool change = false;
    bool remove = false;
    bool operator==(const EntryButtons &other) const
    {
        return add == other.add && change == other.change && remove == other.remove;
    }
};

// What the entry fields hold and offer, as the receptionist types, leaves a field and selects rows:
// an edit is told from what the selection filled in, and the buttons follow.
class EntryFields : public QObject
{
    Q_OBJECT

public:
    QString text(EntryField field) const { return texts_[field]; }
    // What the user typed into a field.
    void type(EntryField field, const QString &text);
    // A field filled for the user (a patient chosen from a list): shown, and an edit as if typed.
    void fill(EntryField field, const QString &text) { setByProgram(field, text); }
    // Names and plans are capitalised when the user leaves their field.
    void leave(EntryField field);
    const EntryButtons &buttons() const { return buttons_; }
    void offer(EntryButtons buttons);
    // The booking the list merged or added last, or the one selected: what an edit is told from.
    const BookingRecord &current() const { return current_; }
    void setCurrent(const BookingRecord &current) { current_ = current; }
    // Whether a row of the list is selected: an edit of a booked one may then be a Change.
    void setRowSelected(bool selected) { rowSelected_ = selected; }

    // A row selected: its booking's whole stored values (stored) or the row's own columns (picked).
    void fillFromSelection(const BookingRecord &picked, const std::optional<Appointment> &stored);
    // Every field emptied by the program, as after a Change.
    void clear();
    // Whether the field still reads as the selection filled it (blanks around ignored).
    bool readsAsSelected(EntryField field) const;
    // The fields just booked, kept as the selection's: what the next patient's Add may carry unawares.
    void rememberBooked() { selected_ = texts_; }
    // Whether the plan or phones still read as another patient's booking left them (selected, removed
    // or just booked) while the name typed is someone else's: asked about before an Add.
    bool carriesAnotherPatient() const;
    // The fields as a new booking of that date.
    Appointment booking(QDate date) const;
    // The stored booking as a Change leaves it: what was not edited exactly as stored; an edited field
    // at its column's width, but never cut.
    Appointment changed(const Appointment &stored) const;
    BookingRecord record() const;
    // Said when a booking cannot be added or changed to what the fields hold; empty when it can.
    QString refusal() const;

Q_SIGNALS:
    void changedByProgram(velmora::EntryField field);
    void buttonsChanged();

private:
    void setByProgram(EntryField field, const QString &text);
    void edited(EntryField field);

    std::array<QString, kEntryFieldCount> texts_;
    // The fields as the selection of a booked row filled them: what still reads so was not edited.
    std::array<QString, kEntryFieldCount> selected_;
    BookingRecord current_;
    EntryButtons buttons_;
    bool rowSelected_ = false;
};

} // namespace velmora
