// Reads beside the window: a newer one replaces the one under way, which learns it is no longer wanted
// and whose result never arrives; a stopped one never arrives either.
#include "core/storage/background_reads.h"
#include "support/memory_storage.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

class BackgroundReadsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aNewerReadReplacesTheOneUnderWay()
    {
        testing::MemoryBooks books;
        BackgroundReads reads([&books] { return std::make_unique<testing::MemoryStorage>(books); });
        ReadRequests requests(reads);
        QSignalSpy progressed(&requests, &ReadRequests::progressed);
        QStringList arrived;
        const auto arrive = [&arrived](const QString &result) { arrived << result; };
        QSemaphore started;
        QSemaphore release;
        std::atomic<bool> firstStillWanted{true};
        requests.start<QString>(
            [&](BookStorage &, const ReadProgress &progress) {
                started.release();
                release.acquire();
                firstStillWanted = progress(50);
                return QStringLiteral("first");
            },
            arrive);
        started.acquire();
        requests.start<QString>(
            [](BookStorage &, const ReadProgress &progress) {
                progress(100);
                return QStringLiteral("second");
            },
            arrive);
        release.release();
        QTRY_COMPARE(arrived, QStringList{QStringLiteral("second")});
        QVERIFY(!firstStillWanted);
        QCOMPARE(progressed.size(), 1);
        QCOMPARE(progressed.at(0).at(0).toInt(), 100);
        QVERIFY(!requests.reading());

        const auto named = [](const QString &name) {
            return [name](BookStorage &, const ReadProgress &) { return name; };
        };
        requests.start<QString>(named(QStringLiteral("stopped")), arrive);
        requests.cancel();
        QVERIFY(!requests.reading());
        requests.start<QString>(named(QStringLiteral("after")), arrive);
        QTRY_COMPARE(arrived, (QStringList{QStringLiteral("second"), QStringLiteral("after")}));
    }
};

QTEST_GUILESS_MAIN(BackgroundReadsTest)
#include "tst_background_reads.moc"
