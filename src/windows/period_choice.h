#pragma once

#include <QDate>
#include <QWidget>

class QComboBox;
class QDateEdit;

namespace velmora {

class MessageService;

// "From", "To" and "Doctor" in a row, for the windows that look at a period of every doctor's or one
// doctor's books; the first day never after the last. Its controls are named with the prefix given.
class PeriodChoice : public QWidget
{
    Q_OBJECT

public:
    PeriodChoice(const QString &namePrefix, QWidget *parent = nullptr);

    // The period and the doctors to choose from ("All doctors" first), without a changed().
    void set(QDate from, QDate to, const QStringList &doctorNames);
    QDate from() const;
    QDate to() const;
    int slot() const; // 0 for all doctors
    QString doctorText() const;
    // A period longer than two years (a year mistyped, 9026 for 2026) asked about before it is taken;
    // No puts the dates back as they were.
    void askForLongPeriods(MessageService &messages) { messages_ = &messages; }

Q_SIGNALS:
    void changed();

private:
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QComboBox *doctor_ = nullptr;
    MessageService *messages_ = nullptr;
    QDate takenFrom_;
    QDate takenTo_;
    // A date changed: the period taken, or put back when it is too long and not wanted.
    void dateChanged();
};

} // namespace velmora
