#pragma once

#include "core/appointment_book.h"
#include "core/month_report.h"
#include "windows/platform.h"

#include <QWidget>

class QGridLayout;
class QTableWidget;

namespace velmora {

// The month in numbers: for a period (the month of today at first) and every doctor or one, each
// doctor's free slots, bookings, occupancy and statuses, and the health plans' shares, as a table and
// as charts; printed with its charts, or saved for a spreadsheet.
class MonthWindow : public QWidget
{
    Q_OBJECT

public:
    MonthWindow(const Platform &platform, AppointmentBook &book, const QDir &pdfFolder,
                QWidget *parent = nullptr);

    void open();
    const MonthReport &report() const { return report_; }

private:
    void reload();
    void showFigures();
    void showCharts();
    void print();
    void saveCsv();

    Platform platform_;
    AppointmentBook &book_;
    QDir pdfFolder_;
    class PeriodChoice *period_ = nullptr;
    QTableWidget *figures_ = nullptr;
    QWidget *charts_ = nullptr;
    QGridLayout *chartGrid_ = nullptr;
    MonthReport report_;
};

} // namespace velmora
