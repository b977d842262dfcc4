#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QValidator>

class QWidget;

namespace velmora {

extern const QColor kWindowYellow; // RGB(255,255,192), the windows' and labels' background

// A rectangle given in twips, in pixels of the screen: 15 twips a pixel at 96 dpi.
QRect twipsRect(int left, int top, int width, int height);

QFont boldFont(const QString &family, qreal points, bool italic = false);

void setTextColor(QWidget *widget, const QColor &color);
void setBackground(QWidget *widget, const QColor &color);

// Keeps a single-line field to a number of characters (code points, so an emoji counts once): what
// goes past the limit is cut off, never half a character, and pasted line breaks become blanks.
class CharacterLimit : public QValidator
{
public:
    CharacterLimit(int characters, QObject *parent) : QValidator(parent), characters_(characters) {}
    State validate(QString &input, int &position) const override;

private:
    int characters_;
};

} // namespace velmora
