#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QProcess>
#include <QString>
#include <QVariantList>
#include <QVector>

#include <charconv>
#include <functional>
#include <memory>
#include <string>

namespace velmora {

// The older program's files as the reader program gives them: its output read, table by table.

struct ReaderColumn
{
    QString name; // as the old file has it
    QString kind; // date, text, number
};

// What is done with one table the reader reads: its columns handed on, then each row.
struct TableRead
{
    std::function<void(const QVector<ReaderColumn> &)> onColumns;
    std::function<bool(const QVariantList &)> onRow; // false: stop, cancelled
    // Instead of onRow: the row's fields as the reader wrote them, tab-separated, taken apart by the
    // caller (a book of hundreds of thousands of rows is not turned into variants).
    std::function<bool(QByteArrayView)> onRawRow;
    std::function<bool()> waiting;            // while the reader is silent; false: cancelled
    std::function<bool(qint64)> onHeaderRows; // the rows the table's header counts; false: cancelled
    qint64 cut = 0;                           // texts the reader cut at its limit
};

// One table of one file, as the reader is asked for it.
struct ReaderTable
{
    QString path;
    QString table;
};

// The reader run once over the tables of several files, one after another, each told apart in its
// output; a file that crashes or hangs the reader library costs that file only, as the reader is
// started again on the files after it.
class ReaderRun
{
public:
    ReaderRun(const QString &readerPath, const QVector<ReaderTable> &tables);
    ~ReaderRun();
    ReaderRun(const ReaderRun &) = delete;
    ReaderRun &operator=(const ReaderRun &) = delete;

    // The next table read into read; false with the reason when it could not be read whole, or with
    // cancelled set when read said to stop.
    bool readNext(TableRead &read, QString *reason, bool *cancelled);

private:
    bool start(int from, QString *reason);
    void stop();

    QString readerPath_;
    QVector<ReaderTable> tables_;
    std::unique_ptr<QProcess> reader_;
    QByteArray pending_; // what the reader wrote, taken in large pieces and split into lines here
    int next_ = 0;
};

// One table read by a reader of its own.
bool readTable(const QString &readerPath, const QString &path, const QString &table, TableRead &read,
               QString *reason, bool *cancelled);

// The rows the table's header counts; 0 when the reader cannot tell within its limit.
qint64 headerRows(const QString &readerPath, const QString &path, const QString &table);

// The calendar date of a Jet date: whole days since 1899-12-30, counted back for negative values;
// the fraction is the time of day, also for negative values.
QDate jetDate(double value, bool *timeOfDay);

// A value of the reader's, as bytes, with \\, \t, \n and \r written back as the characters.
void unescapeInto(QByteArrayView escaped, std::string &plain);

// A number as the reader writes it, whole or not; false when the bytes are none.
template <typename Number> bool numberOf(QByteArrayView text, Number *number)
{
    const char *end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, *number);
    return problem == std::errc() && stop == end;
}

} // namespace velmora
