#pragma once

#include <QtGlobal>

namespace velmora {

// What the day's session says on more than one of the receptionist's actions, to be translated where said.
inline const char *const kChooseProfessionalFirst =
    QT_TRANSLATE_NOOP("AppointmentBook", "Please choose professional first");
inline const char *const kNoAppointmentSelected =
    QT_TRANSLATE_NOOP("AppointmentBook", "No appointment is selected: choose one in the list first.");

inline const char *const kNothingChanged = QT_TRANSLATE_NOOP(
    "AppointmentBook", "No stored appointment of this day has the time and name of the one selected: it "
                       "may have been changed or removed at another desk. Nothing was changed.");
inline const char *const kNothingRemoved = QT_TRANSLATE_NOOP(
    "AppointmentBook", "No stored appointment of this day has the time and name in the fields: it may "
                       "have been changed or removed at another desk. Nothing was removed.");

inline const char *const kStatusNotSet = QT_TRANSLATE_NOOP(
    "AppointmentBook", "The selected appointment is no longer stored as listed: it may have been changed or "
                       "removed at another desk. Its status was not set.");

} // namespace velmora
