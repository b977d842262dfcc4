#pragma once

#include "server/server_connection.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>

#include <atomic>

namespace velmora::testing {

// The PostgreSQL server the test command started, as VELMORA_TEST_SERVER names it (a URI to its
// "postgres" database), or none.
inline QString testServer()
{
    return qEnvironmentVariable("VELMORA_TEST_SERVER");
}

// A database of its own on the test server, created empty and dropped at the end.
class TestDatabase
{
public:
    TestDatabase()
    {
        static std::atomic<int> counter{0};
        name_ = QStringLiteral("velmora_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name_));
    }
    ~TestDatabase()
    {
        exec(QStringLiteral("postgres"), QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name_));
    }
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    QString url() const { return urlOf(name_); }

    // Runs one statement in the test's database behind the program's back; the rows' first columns.
    QStringList exec(const QString &statement) const { return exec(name_, statement); }

private:
    static QString urlOf(const QString &database)
    {
        QUrl url(testServer());
        url.setPath(QLatin1Char('/') + database);
        return url.toString();
    }

    static QStringList exec(const QString &database, const QString &statement)
    {
        static std::atomic<int> counter{0};
        const QString connection = QStringLiteral("test-server-%1").arg(++counter);
        QStringList rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            QString error;
            if (!pointAtServer(db, urlOf(database), {}, &error))
                qFatal("test server: %s", qPrintable(error));
            if (!db.open())
                qFatal("test server: %s", qPrintable(db.lastError().text()));
            QSqlQuery query(db);
            if (!query.exec(statement))
                qFatal("test server: %s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
            while (query.next())
                rows << query.value(0).toString();
        }
        QSqlDatabase::removeDatabase(connection);
        return rows;
    }

    QString name_;
};

} // namespace velmora::testing
