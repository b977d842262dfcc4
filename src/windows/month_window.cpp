#include "windows/month_window.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/safekeeping/desk_files.h"
#include "core/text/printout.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"
#include "windows/period_choice.h"
#include "windows/widgets_support.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPen>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace velmora {

namespace {

constexpr int kPlanSlices = 8;

// A qualitative palette (Okabe and Ito's): colours told apart also by the colour-blind, and of
// different lightness, so that a grey print still separates neighbours.
QColor chartColour(int index)
{
    static const QColor colours[] = {QColor(0x00, 0x72, 0xB2), QColor(0xE6, 0x9F, 0x00),
                                     QColor(0x00, 0x9E, 0x73), QColor(0xCC, 0x79, 0xA7),
                                     QColor(0x56, 0xB4, 0xE9), QColor(0xD5, 0x5E, 0x00),
                                     QColor(0xF0, 0xE4, 0x42), QColor(0x55, 0x55, 0x55)};
    return colours[index % static_cast<int>(std::size(colours))];
}

QChartView *chartView(QChart *chart, const QString &name)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto *view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    view->setAccessibleName(name);
    view->setMinimumSize(320, 220);
    view->setFocusPolicy(Qt::NoFocus);
    return view;
}

} // namespace

MonthWindow::MonthWindow(const Platform &platform, BackgroundReads &reads, const QDir &pdfFolder,
                         QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), pdfFolder_(pdfFolder)
{
    setObjectName(QStringLiteral("monthWindow"));
    setWindowTitle(tr("The month in numbers"));
    period_ = new PeriodChoice(QStringLiteral("report"), this);
    figures_ = new QTableWidget(this);
    figures_->setObjectName(QStringLiteral("reportFigures"));
    figures_->setAccessibleName(tr("Figures of the period"));
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->verticalHeader()->hide();
    figures_->setTabKeyNavigation(false);
    charts_ = new QWidget;
    chartGrid_ = new QGridLayout(charts_);
    chartGrid_->setContentsMargins(0, 0, 0, 0);
    // The charts scroll when the doctors' occupancy needs more height than the window gives.
    auto *chartArea = new QScrollArea(this);
    chartArea->setObjectName(QStringLiteral("reportCharts"));
    chartArea->setAccessibleName(tr("Charts of the period"));
    chartArea->setWidget(charts_);
    chartArea->setWidgetResizable(true);
    chartArea->setFrameShape(QFrame::NoFrame);
    chartArea->setFocusPolicy(Qt::NoFocus);

    auto *print = new QPushButton(tr("&Print"), this);
    print->setObjectName(QStringLiteral("reportPrint"));
    auto *csv = new QPushButton(tr("Save as CS&V"), this);
    csv->setObjectName(QStringLiteral("reportCsv"));
    auto *close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("reportClose"));

    auto *actions = new QHBoxLayout;
    actions->addWidget(print);
    actions->addWidget(csv);
    actions->addStretch();
    actions->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(period_);
    layout->addWidget(figures_, 2);
    layout->addWidget(chartArea, 5);
    // The reading line after the window's own controls, in Tab order too.
    reading_ = new ReadingBar(reads, this);
    layout->addWidget(reading_);
    layout->addLayout(actions);
    resize(1000, 720);

    connect(period_, &PeriodChoice::changed, this, &MonthWindow::reload);
    period_->askForLongPeriods(platform_.messages);
    connect(print, &QPushButton::clicked, this, &MonthWindow::print);
    connect(csv, &QPushButton::clicked, this, &MonthWindow::saveCsv);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Escape stops a read under way, and closes the window otherwise.
    onEscape(this, [this] {
        if (reading_->reading())
            reading_->stop();
        else
            QWidget::close();
    });
}

void MonthWindow::open(const QStringList &doctorNames)
{
    const QDate today = platform_.clock.today();
    period_->set(firstOfMonth(today), lastOfMonth(today), doctorNames);
    reload();
    show();
    raise();
    activateWindow();
    period_->setFocus(Qt::OtherFocusReason);
}

