#pragma once

#include "batch/data_table.h"

#include <QStringList>

namespace batch
{

// One sheet of a workbook, with the names of all its sheets for the operator's choice.
struct SheetRead {
    DataTable table;
    QStringList sheets;
    QString sheet; // the one read
};

} // namespace batch
