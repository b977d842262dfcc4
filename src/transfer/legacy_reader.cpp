#include "transfer/legacy_reader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// A reader still at work after this long is taken to hang on a damaged file: a few seconds, and two
// more a mebibyte of the file (the reader reads tens of mebibytes a second).
int readerTimeLimitMs(const QString &path)
{
    const qint64 mebibytes = QFileInfo(path).size() >> 20;
    return static_cast<int>(std::min<qint64>(5000 + 2000 * mebibytes, 600000));
}

// How often a reader at work is looked at, so that the window stays responsive and Cancel is heard.
constexpr int kReaderLookMs = 100;

QString unescaped(QStringView text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            plain += next == QLatin1Char('t')   ? QLatin1Char('\t')
                     : next == QLatin1Char('n') ? QLatin1Char('\n')
                     : next == QLatin1Char('r') ? QLatin1Char('\r')
                                                : next;
        } else {
            plain += text.at(i);
        }
    }
    return plain;
}

// A value as the reader gives it: no value, a Jet date (a double), a number or a text.
QVariant valueOf(QStringView field)
{
    if (field == QLatin1String("\\N"))
        return {};
    const QChar kind = field.isEmpty() ? QChar() : field.at(0);
    const QStringView rest = field.mid(1);
    if (kind == QLatin1Char('D'))
        return rest.toDouble();
    if (kind == QLatin1Char('I')) {
        bool whole = false;
        const qlonglong number = rest.toLongLong(&whole);
        return whole ? QVariant(number) : QVariant(unescaped(rest));
    }
    return unescaped(rest);
}

} // namespace

ReaderRun::ReaderRun(const QString &readerPath, const QVector<ReaderTable> &tables)
    : readerPath_(readerPath), tables_(tables)
{
}

ReaderRun::~ReaderRun()
{
    stop();
}

bool ReaderRun::readNext(TableRead &read, QString *reason, bool *cancelled)
{
    const int index = next_++;
    if (!reader_ && !start(index, reason))
        return false;
    const QString &path = tables_.at(index).path;
    const int limitMs = readerTimeLimitMs(path);
    const QDeadlineTimer deadline(limitMs);
    QVector<ReaderColumn> columns;
    bool rowsBegun = false;
    qint64 read_ = -1;
    qint64 counted = -1;
    bool ended = false;
    QString refusal; // the reader's own word that the file cannot be read
    read.cut = 0;
    const auto takeLine = [&](QByteArrayView line) {
        if (line.startsWith("R ")) {
            if (!rowsBegun && read.onColumns)
                read.onColumns(columns);
            rowsBegun = true;
            if (read.onRawRow)
                return read.onRawRow(line.sliced(2));
            QVariantList row;
            const QString text = QString::fromUtf8(line.sliced(2));
            for (const QStringView field : QStringView(text).split(QLatin1Char('\t')))
                row << valueOf(field);
            return !read.onRow || read.onRow(row);
        }
        const QString text = QString::fromUtf8(line);
        const auto field = [&text](int n) { return text.section(QLatin1Char(' '), n, n); };
        if (text.startsWith(QLatin1String("N "))) {
            return !read.onHeaderRows || read.onHeaderRows(field(1).toLongLong());
        } else if (text.startsWith(QLatin1String("C "))) {
            columns.append({field(1), field(2)});
        } else if (text.startsWith(QLatin1String("E "))) {
            read_ = field(1).toLongLong();
            counted = field(2).toLongLong();
            read.cut = field(3).toLongLong();
            ended = true;
        } else if (text.startsWith(QLatin1String("X "))) {
            refusal = QCoreApplication::translate("Import", "the file cannot be read (%1)").arg(text.mid(2));
            ended = true;
        }
        return true;
    };
    while (!ended) {
        qsizetype start = 0;
        for (qsizetype end = pending_.indexOf('\n'); !ended && end >= 0;
             end = pending_.indexOf('\n', start)) {
            const bool goOn = takeLine(QByteArrayView(pending_.constData() + start, end - start));
            start = end + 1;
            if (!goOn) {
                stop();
                *cancelled = true;
                return false;
            }
        }
        pending_.remove(0, start);
        if (ended)
            break;
        if (reader_->state() == QProcess::NotRunning && reader_->bytesAvailable() == 0) {
            // Gone before the table's end: the next table needs the reader started again.
            const bool crashed = reader_->exitStatus() == QProcess::CrashExit;
            const QString said =
                QString::fromUtf8(reader_->readAllStandardError()).trimmed().section(QLatin1Char('\n'), -1);
            const int code = reader_->exitCode();
            stop();
            *reason = crashed ? QCoreApplication::translate(
                                    "Import", "the reader stopped unexpectedly on the file, which is damaged")
                              : QCoreApplication::translate("Import", "the file cannot be read (%1)")
                                    .arg(said.isEmpty() ? QCoreApplication::translate(
                                                              "Import", "the reader ended with code %1")
                                                              .arg(code)
                                                        : said);
            return false;
        }
        if (deadline.hasExpired()) {
            stop();
            *reason = QCoreApplication::translate("Import", "the reader gave no answer within %1 seconds")
                          .arg(limitMs / 1000);
            return false;
        }
        if (!reader_->waitForReadyRead(kReaderLookMs) && read.waiting && !read.waiting()) {
            stop();
            *cancelled = true;
            return false;
        }
        pending_ += reader_->readAllStandardOutput();
    }
    if (!rowsBegun && read.onColumns)
        read.onColumns(columns);
    if (!refusal.isEmpty()) {
        *reason = refusal;
        return false;
    }
    if (read_ >= 0 && read_ < counted) {
        *reason =
            QCoreApplication::translate("Import", "only %1 of its %2 rows could be read; the file is damaged")
                .arg(read_)
                .arg(counted);
        return false;
    }
    return true;
}

