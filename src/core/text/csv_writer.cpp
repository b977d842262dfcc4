#include "core/text/csv_writer.h"

namespace velmora {

QString csvField(const QString &text)
{
    QString field = text;
    // A spreadsheet runs a cell starting with any of these as a formula, "+1+1" and "-2+3" included;
    // the quote in front makes it text and leaves a phone readable.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!field.isEmpty() && formulaStarts.contains(field.front()))
        field.prepend(QLatin1Char('\''));
    if (field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"')) ||
        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
        field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return field;
}

QByteArray csvDocument(const QStringList &heading, const QVector<QStringList> &lines)
{
    const auto line = [](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    QString text = line(heading);
    for (const QStringList &fields : lines)
        text += line(fields);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

} // namespace velmora
