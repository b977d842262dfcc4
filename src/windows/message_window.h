#pragma once

#include "windows/platform.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace velmora {

// The desk's settings for the WhatsApp messages: the text with its placeholders, the clinic's area
// code and name, with the message shown as a sample patient would receive it, and any placeholder the
// program does not know named.
class MessageWindow : public QWidget
{
    Q_OBJECT

public:
    MessageWindow(const Platform &platform, const QString &iniPath, QWidget *parent = nullptr);
    void open();

private:
    void showSample();
    void save();

    Platform platform_;
    QString iniPath_;
    QPlainTextEdit *text_ = nullptr;
    QPlainTextEdit *reschedule_ = nullptr;
    QPlainTextEdit *offer_ = nullptr;
    QLineEdit *areaCode_ = nullptr;
    QLineEdit *clinic_ = nullptr;
    QLabel *sample_ = nullptr;
    QLabel *unknown_ = nullptr;
    QLabel *limit_ = nullptr;
};

} // namespace velmora
