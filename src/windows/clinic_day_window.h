#pragma once

#include "core/model/outcome.h"
#include "core/reception/clinic_day.h"
#include "windows/platform.h"
#include "windows/reading_bar.h"

#include <QDir>
#include <QWidget>

class QLabel;
class QTableWidget;

namespace velmora {

// The clinic's day: every named doctor's day side by side, one column per doctor and one row per time
// any of them lists, each cell as that doctor's day list shows it. Enter or a double click on a cell
// brings that doctor, date and row up in the main window.
class ClinicDayWindow : public QWidget
{
    Q_OBJECT

public:
    ClinicDayWindow(const Platform &platform, BackgroundReads &reads, const QDir &pdfFolder,
                    QWidget *parent = nullptr);
    // Shown for the date; the week of the doctor's slot (0: none chosen) offered beside it.
    void open(QDate date, int slot);
    QDate date() const { return date_; }
    // Something was stored: the board is read again when the day shown is concerned, on the same cell.
    void storedElsewhere(const StoredElsewhere &change);

Q_SIGNALS:
    // The receptionist chose a cell: its doctor, date and day-list row.
    void chosen(const velmora::BookPlace &place);
    // The record of the patient booked in the cell chosen.
    void patientRequested(const velmora::BookPlace &place);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void read();
    QString weekOf(QDate date) const; // "The week of December 7 to December 13, 2026"
    void showBoard(const ClinicDay &day);
    void step(int days);
    // The day's bookings or the doctor's week change this board.
    bool shows(QDate date) const;
    void chooseCurrent();

    Platform platform_;
    QDir pdfFolder_;
    QDate date_;
    int slot_ = 0; // the doctor whose week is offered
    ClinicDay day_;
    class QPushButton *week_ = nullptr;
    QLabel *dateLabel_ = nullptr;
    QTableWidget *board_ = nullptr;
    ReadingBar *reading_ = nullptr;
};

} // namespace velmora
