#include "batch/data_file.h"

#include "batch/csv_reader.h"
#include "batch/ods_reader.h"
#include "batch/xlsx_reader.h"
#include "batch/zip_part.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace batch
{

QString contentHash(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

DataFormat formatOf(const QByteArray &bytes)
{
    if (!bytes.startsWith("PK\x03\x04"))
        return DataFormat::Csv;
    const ZipParts zip(bytes);
    if (zip.has(QStringLiteral("xl/workbook.xml")))
        return DataFormat::Xlsx;
    if (zip.has(QStringLiteral("content.xml")))
        return DataFormat::Ods;
    return DataFormat::Csv;
}

bool readDataBytes(const QByteArray &bytes, const DataFileOptions &options, DataFile &file,
                   QString &error)
{
    file = {};
    file.format = formatOf(bytes);
    bool ok = false;
    switch (file.format) {
    case DataFormat::Xlsx:
        ok = readXlsx(bytes, options.sheet, options.limits, file.content, error);
        break;
    case DataFormat::Ods:
        ok = readOds(bytes, options.sheet, options.limits, file.content, error);
        break;
    case DataFormat::Csv:
        ok = readCsv(bytes, options.codePage, options.limits, file.content.table, error);
        break;
    }
    if (ok)
        file.hash = contentHash(bytes);
    return ok;
}

bool readDataFile(const QString &path, const DataFileOptions &options, DataFile &file,
                  QString &error)
{
    QFile in(path);
    if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1 cannot be opened").arg(QFileInfo(path).fileName());
        return false;
    }
    const QByteArray bytes = in.read(options.limits.maxFileBytes + 1);
    if (bytes.size() > options.limits.maxFileBytes) {
        error = QStringLiteral("%1 is larger than %2 MiB: refused")
                    .arg(QFileInfo(path).fileName())
                    .arg(options.limits.maxFileBytes >> 20);
        return false;
    }
    return readDataBytes(bytes, options, file, error);
}

} // namespace batch
