// velmora-jet-reader FILE TABLE [FILE TABLE ...]
// velmora-jet-reader --count FILE TABLE   prints "N <rows the table's header gives>" only
//
// Reads one table of each file of the older program (a Jet database) and writes them to standard
// output, one line a row, for the import to store, all files in one run. It runs in a process of its
// own because a damaged file can crash or hang the reader library; the import gives each file a time
// limit and starts the reader again on the files after one that ended it. For each file:
//
//   F <index>            the file's place in the arguments, from 0
//   N <rows>             the number of rows the table's header gives
//   C <name> <type>      one line per column, in the table's order (type: date, text, number)
//   R <field>\t<field>   one line per row; a field is \N for no value, a date as D<days since
//                        1899-12-30, the fraction the time of day>, a number as I<value>, a text as
//                        S<text> with \\, \t, \n and \r escaped
//   E <read> <header> <cut>   the rows read, the number the table's header gives (fewer read: the
//                        file is damaged, as a damaged file ends early without an error), and the
//                        texts cut at the reader's limit
//   X <reason>           instead of N to E: the file or its table cannot be read
//
// Exit 0 once every file is written out; 2 for arguments it does not understand.

#include <glib.h> // before the library's header, which needs it in C++

#include <mdbtools.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Larger than any memo of the older program: the library cuts values at its bind size.
constexpr size_t kBindSize = 1 << 20;
// Enough for any column but a memo: 255 characters of UTF-8, a date or a number as text.
constexpr size_t kShortBindSize = 4096;

// Standard output gathered and written in large pieces: a book has hundreds of thousands of rows.
class Output
{
public:
    ~Output() { flush(); }
    void put(char c)
    {
        text_ += c;
        flushWhenFull();
    }
    void put(const char *text, size_t length)
    {
        text_.append(text, length);
        flushWhenFull();
    }
    void put(const char *text) { put(text, std::strlen(text)); }
    void putNumber(unsigned long number)
    {
        char digits[24];
        const auto [end, problem] = std::to_chars(digits, digits + sizeof digits, number);
        put(digits, static_cast<size_t>(end - digits));
    }
    // The shortest text that reads back as the same double.
    void putNumber(double number)
    {
        char digits[32];
        const auto [end, problem] = std::to_chars(digits, digits + sizeof digits, number);
        put(digits, static_cast<size_t>(end - digits));
    }
    // The text as it is, but for the four characters that are escaped.
    void putEscaped(const char *text, size_t length)
    {
        size_t run = 0;
        for (size_t i = 0; i < length; ++i) {
            const char c = text[i];
            const char *escape = c == '\\'   ? "\\\\"
                                 : c == '\t' ? "\\t"
                                 : c == '\n' ? "\\n"
                                 : c == '\r' ? "\\r"
                                             : nullptr;
            if (!escape)
                continue;
            text_.append(text + run, i - run).append(escape, 2);
            run = i + 1;
        }
        put(text + run, length - run);
    }
    void flush()
    {
        for (size_t written = 0; written < text_.size();) {
            const ssize_t now = ::write(STDOUT_FILENO, text_.data() + written, text_.size() - written);
            if (now <= 0)
                break; // the import is gone
            written += static_cast<size_t>(now);
        }
        text_.clear();
    }

private:
    void flushWhenFull()
    {
        if (text_.size() >= kPiece)
            flush();
    }
    static constexpr size_t kPiece = 1 << 16;
    std::string text_;
};

const char *kindOf(int type)
{
    switch (type) {
    case MDB_DATETIME:
        return "date";
    case MDB_TEXT:
    case MDB_MEMO:
        return "text";
    default:
        return "number";
    }
}

} // namespace

