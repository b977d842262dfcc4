#include "core/text/printout.h"

#include "core/text/text_rules.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace velmora {

QStringList tableLines(const QStringList &headings, const QVector<QStringList> &rows)
{
    QVector<int> widths;
    for (const QString &heading : headings)
        widths << characterCount(heading);
    for (const QStringList &row : rows)
        for (int column = 0; column < row.size(); ++column) {
            if (column == widths.size())
                widths << 0;
            widths[column] = std::max(widths[column], characterCount(row.at(column)));
        }
    const auto line = [&widths](const QStringList &texts) {
        QString made;
        for (int column = 0; column < texts.size(); ++column)
            made += column + 1 < texts.size()
                        ? fitted(texts.at(column), widths.at(column)) + QStringLiteral("  ")
                        : texts.at(column);
        return made;
    };
    const int total =
        std::accumulate(widths.cbegin(), widths.cend(), 0) + 2 * std::max(0, int(widths.size()) - 1);
    QStringList lines{line(headings), QString(total, QLatin1Char('-'))};
    for (const QStringList &row : rows)
        lines << line(row);
    return lines;
}

QString printDocumentName(const QString &doctorName, QDate date)
{
    QString name = QStringLiteral("Velmora %1 %2").arg(doctorName.trimmed(), date.toString(Qt::ISODate));
    static const QRegularExpression unsafe(QStringLiteral("[^\\w\\-]+"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    name.replace(unsafe, QStringLiteral("_"));
    return name;
}

QString printJobName(const QString &documentName)
{
    QString name;
    for (const QChar c : documentName.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        name += c.unicode() < 128 ? c : QLatin1Char('_');
    }
    return name;
}

} // namespace velmora
