#pragma once

#include <QString>
#include <QStringView>

namespace batch
{

// How a number format shows a value.
enum class NumberShape { Number, Date, Time, DateTime };

// A number as a spreadsheet stores it ("42", "3.5", "1.1000000000000001"), as the operator typed
// it: integers without a ".0", at most 15 significant digits. Text that is no number stays.
QString numberText(QStringView stored);

// The shape an Excel number format code gives ("yyyy-mm-dd", "h:mm", "0.00", "[Red]0").
NumberShape shapeOfFormatCode(QStringView code);
// The shape of one of Excel's built-in formats by its id.
NumberShape shapeOfBuiltInFormat(int id);

// An Excel day serial (days since 1899-12-30, or since 1904-01-01 in a 1904 workbook) in ISO
// form: "yyyy-MM-dd", "HH:mm:ss" or "yyyy-MM-dd HH:mm:ss" by shape.
QString serialDateText(QStringView stored, NumberShape shape, bool date1904);

// ODF's own values: "2024-03-05", "2024-03-05T10:20:30.5" and "PT10H20M30S".
QString odfDateText(QStringView value);
QString odfTimeText(QStringView value);

} // namespace batch