void MonthWindow::reload()
{
    struct Figures
    {
        bool read = false;
        QString error;
        MonthReport report;
    };
    const QDate from = period_->from();
    const QDate to = period_->to();
    const int slot = period_->slot();
    reading_->start<Figures>(
        tr("Counting the period..."),
        [from, to, slot](BookStorage &storage, const ReadProgress &progress) {
            Figures figures;
            figures.read =
                readMonthReport(storage, from, to, slot, &figures.report, &figures.error, progress);
            return figures;
        },
        [this, from, to](const Figures &figures) {
            report_ = figures.read ? figures.report : MonthReport{from, to, {}, {}, {}};
            if (!figures.read)
                platform_.messages.inform(this, tr("The figures could not be read: %1.").arg(figures.error));
            showFigures();
            showCharts();
        });
}

void MonthWindow::showFigures()
{
    const QLocale locale;
    const QStringList header{tr("Doctor"),      tr("Free slots"), tr("Bookings"),
                             tr("Squeeze-ins"), tr("Occupancy"),  tr("Confirmed"),
                             tr("Arrived"),     tr("Missed"),     tr("Cancelled")};
    figures_->clear();
    figures_->setColumnCount(static_cast<int>(header.size()));
    figures_->setHorizontalHeaderLabels(header);
    figures_->setRowCount(static_cast<int>(report_.doctors.size()));
    for (int row = 0; row < report_.doctors.size(); ++row) {
        const DoctorFigures &doctor = report_.doctors.at(row);
        const auto count = [&doctor](BookingStatus status) {
            return QString::number(doctor.byStatus[static_cast<size_t>(status)]);
        };
        const QStringList texts{doctor.name,
                                QString::number(doctor.offered),
                                QString::number(doctor.booked),
                                QString::number(doctor.squeezedIn),
                                locale.toString(doctor.occupancy() * 100.0, 'f', 1) + QLatin1Char('%'),
                                count(BookingStatus::Confirmed),
                                count(BookingStatus::Arrived),
                                count(BookingStatus::Missed),
                                count(BookingStatus::Cancelled)};
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            figures_->setItem(row, column, item);
        }
    }
    figures_->resizeColumnsToContents();
}

