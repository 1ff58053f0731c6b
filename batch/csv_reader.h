#pragma once

#include "batch/data_table.h"
#include "link/codepage.h"

#include <QByteArray>
#include <QChar>
#include <QString>

namespace batch
{

// The text of a CSV file: UTF-8 with or without its mark, UTF-16 with its mark, and anything
// that is not valid UTF-8 in the station's code page, as the station's own exports are.
QString decodeCsvText(const QByteArray &bytes, const vlink::CodePage &codePage);

// Comma, semicolon or tab: the one that splits the first records into the same number of
// fields, and the most of them.
QChar detectCsvSeparator(QStringView text);

// Quoted fields may hold separators, doubled quotes and line breaks. A quote left open is
// refused: it would swallow the rest of the file into one cell.
bool parseCsv(QStringView text, QChar separator, const ReadLimits &limits, DataTable &table,
              QString &error);

bool readCsv(const QByteArray &bytes, const vlink::CodePage &codePage, const ReadLimits &limits,
             DataTable &table, QString &error);

} // namespace batch
