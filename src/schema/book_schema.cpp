#include "schema/book_schema.h"

#include "schema/slot_files.h"

#include <QCoreApplication>
#include <QSqlError>

namespace velmora {

namespace {

QStringList appointmentColumns()
{
    return {QStringLiteral("data"),     QStringLiteral("hora"),     QStringLiteral("nome"),
            QStringLiteral("convenio"), QStringLiteral("telefone"), QStringLiteral("obs")};
}

QStringList weeklyTimeColumns(int firstSlot, int lastSlot)
{
    QStringList columns;
    for (int slot = firstSlot; slot <= lastSlot; ++slot)
        for (int day = 0; day < kWeekdayCount; ++day)
            for (int index = 1; index <= kTimesPerDay; ++index)
                columns << weeklyTimeField(slot, day, index);
    return columns;
}

struct SettingsColumns
{
    QStringList text;    // names, slot lengths and weekly times: the empty text at first
    QStringList numbers; // links: 0 at first
};

SettingsColumns settingsColumns(FileKind kind)
{
    SettingsColumns columns;
    if (kind == FileKind::ExtraSettings) {
        columns.text = weeklyTimeColumns(7, 10);
        return columns;
    }
    for (const DoctorSlot &slot : kDoctorSlots) {
        columns.text << QString::fromLatin1(slot.nameField) << QString::fromLatin1(slot.intervalField);
        columns.numbers << QString::fromLatin1(slot.linkField);
    }
    columns.text << weeklyTimeColumns(1, 6);
    return columns;
}

} // namespace

// Built once: every start checks twelve files against them.
const QStringList &requiredColumns(FileKind kind)
{
    static const QStringList appointments = appointmentColumns();
    static const QStringList main =
        settingsColumns(FileKind::MainSettings).text + settingsColumns(FileKind::MainSettings).numbers;
    static const QStringList extra = settingsColumns(FileKind::ExtraSettings).text;
    switch (kind) {
    case FileKind::Appointments:
        return appointments;
    case FileKind::MainSettings:
        return main;
    case FileKind::ExtraSettings:
        return extra;
    }
    return appointments;
}

QString tableOf(FileKind kind)
{
    return kind == FileKind::Appointments ? QStringLiteral("dados") : QStringLiteral("profs");
}

FileKind kindOfFile(const QString &fileName)
{
    if (fileName == QLatin1String(kMainSettingsFile))
        return FileKind::MainSettings;
    if (fileName == QLatin1String(kExtraSettingsFile))
        return FileKind::ExtraSettings;
    return FileKind::Appointments;
}

QStringList allFileNames()
{
    QStringList names;
    for (const DoctorSlot &slot : kDoctorSlots)
        names << QString::fromLatin1(slot.appointmentFile);
    return names << QString::fromLatin1(kMainSettingsFile) << QString::fromLatin1(kExtraSettingsFile);
}

QString reasonOf(const QSqlError &error)
{
    QString reason = error.databaseText().trimmed();
    if (reason.isEmpty())
        reason = error.text().trimmed();
    if (reason.isEmpty())
        reason = QCoreApplication::translate("Storage", "unknown error");
    return reason;
}

bool writeStoredDate(QDate date, char *out)
{
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return false;
    // Written by hand: an import stores hundreds of thousands, and the calendar's formatter is slow.
    const int digits[] = {year / 1000, year / 100 % 10, year / 10 % 10, year % 10, -1, month / 10, month % 10,
                          -1,          day / 10,        day % 10};
    for (int i = 0; i < kStoredDateLength; ++i)
        out[i] = digits[i] < 0 ? '-' : static_cast<char>('0' + digits[i]);
    return true;
}

QString storedDate(QDate date)
{
    char text[kStoredDateLength];
    if (writeStoredDate(date, text))
        return QString::fromLatin1(text, kStoredDateLength);
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

FileFields fileFields(FileKind kind)
{
    if (kind == FileKind::Appointments)
        return {appointmentColumns(), {}};
    const SettingsColumns columns = settingsColumns(kind);
    return {columns.text, columns.numbers};
}

QString bookingColumnDefinitions()
{
    QStringList definitions;
    for (const QString &column : appointmentColumns())
        definitions << column + QStringLiteral(" TEXT");
    return definitions.join(QStringLiteral(", "));
}

QStringList fileCreateStatements(FileKind kind)
{
    if (kind == FileKind::Appointments)
        return {QStringLiteral("CREATE TABLE dados (%1)").arg(bookingColumnDefinitions()),
                QStringLiteral("CREATE INDEX data ON dados (data)")};
    const SettingsColumns columns = settingsColumns(kind);
    QStringList definitions;
    QStringList values;
    for (const QString &column : columns.text) {
        definitions << column + QStringLiteral(" TEXT");
        values << QStringLiteral("''");
    }
    for (const QString &column : columns.numbers) {
        definitions << column + QStringLiteral(" INTEGER");
        values << QStringLiteral("0");
    }
    return {QStringLiteral("CREATE TABLE profs (%1)").arg(definitions.join(QStringLiteral(", "))),
            QStringLiteral("INSERT INTO profs VALUES (%1)").arg(values.join(QStringLiteral(", ")))};
}

} // namespace velmora
