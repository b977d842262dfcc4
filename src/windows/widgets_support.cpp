#include "windows/widgets_support.h"

#include "core/text_rules.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
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

CharacterLimit::CharacterLimit(int characters, QLineEdit *field)
    : QValidator(field), characters_(characters), accepted_(field->text())
{
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text; });
}

QValidator::State CharacterLimit::validate(QString &input, int &position) const
{
    if (whole_)
        return Acceptable;
    const LimitedEdit edit = limitedEdit(accepted_, input, characters_);
    if (!edit.accepted)
        return Invalid;
    if (edit.text != input) {
        input = edit.text;
        position = edit.cursor;
    }
    return Acceptable;
}

void CharacterLimit::setWholeText(QLineEdit *field, const QString &text)
{
    auto *limit = dynamic_cast<CharacterLimit *>(const_cast<QValidator *>(field->validator()));
    if (limit)
        limit->whole_ = true;
    field->setText(text);
    if (limit)
        limit->whole_ = false;
}

namespace {

class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
                static_cast<QPushButton *>(watched)->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QSize FullRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int fullRow = option.fontMetrics.horizontalAdvance(QString(characters_, QLatin1Char('0')));
    size.setWidth(std::max(size.width(), fullRow + 2 * option.fontMetrics.averageCharWidth()));
    return size;
}

QWidget *addScrolledCanvas(QWidget *window, const QSize &layoutSize, QScrollArea **area)
{
    auto *scroller = new QScrollArea(window);
    scroller->setObjectName(QStringLiteral("canvasScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    // Scrolled by the focus moving through the controls, never a stop of its own on the way.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(false);
    auto *canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    setBackground(canvas, kWindowYellow);
    canvas->resize(layoutSize);
    scroller->setWidget(canvas);
    setBackground(scroller->viewport(), kWindowYellow);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    if (area)
        *area = scroller;
    return canvas;
}

void pressOnEnter(QPushButton *button)
{
    button->installEventFilter(new EnterPresses(button));
}

void useDesktopTextColor(QPushButton *button)
{
    const QPalette desktop = QApplication::palette(button);
    QPalette palette = button->palette();
    for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText})
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, role, desktop.color(group, role));
    button->setPalette(palette);
}

} // namespace velmora
