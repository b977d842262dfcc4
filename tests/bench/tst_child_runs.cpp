// The benchmarks' measure of a whole program: a child's peak memory is its own, not the memory of the
// process that asked for it, however large that has grown.
#include "bench/child_runs.h"

#include <QCoreApplication>
#include <QTest>

#include <cstring>
#include <vector>

using velmora::bench::ChildRuns;

class ChildRunsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aChildsPeakIsItsOwn()
    {
        ChildRuns runs;
        // This process grows well past the child's size before asking.
        std::vector<char> grown(256 << 20);
        std::memset(grown.data(), 1, grown.size());
        const std::string probe = QCoreApplication::applicationDirPath().toStdString() + "/tst_memory_probe";
        const ChildRuns::Run small = runs.run(probe, {"8"}, ".");
        const ChildRuns::Run large = runs.run(probe, {"64"}, ".");
        QVERIFY(small.ok && large.ok);
        QVERIFY2(small.peakKilobytes >= 8 * 1024 && small.peakKilobytes < 16 * 1024,
                 QByteArray::number(static_cast<qlonglong>(small.peakKilobytes)));
        QVERIFY2(large.peakKilobytes >= 64 * 1024 && large.peakKilobytes < 72 * 1024,
                 QByteArray::number(static_cast<qlonglong>(large.peakKilobytes)));
        QVERIFY(!runs.run(probe + "-missing", {}, ".").ok);
        QCOMPARE(grown.back(), char(1));
    }
};

QTEST_GUILESS_MAIN(ChildRunsTest)
#include "tst_child_runs.moc"
