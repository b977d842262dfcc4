#include "platform/print_pages.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace velmora {

namespace {

constexpr qreal kRowPoints = 9;
constexpr qreal kSmallestPoints = 5;

// Lines go down the page and a line that would pass the bottom starts a new page.
class LineWriter
{
public:
    LineWriter(QPagedPaintDevice &device, QPainter &painter) : device_(device), painter_(painter) {}

    void setFont(const QString &family, qreal points, bool bold)
    {
        QFont font(family);
        font.setPointSizeF(points);
        font.setBold(bold);
        font.setStyleHint(family == QLatin1String("Courier New") ? QFont::TypeWriter : QFont::SansSerif);
        painter_.setFont(font);
    }

    // The picture scaled to the page's width, on a page of its own when it does not fit below.
    bool picture(const QImage &image)
    {
        const QRect page = painter_.viewport();
        QSizeF size = image.size();
        size.scale(page.width(), page.height(), Qt::KeepAspectRatio);
        if (y_ > 0 && y_ + size.height() > page.height()) {
            if (!device_.newPage())
                return false;
            y_ = 0;
        }
        painter_.drawImage(QRectF(QPointF(0, y_), size), image);
        y_ += size.height();
        return true;
    }

    // A line longer than the page goes on in the lines below, broken between words.
    bool wrapped(const QString &text)
    {
        const QFontMetricsF metrics(painter_.font(), &device_);
        const qreal width = painter_.viewport().width();
        QString rest = text;
        while (metrics.horizontalAdvance(rest) > width) {
            qsizetype cut = rest.size();
            while (cut > 1 && metrics.horizontalAdvance(rest.left(cut)) > width)
                cut = rest.lastIndexOf(QLatin1Char(' '), cut - 1) > 0
                          ? rest.lastIndexOf(QLatin1Char(' '), cut - 1)
                          : cut - 1;
            if (!line(rest.left(cut)))
                return false;
            rest = QString(5, QLatin1Char(' ')) + rest.mid(cut).trimmed();
        }
        return line(rest);
    }

    // Lines written again at the top of each new page from now on.
    void repeatOnNewPages(const QStringList &lines) { repeated_ = lines; }

    bool line(const QString &text)
    {
        const QFontMetricsF metrics(painter_.font(), &device_);
        const qreal bottom = painter_.viewport().height();
        if (y_ > 0 && y_ + metrics.height() > bottom) {
            if (!device_.newPage())
                return false;
            y_ = 0;
            for (const QString &heading : std::as_const(repeated_)) {
                painter_.drawText(QPointF(0, y_ + metrics.ascent()), heading);
                y_ += metrics.lineSpacing();
            }
        }
        if (!text.isEmpty())
            painter_.drawText(QPointF(0, y_ + metrics.ascent()), text);
        y_ += metrics.lineSpacing();
        return true;
    }

private:
    QPagedPaintDevice &device_;
    QPainter &painter_;
    qreal y_ = 0;
    QStringList repeated_;
};

} // namespace

bool paintPrintout(QPagedPaintDevice &device, const Printout &printout, QString *error)
{
    // The page turned, and then the rows' font made smaller, until the widest row fits its width.
    QFont rowsFont(QStringLiteral("Courier New"));
    rowsFont.setStyleHint(QFont::TypeWriter);
    rowsFont.setBold(true);
    rowsFont.setPointSizeF(kRowPoints);
    const auto widest = [&](const QFont &font) {
        const QFontMetricsF metrics(font, &device);
        qreal width = 0;
        for (const QString &row : printout.rows)
            width = std::max(width, metrics.horizontalAdvance(QString(3, QLatin1Char(' ')) + row));
        return width * 72.0 / device.logicalDpiX(); // in points, as the page is measured
    };
    const auto pageWidth = [&] { return device.pageLayout().paintRect(QPageLayout::Point).width(); };
    const qreal needed = widest(rowsFont);
    if (printout.landscape || needed > pageWidth())
        device.setPageOrientation(QPageLayout::Landscape);
    const qreal rowPoints =
        needed > pageWidth() ? std::max(kSmallestPoints, kRowPoints * pageWidth() / needed) : kRowPoints;
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QCoreApplication::translate("Platform", "the printer could not start the document");
        return false;
    }
    LineWriter writer(device, painter);
    bool ok = true;
    // The font is set afresh for every document, so a second printout looks like the first.
    writer.setFont(QStringLiteral("Arial"), 10, false);
    ok = ok && writer.line({}) && writer.line({});
    writer.setFont(QStringLiteral("Arial"), 16, false);
    ok = ok && writer.wrapped(QString(5, QLatin1Char(' ')) + printout.header);
    ok = ok && writer.line({}) && writer.line({});
    writer.setFont(QStringLiteral("Courier New"), rowPoints, true);
    QStringList heading;
    for (const QString &row : printout.pageHeading)
        heading << QString(3, QLatin1Char(' ')) + row;
    writer.repeatOnNewPages(heading);
    for (const QString &row : printout.rows) {
        if (!ok)
            break;
        ok = writer.line(QString(3, QLatin1Char(' ')) + row);
    }
    if (ok && !printout.picture.isEmpty()) {
        QImage image;
        ok = writer.line({}) && (!image.loadFromData(printout.picture, "PNG") || writer.picture(image));
    }
    if (!painter.end() || !ok) {
        *error = QCoreApplication::translate("Platform", "the printer stopped in the middle of the document");
        return false;
    }
    return true;
}

} // namespace velmora
