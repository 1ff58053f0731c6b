#include "batch/xlsx_reader.h"

#include "batch/cell_values.h"
#include "batch/xml_part.h"
#include "batch/zip_part.h"

#include <QDir>
#include <QHash>

namespace batch
{

namespace
{

const QString WorkbookPart = QStringLiteral("xl/workbook.xml");
const QString WorkbookRels = QStringLiteral("xl/_rels/workbook.xml.rels");

struct Workbook {
    QStringList names;
    QStringList relationIds;
    bool date1904 = false;
    QHash<QString, QString> targets;     // relation id -> part
    QHash<QString, QString> typeTargets; // last word of the relation type -> part
};

// What a sheet's cells need besides the sheet itself.
struct SheetContext {
    QStringList sharedStrings;
    QList<NumberShape> styleShapes; // by the cell's style index
    bool date1904 = false;
};

bool parseWorkbook(const QByteArray &bytes, Workbook &book, QString &error)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = xml.attributes();
        if (xml.name() == u"sheet") {
            book.names.append(attribute(attributes, u"name").toString());
            book.relationIds.append(attribute(attributes, u"id").toString());
        } else if (xml.name() == u"workbookPr") {
            const auto flag = attribute(attributes, u"date1904");
            book.date1904 = flag == u"1" || flag == u"true";
        }
    }
    if (xml.hasError()) {
        error = xmlError(WorkbookPart, xml);
        return false;
    }
    if (book.names.isEmpty() || book.names.size() != book.relationIds.size()) {
        error = QStringLiteral("The workbook lists no sheets");
        return false;
    }
    return true;
}

QString partPath(QStringView target)
{
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1).toString());
    return QDir::cleanPath(QStringLiteral("xl/") + target.toString());
}

bool parseRelations(const QByteArray &bytes, Workbook &book, QString &error)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const auto attributes = xml.attributes();
        const QString target = partPath(attribute(attributes, u"Target"));
        book.targets.insert(attribute(attributes, u"Id").toString(), target);
        book.typeTargets.insert(attribute(attributes, u"Type").toString().section(u'/', -1),
                                target);
    }
    if (xml.hasError()) {
        error = xmlError(WorkbookRels, xml);
        return false;
    }
    return true;
}

QStringList parseSharedStrings(const QByteArray &bytes, bool &ok)
{
    QStringList strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.append(elementText(xml, u"t", u"rPh")); // rPh: phonetic hints, not shown
    ok = !xml.hasError();
    return strings;
}

QList<NumberShape> parseStyles(const QByteArray &bytes, bool &ok)
{
    QHash<int, NumberShape> custom;
    QList<NumberShape> shapes;
    QXmlStreamReader xml(bytes);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            inCellXfs = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = xml.attributes();
        const int id = attribute(attributes, u"numFmtId").toInt();
        if (xml.name() == u"numFmt")
            custom.insert(id, shapeOfFormatCode(attribute(attributes, u"formatCode")));
        else if (xml.name() == u"cellXfs")
            inCellXfs = true;
        else if (inCellXfs && xml.name() == u"xf")
            shapes.append(custom.value(id, shapeOfBuiltInFormat(id)));
    }
    ok = !xml.hasError();
    return shapes;
}

// "AB12" -> 27 (0-based); beyond the last column Excel has, -1.
int columnOfReference(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i) {
        if (i == 3)
            return -1;
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    }
    return i == 0 ? -1 : column - 1;
}

QString xlsxCellText(const QString &type, const QString &value, const QString &inlineText,
                     int style, const SheetContext &context)
{
    if (type == u"s") {
        bool ok = false;
        const int index = value.toInt(&ok);
        return ok && index >= 0 && index < context.sharedStrings.size()
                   ? context.sharedStrings[index]
                   : QString();
    }
    if (type == u"inlineStr")
        return inlineText;
    if (type == u"str" || type == u"e")
        return value;
    if (type == u"b")
        return value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == u"d")
        return odfDateText(value);
    const NumberShape shape = style >= 0 && style < context.styleShapes.size()
                                  ? context.styleShapes[style]
                                  : NumberShape::Number;
    return serialDateText(value, shape, context.date1904);
}

