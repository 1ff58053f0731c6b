// Opening a data file of many rows, as the batch window does before it lists them: read, parse,
// hash. A window that takes seconds to show a file makes operators doubt it.

#include "batch/data_file.h"
#include "bench/bench.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace bench
{

namespace
{

constexpr int Rows = 10000;
constexpr qint64 FileGoalMs = 1000;

QByteArray csvRows()
{
    QByteArray out;
    for (int i = 0; i < Rows; ++i)
        out += "LOT" + QByteArray::number(i) + ";\"SN " + QByteArray::number(100000 + i) +
               "\";2026-12-08;" + QByteArray::number(i * 3) + "\r\n";
    return out;
}

QByteArray sheetRows()
{
    QByteArray out = "<worksheet><sheetData>";
    for (int i = 0; i < Rows; ++i)
        out += "<row><c t=\"inlineStr\"><is><t>LOT" + QByteArray::number(i) +
               "</t></is></c><c t=\"s\"><v>" + QByteArray::number(i % 2) + "</v></c><c><v>" +
               QByteArray::number(i * 3) + "</v></c></row>";
    return out + "</sheetData></worksheet>";
}

bool writeXlsx(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    const QList<std::pair<QString, QByteArray>> parts = {
        {"xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Lots\" sheetId=\"1\" "
                            "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"x/sharedStrings\" "
         "Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml", "<sst><si><t>even</t></si><si><t>odd</t></si></sst>"},
        {"xl/worksheets/sheet1.xml", sheetRows()}};
    for (const auto &[name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(bytes) < 0)
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

bool opens(const QString &path, const char *kind)
{
    QElapsedTimer timer;
    timer.start();
    batch::DataFile data;
    QString error;
    const bool read = batch::readDataFile(path, {}, data, error);
    const qint64 ms = timer.elapsed();
    const int rows = read ? int(data.content.table.rows.size()) : 0;
    std::printf("   %s of %d rows: %s in %lld ms (goal < %lld ms)\n", kind, Rows,
                read ? qPrintable(QStringLiteral("%1 rows read").arg(rows)) : qPrintable(error), ms,
                FileGoalMs);
    return read && rows == Rows && ms < FileGoalMs;
}

} // namespace

Cases dataFileCases()
{
    return {{"data file csv",
             [] {
                 QTemporaryDir dir;
                 QFile file(dir.filePath("lots.csv"));
                 if (!file.open(QIODevice::WriteOnly) || file.write(csvRows()) < 0)
                     return false;
                 file.close();
                 return opens(file.fileName(), "CSV");
             }},
            {"data file xlsx", [] {
                 QTemporaryDir dir;
                 const QString path = dir.filePath("lots.xlsx");
                 return writeXlsx(path) && opens(path, "XLSX");
             }}};
}

} // namespace bench