// The table of one file written out, or the reason it cannot be read.
void writeTable(Output &out, const char *path, const char *name)
{
    MdbHandle *mdb = mdb_open(path, MDB_NOFLAGS);
    const char *refusal = nullptr;
    MdbTableDef *table = nullptr;
    if (!mdb) {
        refusal = "the file cannot be opened as a database of the older program";
    } else {
        mdb_set_bind_size(mdb, kBindSize);
        if (!mdb_read_catalog(mdb, MDB_TABLE))
            refusal = "the file's list of tables cannot be read";
        else if (!(table = mdb_read_table_by_name(mdb, const_cast<char *>(name), MDB_TABLE)) ||
                 !mdb_read_columns(table))
            refusal = "the table cannot be read";
    }
    if (refusal) {
        out.put("X ");
        out.put(refusal);
        out.put('\n');
        if (mdb)
            mdb_close(mdb);
        return;
    }
    mdb_rewind_table(table);
    out.put("N ");
    out.putNumber(static_cast<unsigned long>(table->num_rows));
    out.put('\n');

    const unsigned int columns = table->num_cols;
    // A memo's value can be as long as the bind size; any other column's is at most a few hundred
    // bytes as text (a settings table has two hundred columns: a mebibyte each would be felt). Dates
    // are taken raw from the row and never bound: the library would format each one.
    std::vector<std::unique_ptr<char[]>> values(columns);
    std::vector<int> lengths(columns, 0);
    for (unsigned int i = 0; i < columns; ++i) {
        const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        out.put("C ");
        out.put(column->name);
        out.put(' ');
        out.put(kindOf(column->col_type));
        out.put('\n');
        if (column->col_type == MDB_DATETIME)
            continue;
        values[i].reset(new char[column->col_type == MDB_MEMO ? kBindSize : kShortBindSize]);
        values[i][0] = '\0';
        mdb_bind_column(table, static_cast<int>(i) + 1, values[i].get(), &lengths[i]);
    }

    std::vector<MdbField> fields(columns + 1);
    unsigned long read = 0;
    unsigned long cut = 0;
    while (mdb_fetch_row(table)) {
        // The bound values do not tell no value from the empty text, and dates come formatted for
        // a narrow range: the row is taken apart again for its null flags and raw dates.
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0)
            break;
        // The offset carries flags in its top bits, for example on a row an edit moved here.
        const int cracked = mdb_crack_row(table, start & 0x1fff, size, fields.data());
        out.put('R');
        for (unsigned int i = 0; i < columns; ++i) {
            const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
            const MdbField *field = nullptr;
            for (int f = 0; f < cracked; ++f)
                if (fields[f].colnum == static_cast<int>(i))
                    field = &fields[f];
            out.put(i == 0 ? ' ' : '\t');
            if (!field || field->is_null) {
                out.put("\\N", 2);
            } else if (column->col_type == MDB_DATETIME) {
                out.put('D');
                out.putNumber(mdb_get_double(mdb->pg_buf, field->start));
            } else {
                const bool text = column->col_type == MDB_TEXT || column->col_type == MDB_MEMO;
                out.put(text ? 'S' : 'I');
                const size_t length = std::strlen(values[i].get());
                cut += text && length + 1 >= kBindSize ? 1 : 0;
                out.putEscaped(values[i].get(), length);
            }
        }
        out.put('\n');
        ++read;
    }
    out.put("E ");
    out.putNumber(read);
    out.put(' ');
    out.putNumber(static_cast<unsigned long>(table->num_rows));
    out.put(' ');
    out.putNumber(cut);
    out.put('\n');
    out.flush();
    mdb_free_tabledef(table);
    mdb_close(mdb);
}

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--count") == 0) {
        MdbHandle *mdb = mdb_open(argv[2], MDB_NOFLAGS);
        MdbTableDef *table = mdb && mdb_read_catalog(mdb, MDB_TABLE)
                                 ? mdb_read_table_by_name(mdb, argv[3], MDB_TABLE)
                                 : nullptr;
        if (!table || !mdb_read_columns(table)) {
            std::fprintf(stderr, "the table \"%s\" cannot be read\n", argv[3]);
            return 2;
        }
        std::printf("N %u\n", table->num_rows);
        return 0;
    }
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: velmora-jet-reader [--count] FILE TABLE [FILE TABLE ...]\n");
        return 2;
    }
    // A larger pipe lets the reader run ahead of the import while it stores what came before.
    fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
    Output out;
    for (int file = 0; 2 * file + 2 < argc; ++file) {
        out.put("F ");
        out.putNumber(static_cast<unsigned long>(file));
        out.put('\n');
        writeTable(out, argv[2 * file + 1], argv[2 * file + 2]);
    }
    return 0;
}
