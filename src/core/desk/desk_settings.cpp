#include "core/desk/desk_settings.h"

#include "core/reception/confirmation_message.h"
#include "core/reception/waiting_list.h"
#include "core/safekeeping/activity_log.h"
#include "core/safekeeping/desk_files.h"

#include <QFile>
#include <QSettings>

namespace velmora {

ConfirmationSettings readConfirmationSettings(const QString &iniPath)
{
    // Only a file of that name is read: a pipe there would hold the program for ever.
    const QSettings ini(deskFileAt(iniPath) == DeskFile::File ? iniPath : QString(), QSettings::IniFormat);
    ConfirmationSettings settings;
    settings.messageTemplate =
        ini.value(QStringLiteral("confirmation/message"), defaultMessageTemplate()).toString();
    settings.rescheduleTemplate =
        ini.value(QStringLiteral("confirmation/reschedule_message"), defaultRescheduleTemplate()).toString();
    settings.offerTemplate =
        ini.value(QStringLiteral("confirmation/offer_message"), defaultOfferTemplate()).toString();
    settings.areaCode = ini.value(QStringLiteral("confirmation/area_code")).toString();
    settings.clinic = ini.value(QStringLiteral("confirmation/clinic")).toString();
    return settings;
}

bool saveConfirmationSettings(const QString &iniPath, const ConfirmationSettings &settings)
{
    // Written only as a file of the folder's own: a link there is replaced by the file (what it led
    // to is left as it is); a pipe or folder is refused.
    switch (deskFileAt(iniPath)) {
    case DeskFile::Link:
        qCWarning(logStart, "%s was a link; it is replaced by a file of the desk's own",
                  qUtf8Printable(iniPath));
        if (!QFile::remove(iniPath))
            return false;
        break;
    case DeskFile::Other:
        return false;
    case DeskFile::Missing:
    case DeskFile::File:
        break;
    }
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setValue(QStringLiteral("confirmation/message"), settings.messageTemplate);
    ini.setValue(QStringLiteral("confirmation/reschedule_message"), settings.rescheduleTemplate);
    ini.setValue(QStringLiteral("confirmation/offer_message"), settings.offerTemplate);
    ini.setValue(QStringLiteral("confirmation/area_code"), settings.areaCode.trimmed());
    ini.setValue(QStringLiteral("confirmation/clinic"), settings.clinic.trimmed());
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace velmora