void MonthWindow::showCharts()
{
    while (QLayoutItem *item = chartGrid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const QLocale locale;
    // Bookings per doctor per week.
    auto *weekly = new QBarSeries;
    for (const DoctorFigures &doctor : std::as_const(report_.doctors)) {
        auto *set = new QBarSet(doctor.name);
        set->setColor(chartColour(static_cast<int>(weekly->count())));
        set->setBorderColor(Qt::black);
        for (const int count : doctor.perWeek)
            *set << count;
        weekly->append(set);
    }
    auto *weeks = new QChart;
    weeks->setTitle(tr("Bookings per week"));
    weeks->addSeries(weekly);
    auto *weekAxis = new QBarCategoryAxis;
    for (const QDate &monday : std::as_const(report_.weeks))
        weekAxis->append(locale.toString(monday, QStringLiteral("dd/MM")));
    weeks->addAxis(weekAxis, Qt::AlignBottom);
    weekly->attachAxis(weekAxis);
    auto *countAxis = new QValueAxis;
    countAxis->setLabelFormat(QStringLiteral("%d"));
    weeks->addAxis(countAxis, Qt::AlignLeft);
    weekly->attachAxis(countAxis);
    countAxis->applyNiceNumbers();
    // The doctors listed beside the chart, one a line, so that no name is cut.
    weeks->legend()->setAlignment(Qt::AlignRight);
    QChartView *weeksView = chartView(weeks, tr("Bookings per week"));
    weeksView->setMinimumHeight(
        std::max(weeksView->minimumHeight(), 90 + 24 * static_cast<int>(report_.doctors.size())));
    chartGrid_->addWidget(weeksView, 0, 0, 1, 2);

    // Occupancy per doctor.
    auto *occupancy = new QHorizontalBarSeries;
    auto *shares = new QBarSet(tr("Occupancy (%)"));
    auto *doctorAxis = new QBarCategoryAxis;
    for (const DoctorFigures &doctor : std::as_const(report_.doctors)) {
        *shares << std::round(doctor.occupancy() * 1000.0) / 10.0;
        doctorAxis->append(doctor.name);
    }
    shares->setColor(chartColour(0));
    shares->setBorderColor(Qt::black);
    occupancy->append(shares);
    occupancy->setLabelsVisible(true);
    occupancy->setLabelsFormat(QStringLiteral("@value%"));
    occupancy->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    auto *occupied = new QChart;
    occupied->setTitle(tr("Occupancy of the weekly hours"));
    occupied->addSeries(occupancy);
    occupied->addAxis(doctorAxis, Qt::AlignLeft);
    occupancy->attachAxis(doctorAxis);
    // Bars to their value, past 100% with extra bookings, and the full weekly hours drawn as a line.
    double highest = 100;
    for (const DoctorFigures &doctor : std::as_const(report_.doctors))
        highest = std::max(highest, doctor.occupancy() * 100.0);
    auto *percentAxis = new QValueAxis;
    percentAxis->setRange(0, highest > 100 ? std::ceil(highest * 1.1 / 10.0) * 10.0 : 100);
    percentAxis->setLabelFormat(QStringLiteral("%d%%"));
    occupied->addAxis(percentAxis, Qt::AlignBottom);
    occupancy->attachAxis(percentAxis);
    auto *full = new QLineSeries;
    full->setName(tr("100%: every slot booked"));
    full->append(100, 0);
    full->append(100, 1);
    full->setPen(QPen(Qt::black, 2, Qt::DashLine));
    occupied->addSeries(full);
    auto *along = new QValueAxis;
    along->setRange(0, 1);
    along->setVisible(false);
    occupied->addAxis(along, Qt::AlignRight);
    full->attachAxis(percentAxis);
    full->attachAxis(along);
    occupied->legend()->hide();
    QChartView *occupiedView = chartView(occupied, tr("Occupancy of the weekly hours"));
    // Each name needs about 26 pixels of height, or the axis shows "..." in its place.
    occupiedView->setMinimumHeight(
        std::max(occupiedView->minimumHeight(), 70 + 26 * static_cast<int>(report_.doctors.size())));
    chartGrid_->addWidget(occupiedView, 1, 0);

    // The plans' shares.
    // The plans with most bookings, the rest as one slice: every slice's name can be read.
    auto *plans = new QPieSeries;
    for (const PlanSlice &slice : planSlices(report_.plans, kPlanSlices)) {
        QPieSlice *made = plans->append(
            QStringLiteral("%1 (%2)").arg(slice.caption, locale.toString(slice.bookings)), slice.bookings);
        made->setColor(chartColour(static_cast<int>(plans->count()) - 1));
        made->setBorderColor(Qt::white);
    }
    auto *planChart = new QChart;
    planChart->setTitle(tr("Health plans"));
    planChart->addSeries(plans);
    planChart->legend()->setAlignment(Qt::AlignRight);
    chartGrid_->addWidget(chartView(planChart, tr("Health plans")), 1, 1);
}

void MonthWindow::print()
{
    Printout printout;
    const QLocale locale;
    printout.documentName = printDocumentName(tr("The month in numbers"), period_->from());
    printout.header = tr("The month in numbers: %1 to %2")
                          .arg(listedDate(period_->from(), locale), listedDate(period_->to(), locale)) +
                      QStringLiteral(", ") + period_->doctorText();
    printout.rows = monthReportLines(report_, locale);
    QBuffer png(&printout.picture);
    png.open(QIODevice::WriteOnly);
    charts_->grab().save(&png, "PNG");
    printOrSavePdf(platform_, this, printout, pdfFolder_);
}

void MonthWindow::saveCsv()
{
    const QString path = platform_.messages.saveFileName(
        this,
        pdfFolder_.filePath(printDocumentName(tr("The month in numbers"), period_->from()) +
                            QStringLiteral(".csv")),
        tr("Spreadsheet files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!saveWholeFile(path, monthReportCsv(report_, QLocale()), &error))
        platform_.messages.inform(this, tr("The file could not be written: %1.").arg(error));
}

} // namespace velmora
