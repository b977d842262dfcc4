#pragma once

#include <QDate>
#include <QWidget>

#include <functional>

class QComboBox;
class QDateEdit;

namespace velmora {

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
    // Asked before a period longer than two years is taken (a year mistyped, 9026 for 2026): false
    // puts the dates back as they were.
    void askForLongPeriods(std::function<bool(QDate from, QDate to)> ask) { askLong_ = std::move(ask); }

Q_SIGNALS:
    void changed();

private:
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QComboBox *doctor_ = nullptr;
    std::function<bool(QDate, QDate)> askLong_;
    QDate takenFrom_;
    QDate takenTo_;
    // A date changed: the period taken, or put back when it is too long and not wanted.
    void dateChanged();
};

} // namespace velmora
