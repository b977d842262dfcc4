// velmora-jet-reader FILE TABLE
// velmora-jet-reader --count FILE TABLE   prints "N <rows the table's header gives>" only
//
// Reads one table of a file of the older program (a Jet database) and writes it to standard output,
// one line a row, for the import to store. It runs in a process of its own because a damaged file
// can crash or hang the reader library; the import gives it a time limit and reads its exit code.
//
//   N <rows>             the number of rows the table's header gives, first
//   C <name> <type>      one line per column, in the table's order (type: date, text, number)
//   R <field>\t<field>   one line per row; a field is \N for no value, a date as D<days since
//                        1899-12-30, the fraction the time of day>, a number as I<value>, a text as
//                        S<text> with \\, \t, \n and \r escaped
//   E <read> <header> <cut>   the rows read, the number the table's header gives, and the texts
//                        cut at the reader's limit
//
// Exit 0 when every row the header counts was read (a header that counts fewer is no damage); 2 when
// the file or table cannot be opened, 3 when fewer rows were read (a damaged file ends early without
// an error).

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

int main(int argc, char *argv[])
{
    const bool countOnly = argc == 4 && std::strcmp(argv[1], "--count") == 0;
    if (argc != 3 && !countOnly) {
        std::fprintf(stderr, "usage: velmora-jet-reader [--count] FILE TABLE\n");
        return 2;
    }
    if (countOnly)
        ++argv;
    MdbHandle *mdb = mdb_open(argv[1], MDB_NOFLAGS);
    if (!mdb) {
        std::fprintf(stderr, "the file cannot be opened as a database of the older program\n");
        return 2;
    }
    mdb_set_bind_size(mdb, kBindSize);
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        std::fprintf(stderr, "the file's list of tables cannot be read\n");
        return 2;
    }
    MdbTableDef *table = mdb_read_table_by_name(mdb, argv[2], MDB_TABLE);
    if (!table || !mdb_read_columns(table)) {
        std::fprintf(stderr, "the table \"%s\" cannot be read\n", argv[2]);
        return 2;
    }
    if (countOnly) {
        std::printf("N %u\n", table->num_rows);
        return 0;
    }
    mdb_rewind_table(table);
    // A larger pipe lets the reader run ahead of the import while it stores what came before.
    fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
    Output out;
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
    const bool whole = read >= table->num_rows;
    mdb_free_tabledef(table);
    mdb_close(mdb);
    return whole ? 0 : 3;
}
