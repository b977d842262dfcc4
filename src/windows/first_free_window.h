#pragma once

#include "core/schedule/first_free.h"

#include <QWidget>

class QListWidget;

namespace velmora {

// "What is the earliest you have?": the chosen doctor's first free slot of each of the next days that
// have one. Enter or a double click on one brings that day up with the free row selected.
class FirstFreeWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FirstFreeWindow(QWidget *parent = nullptr);

    void open(const QString &doctor, const QVector<FirstFree> &slots);

Q_SIGNALS:
    void chosen(const velmora::FirstFree &free);

private:
    QListWidget *slots_ = nullptr;
    QVector<FirstFree> shown_;
};

} // namespace velmora
