#pragma once

#include "batch/data_table.h"
#include "batch/fragment_rules.h"
#include "batch/record.h"
#include "batch/run_journal.h"

#include <QList>
#include <QString>

namespace batch
{

// One mark cell fed from one column of the data.
struct CellSource {
    int row = 1;        // 1..4
    int column = 1;     // 1..8
    int dataColumn = 0; // 0-based column of the table
    int font = 1;
    friend bool operator==(const CellSource &, const CellSource &) = default;
};

// Which rows of the table become records and what goes where. Rows count from 1 as the table
// shows them, the header row among them.
struct FileMapping {
    int firstRow = 1;
    int lastRow = 0;     // 0: to the last row of the table
    bool header = false; // the first row names the columns and is never printed
    QList<CellSource> cells;
};

// The rows a mapping prints, resolved against a table: empty (first > last) when none.
struct RowSpan {
    int first = 1;
    int last = 0;
    int count() const { return last >= first ? last - first + 1 : 0; }
};
RowSpan rowSpan(const DataTable &table, const FileMapping &mapping);

// What is wrong with the mapping itself, or nothing: no cell, a cell outside the mark or
// mapped twice, a column the data has not, a font out of range, no row to print.
QString mappingError(const DataTable &table, const FileMapping &mapping, int fontCount);

// The record of one table row (1-based), at the given run position.
Record recordOfRow(const DataTable &table, const FileMapping &mapping, int row, int index);

// Every record of the span, and every value refused by the text rules. Nothing is cut: a run
// may start only when refusals is empty.
QList<Record> mapRecords(const DataTable &table, const FileMapping &mapping,
                         const vlink::CodePage &codePage, QList<Refusal> &refusals);

// The same data (by hash), sheet, rows and cells are the same run.
RunKey fileRunKey(const QString &hash, const QString &sheet, const DataTable &table,
                  const FileMapping &mapping);

} // namespace batch
