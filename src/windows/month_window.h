#pragma once

#include "core/reports/month_report.h"
#include "windows/platform.h"
#include "windows/reading_bar.h"

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
    // The figures are read in the background.
    MonthWindow(const Platform &platform, BackgroundReads &reads, const QDir &pdfFolder,
                QWidget *parent = nullptr);

    // Shown for the month of today, every doctor.
    void open(const QStringList &doctorNames);
    const MonthReport &report() const { return report_; }

private:
    void reload();
    void showFigures();
    void showCharts();
    void print();
    void saveCsv();

    Platform platform_;
    QDir pdfFolder_;
    class PeriodChoice *period_ = nullptr;
    QTableWidget *figures_ = nullptr;
    QWidget *charts_ = nullptr;
    QGridLayout *chartGrid_ = nullptr;
    MonthReport report_;
    ReadingBar *reading_ = nullptr;
};

} // namespace velmora
