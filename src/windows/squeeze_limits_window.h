#pragma once

#include "core/storage/book_storage.h"
#include "windows/platform.h"

#include <QWidget>

#include <array>

class QSpinBox;

namespace velmora {

// How many squeeze-ins each doctor takes a day: "no limit", or a number (0: none), asked about past it.
class SqueezeLimitsWindow : public QWidget
{
    Q_OBJECT

public:
    SqueezeLimitsWindow(const Platform &platform, ReceptionStorage &storage, QWidget *parent = nullptr);
    // Shown with the limits as stored, for the named doctors.
    void open(const QStringList &doctorNames);

Q_SIGNALS:
    // Saved here: what the book asks before a squeeze-in has changed.
    void saved(const velmora::StoredElsewhere &change);

private:
    void save();

    Platform platform_;
    ReceptionStorage &storage_;
    std::array<QSpinBox *, kDoctorSlotCount> limits_{};
};

} // namespace velmora