bool readCell(QXmlStreamReader &xml, int row, int &column, const SheetContext &context,
              TableBuilder &builder)
{
    const auto attributes = xml.attributes();
    const auto reference = attribute(attributes, u"r");
    column = reference.isEmpty() ? column + 1 : columnOfReference(reference);
    const QString type = attribute(attributes, u"t").toString();
    const int style = attribute(attributes, u"s").toInt();
    QString value;
    QString inlineText;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v")
            value = xml.readElementText();
        else if (xml.name() == u"is")
            inlineText = elementText(xml, u"t", u"rPh");
        else
            xml.skipCurrentElement();
    }
    const QString text = xlsxCellText(type, value, inlineText, style, context);
    if (text.isEmpty())
        return true;
    return builder.set(row, column, text);
}

bool parseSheet(const QByteArray &bytes, const SheetContext &context, TableBuilder &builder,
                bool &xmlBroken)
{
    QXmlStreamReader xml(bytes);
    int row = -1;
    int column = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            const auto reference = attribute(xml.attributes(), u"r");
            row = reference.isEmpty() ? row + 1 : reference.toInt() - 1;
            column = -1;
        } else if (xml.name() == u"c") {
            if (!readCell(xml, row, column, context, builder))
                return false;
        }
    }
    xmlBroken = xml.hasError();
    return !xmlBroken;
}

bool readOptionalPart(ZipParts &zip, const Workbook &book, const QString &type,
                      const ReadLimits &limits, QByteArray &bytes, QString &error)
{
    bytes.clear();
    const QString part = book.typeTargets.value(type);
    if (part.isEmpty() || !zip.has(part))
        return true;
    return zip.read(part, limits.maxPartBytes, bytes, error);
}

bool readContext(ZipParts &zip, const Workbook &book, const ReadLimits &limits,
                 SheetContext &context, QString &error)
{
    QByteArray bytes;
    bool ok = true;
    if (!readOptionalPart(zip, book, QStringLiteral("sharedStrings"), limits, bytes, error))
        return false;
    if (!bytes.isEmpty())
        context.sharedStrings = parseSharedStrings(bytes, ok);
    if (!ok) {
        error = QStringLiteral("The shared strings are damaged");
        return false;
    }
    if (!readOptionalPart(zip, book, QStringLiteral("styles"), limits, bytes, error))
        return false;
    if (!bytes.isEmpty())
        context.styleShapes = parseStyles(bytes, ok);
    if (!ok) {
        error = QStringLiteral("The styles are damaged");
        return false;
    }
    context.date1904 = book.date1904;
    return true;
}

bool readBook(ZipParts &zip, const ReadLimits &limits, Workbook &book, QString &error)
{
    QByteArray bytes;
    if (!zip.read(WorkbookPart, limits.maxPartBytes, bytes, error) ||
        !parseWorkbook(bytes, book, error))
        return false;
    return zip.read(WorkbookRels, limits.maxPartBytes, bytes, error) &&
           parseRelations(bytes, book, error);
}

} // namespace

bool readXlsx(const QByteArray &bytes, const QString &sheet, const ReadLimits &limits,
              SheetRead &out, QString &error)
{
    ZipParts zip(bytes);
    Workbook book;
    if (!zip.isOpen()) {
        error = QStringLiteral("The file is no spreadsheet archive");
        return false;
    }
    if (!readBook(zip, limits, book, error))
        return false;
    const qsizetype index = sheet.isEmpty() ? 0 : book.names.indexOf(sheet);
    if (index < 0) {
        error = QStringLiteral("The workbook has no sheet \"%1\"").arg(sheet);
        return false;
    }
    SheetContext context;
    QByteArray sheetBytes;
    const QString part = book.targets.value(book.relationIds[index]);
    if (!readContext(zip, book, limits, context, error) ||
        !zip.read(part, limits.maxPartBytes, sheetBytes, error))
        return false;
    TableBuilder builder(limits);
    bool xmlBroken = false;
    if (!parseSheet(sheetBytes, context, builder, xmlBroken)) {
        error = xmlBroken ? QStringLiteral("The sheet \"%1\" is damaged").arg(book.names[index])
                          : builder.error();
        return false;
    }
    out.table = builder.take();
    out.sheets = book.names;
    out.sheet = book.names[index];
    return true;
}

} // namespace batch
