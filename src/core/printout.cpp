#include "core/printout.h"

#include <QRegularExpression>

namespace velmora {

QString printDocumentName(const QString &doctorName, QDate date)
{
    QString name = QStringLiteral("Velmora %1 %2").arg(doctorName.trimmed(), date.toString(Qt::ISODate));
    static const QRegularExpression unsafe(QStringLiteral("[^\\w\\-]+"));
    name.replace(unsafe, QStringLiteral("_"));
    return name;
}

} // namespace velmora
