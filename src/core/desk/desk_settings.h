#pragma once

#include <QString>

namespace velmora {

// The desk's own settings for the confirmations, kept in the data folder's velmora.ini.
struct ConfirmationSettings
{
    QString messageTemplate;
    QString rescheduleTemplate; // for a booking the calendar closes
    QString offerTemplate;      // a freed time offered to someone on the waiting list
    QString areaCode;
    QString clinic;
};
ConfirmationSettings readConfirmationSettings(const QString &iniPath);
bool saveConfirmationSettings(const QString &iniPath, const ConfirmationSettings &settings);

} // namespace velmora
