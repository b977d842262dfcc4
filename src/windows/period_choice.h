#pragma once

#include <QDate>
#include <QWidget>

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

Q_SIGNALS:
    void changed();

private:
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QComboBox *doctor_ = nullptr;
};

} // namespace velmora
