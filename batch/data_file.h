#pragma once

#include "batch/sheet_read.h"
#include "link/codepage.h"

#include <QByteArray>
#include <QString>

namespace batch
{

enum class DataFormat { Csv, Xlsx, Ods };

struct DataFileOptions {
    QString sheet; // empty: the first one
    vlink::CodePage codePage = vlink::CodePage();
    ReadLimits limits;
};

// A data file read once: what the run prints and the hash the journal knows it by.
struct DataFile {
    DataFormat format = DataFormat::Csv;
    SheetRead content; // a CSV file is one sheet without a name
    QString hash;
};

// Hex SHA-256 of the bytes: the same data is the same run whatever the file is called.
QString contentHash(const QByteArray &bytes);

// By the archive's own parts, not by the file's name: an XLSX holds xl/workbook.xml, an ODS
// content.xml; anything else is read as CSV.
DataFormat formatOf(const QByteArray &bytes);

bool readDataBytes(const QByteArray &bytes, const DataFileOptions &options, DataFile &file,
                   QString &error);
// The file is read whole, once, so the hash and the rows come from the same bytes.
bool readDataFile(const QString &path, const DataFileOptions &options, DataFile &file,
                  QString &error);

} // namespace batch
