// Reading the older program's files with the reader library alone, every row and field of every
// table, nothing written: what the import is measured against.
#include <glib.h> // before the library's header, which needs it in C++

#include <mdbtools.h>

#include <string>
#include <vector>

namespace velmora::bench {

long long readWithLibraryAlone(const std::vector<std::string> &paths)
{
    long long fields = 0;
    for (const std::string &path : paths) {
        MdbHandle *mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
        if (!mdb)
            continue;
        mdb_set_bind_size(mdb, 1 << 20);
        mdb_read_catalog(mdb, MDB_TABLE);
        const bool settings =
            path.find("bdm6.mdb") != std::string::npos || path.find("bdm66.mdb") != std::string::npos;
        MdbTableDef *table =
            mdb_read_table_by_name(mdb, const_cast<char *>(settings ? "profs" : "dados"), MDB_TABLE);
        if (table && mdb_read_columns(table)) {
            mdb_rewind_table(table);
            // A mebibyte for a memo's value, a few kibibytes for any other column's.
            std::vector<std::vector<char>> values;
            std::vector<int> lengths(table->num_cols);
            for (unsigned int i = 0; i < table->num_cols; ++i) {
                const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
                values.emplace_back(column->col_type == MDB_MEMO ? 1 << 20 : 4096);
                mdb_bind_column(table, static_cast<int>(i) + 1, values[i].data(), &lengths[i]);
            }
            while (mdb_fetch_row(table))
                for (const int length : lengths)
                    fields += length >= 0 ? 1 : 0;
            mdb_free_tabledef(table);
        }
        mdb_close(mdb);
    }
    return fields;
}

} // namespace velmora::bench