bool ReaderRun::start(int from, QString *reason)
{
    QStringList arguments;
    for (int i = from; i < tables_.size(); ++i)
        arguments << tables_.at(i).path << tables_.at(i).table;
    reader_ = std::make_unique<QProcess>();
    reader_->start(readerPath_, arguments);
    if (reader_->waitForStarted())
        return true;
    *reason = QCoreApplication::translate("Import",
                                          "the reader of the older program's files could not be started (%1)")
                  .arg(reader_->errorString());
    reader_.reset();
    return false;
}

void ReaderRun::stop()
{
    if (!reader_)
        return;
    if (reader_->state() != QProcess::NotRunning) {
        reader_->kill();
        reader_->waitForFinished();
    }
    reader_.reset();
    pending_.clear();
}

// One table read by a reader of its own.
bool readTable(const QString &readerPath, const QString &path, const QString &table, TableRead &read,
               QString *reason, bool *cancelled)
{
    ReaderRun run(readerPath, {{path, table}});
    return run.readNext(read, reason, cancelled);
}

// The rows the table's header counts; 0 when the reader cannot tell within its limit.
qint64 headerRows(const QString &readerPath, const QString &path, const QString &table)
{
    QProcess reader;
    reader.start(readerPath, {QStringLiteral("--count"), path, table});
    const QDeadlineTimer deadline(readerTimeLimitMs(path));
    while (!reader.waitForFinished(kReaderLookMs) && reader.state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            reader.kill();
            reader.waitForFinished();
            return 0;
        }
    }
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        return 0;
    return QString::fromUtf8(reader.readAllStandardOutput())
        .section(QLatin1Char(' '), 1, 1)
        .trimmed()
        .toLongLong();
}

QDate jetDate(double value, bool *timeOfDay)
{
    const double days = std::trunc(value);
    *timeOfDay = std::lround(std::fabs(value - days) * 86400.0) != 0;
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
}

void unescapeInto(QByteArrayView escaped, std::string &plain)
{
    plain.clear();
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        char c = escaped.at(i);
        if (c == '\\' && i + 1 < escaped.size()) {
            c = escaped.at(++i);
            c = c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        plain += c;
    }
}

} // namespace velmora
