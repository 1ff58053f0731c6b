#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace batch
{

// The rows of a data file as the operator sees them; rows may be shorter than the widest one.
struct DataTable {
    QList<QStringList> rows;

    int rowCount() const { return int(rows.size()); }
    int columnCount() const;
    // 0-based; empty outside the rows and columns read.
    QString cell(int row, int column) const;
};

// Bounds against a hostile or broken file: a zip bomb or a sheet of a million rows is refused
// before it eats the station's memory, never read in part.
struct ReadLimits {
    qint64 maxFileBytes = 32ll << 20; // the data file itself, read whole
    qint64 maxPartBytes = 64ll << 20; // one unpacked XML part of a spreadsheet
    int maxRows = 100000;
    int maxColumns = 1024;
    qint64 maxCells = 2000000;
};

// Grows a table cell by cell within the limits; the first cell beyond them refuses the read.
class TableBuilder
{
public:
    explicit TableBuilder(const ReadLimits &limits) : limits_(limits) {}

    // row and column 0-based. False (and error() set) once a limit is passed.
    bool set(int row, int column, const QString &text);
    const QString &error() const { return error_; }
    DataTable take();

private:
    ReadLimits limits_;
    DataTable table_;
    qint64 cells_ = 0;
    QString error_;
};

} // namespace batch
