#pragma once

#include <QList>
#include <QString>

namespace batch
{

// One text the run writes into a mark cell; row 1..4 and column 1..8 as the operator counts them.
struct CellText {
    int row = 1;
    int column = 1;
    QString text;
    int font = 1; // the text font the cell is set to after its text, 0..F - 1
    friend bool operator==(const CellText &, const CellText &) = default;
};

// One product's mark: the texts of the mapped cells, in the order they are written.
struct Record {
    int index = 0; // 0-based position in the run, the key the journal keeps
    QList<CellText> cells;
    friend bool operator==(const Record &, const Record &) = default;
};

} // namespace batch
