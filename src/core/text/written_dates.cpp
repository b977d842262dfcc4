#include "core/text/written_dates.h"

namespace velmora {

QString writtenDateFormat(const QLocale &locale)
{
    return locale.language() == QLocale::Portuguese ? QStringLiteral("dd/MM/yyyy")
                                                    : QStringLiteral("yyyy-MM-dd");
}

QString writtenDate(QDate date, const QLocale &locale)
{
    return date.toString(writtenDateFormat(locale));
}

QString listedDate(QDate date, const QLocale &locale)
{
    return locale.toString(date, QStringLiteral("ddd ")) + writtenDate(date, locale);
}

QString longDate(QDate date)
{
    return QLocale().toString(date, QLocale::LongFormat);
}

} // namespace velmora
