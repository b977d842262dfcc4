#include "book/widgets_support.h"

#include "book/text_rules.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace velmora {

const QColor kWindowYellow(255, 255, 192);

namespace {

int pixels(int twips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal scale = screen ? screen->logicalDotsPerInch() / 96.0 : 1.0;
    return static_cast<int>(std::lround(twips / 15.0 * scale));
}

} // namespace

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

QFont boldFont(const QString &family, qreal points, bool italic)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

QPixmap velmoraLogo(const QSize &size)
{
    QPixmap logo(size);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(1, 1, size.width() - 2, size.height() - 2);
    QLinearGradient band(area.topLeft(), area.topRight());
    band.setColorAt(0, QColor(0, 96, 128));
    band.setColorAt(1, QColor(0, 160, 160));
    QPainterPath outline;
    outline.addRoundedRect(area, area.height() / 4, area.height() / 4);
    painter.fillPath(outline, band);

    // A small page of a book with a cross, for a clinic's appointment book.
    const qreal unit = area.height() * 0.6;
    const QRectF page(area.left() + area.height() * 0.3, area.top() + area.height() * 0.2, unit * 0.8, unit);
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(page, unit * 0.1, unit * 0.1);
    painter.setBrush(QColor(200, 30, 40));
    const QPointF centre = page.center();
    painter.drawRect(QRectF(centre.x() - unit * 0.08, centre.y() - unit * 0.28, unit * 0.16, unit * 0.56));
    painter.drawRect(QRectF(centre.x() - unit * 0.28, centre.y() - unit * 0.08, unit * 0.56, unit * 0.16));

    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(static_cast<int>(area.height() * 0.5));
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 192));
    const QRectF text(page.right() + area.height() * 0.3, area.top(), area.right() - page.right(),
                      area.height());
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Velmora  appointment book"));
    painter.end();
    return logo;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QValidator::State CharacterLimit::validate(QString &input, int &position) const
{
    // A single-line field: line breaks and tabs pasted in become blanks.
    for (QChar &c : input)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    if (characterCount(input) > characters_) {
        input = characterSlice(input, 0, characters_);
        position = std::min(position, static_cast<int>(input.size()));
    }
    return Acceptable;
}

} // namespace velmora
