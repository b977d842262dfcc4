#pragma once

#include "files/database.h"
#include "schema/slot_files.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

namespace velmora::testing {

// A temporary folder holding the twelve files, read and written behind the program's back with
// connections of its own.
class TestFiles
{
public:
    TestFiles()
    {
        if (!dir_.isValid())
            qFatal("no temporary folder");
    }
    // The files of a folder a test made itself.
    explicit TestFiles(const QString &folder) : folder_(folder) {}

    QDir folder() const { return QDir(folder_.isEmpty() ? dir_.path() : folder_); }
    QString path(const QString &fileName) const { return folder().filePath(fileName); }

    QStringList prepare() { return prepareFiles(folder()); }

    // The twelve files as a first start makes them, copied from a folder made once per test program:
    // quicker than making them again for every case.
    void prepareCopies()
    {
        static QTemporaryDir made;
        static const bool ready = prepareFiles(QDir(made.path())).isEmpty();
        if (!ready)
            qFatal("the files could not be made");
        for (const QString &name : allFileNames())
            if (!QFile::copy(QDir(made.path()).filePath(name), path(name)))
                qFatal("cannot copy %s", qPrintable(name));
    }

    // Runs one statement on a file; values are bound in order.
    QList<QSqlRecord> exec(const QString &fileName, const QString &statement,
                           const QVariantList &values = {}) const
    {
        static std::atomic<int> counter{0};
        const QString name = QStringLiteral("test-files-%1").arg(++counter);
        QList<QSqlRecord> rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path(fileName));
            if (!db.open())
                qFatal("cannot open %s", qPrintable(fileName));
            QSqlQuery query(db);
            // What the tests set up need not survive a power cut: no waiting for the disk.
            query.exec(QStringLiteral("PRAGMA synchronous = OFF"));
            query.prepare(statement);
            for (const QVariant &value : values)
                query.addBindValue(value);
            if (!query.exec())
                qFatal("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
            while (query.next())
                rows << query.record();
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }

    void setSetting(const QString &fileName, const QString &field, const QVariant &value) const
    {
        exec(fileName, QStringLiteral("UPDATE profs SET %1 = ?").arg(field), {value});
    }

    QVariant setting(const QString &fileName, const QString &field) const
    {
        return exec(fileName, QStringLiteral("SELECT %1 FROM profs").arg(field)).value(0).value(0);
    }

    // A doctor with a name, slot length and a link, and the same periods on every weekday.
    void setDoctor(int slot, const QString &name, const QString &interval, const QStringList &dailyTimes = {},
                   int link = 0) const
    {
        const DoctorSlot &doctor = doctorSlot(slot);
        const QString settings = QString::fromLatin1(kMainSettingsFile);
        setSetting(settings, QString::fromLatin1(doctor.nameField), name);
        setSetting(settings, QString::fromLatin1(doctor.intervalField), interval);
        setSetting(settings, QString::fromLatin1(doctor.linkField), link);
        const QString timesFile = QString::fromLatin1(
            doctor.timesFile == SettingsFile::Main ? kMainSettingsFile : kExtraSettingsFile);
        for (int day = 0; day < kWeekdayCount; ++day)
            for (int index = 1; index <= kTimesPerDay; ++index)
                setSetting(timesFile, weeklyTimeField(slot, day, index), dailyTimes.value(index - 1));
    }

    void addAppointment(int slot, QDate date, const QString &hora, const QString &nome,
                        const QString &convenio = {}, const QString &telefone = {},
                        const QString &obs = {}) const
    {
        exec(QString::fromLatin1(doctorSlot(slot).appointmentFile),
             QStringLiteral(
                 "INSERT INTO dados (data, hora, nome, convenio, telefone, obs) VALUES (?, ?, ?, ?, ?, ?)"),
             {storedDate(date), text(hora), text(nome), text(convenio), text(telefone), text(obs)});
    }

    // Empty texts are stored as texts, as the program stores them.
    static QVariant text(const QString &value) { return value.isNull() ? QStringLiteral("") : value; }

    // The file's appointments in the order they were added, as "date|hora|nome|convenio|telefone|obs".
    QStringList appointments(int slot) const
    {
        QStringList rows;
        for (const QSqlRecord &record :
             exec(QString::fromLatin1(doctorSlot(slot).appointmentFile),
                  QStringLiteral(
                      "SELECT data, hora, nome, convenio, telefone, obs FROM dados ORDER BY rowid"))) {
            QStringList fields;
            for (int i = 0; i < record.count(); ++i)
                fields << (record.isNull(i) ? QStringLiteral("<null>") : record.value(i).toString());
            rows << fields.join(QLatin1Char('|'));
        }
        return rows;
    }

    QByteArray fingerprint(const QString &fileName) const
    {
        QFile file(path(fileName));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    void write(const QString &fileName, const QByteArray &bytes) const
    {
        QFile file(path(fileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(fileName));
        file.write(bytes);
    }

private:
    QTemporaryDir dir_;
    QString folder_;
};

// The position of the first day-list row that starts so, or -1.
inline int firstRowStartingWith(const QStringList &rows, const QString &start)
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).startsWith(start))
            return i;
    return -1;
}

// Another program holding a file locked for writing, for as long as this lives; an exclusive lock
// keeps readers out too.
class WriteLock
{
public:
    enum Kind
    {
        Writers,
        Everyone
    };

    explicit WriteLock(const QString &path, Kind kind = Writers)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        const QString begin =
            kind == Writers ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN EXCLUSIVE");
        if (!db.open() || !QSqlQuery(db).exec(begin))
            qFatal("cannot lock %s", qPrintable(path));
    }
    ~WriteLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(kName);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(kName);
    }
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

private:
    static constexpr QLatin1String kName{"velmora-test-lock"};
};

} // namespace velmora::testing
