#include "batch/ods_reader.h"

#include "batch/cell_values.h"
#include "batch/xml_part.h"
#include "batch/zip_part.h"

#include <algorithm>
#include <climits>

namespace batch
{

namespace
{

const QString ContentPart = QStringLiteral("content.xml");
// A repeat count beyond any sheet's size is as good as this one: the limits refuse it anyway.
constexpr qint64 MaxRepeat = 1 << 24;

qint64 repeatOf(const QXmlStreamAttributes &attributes, QStringView name)
{
    const qint64 n = attribute(attributes, name).toLongLong();
    return std::clamp<qint64>(n, 1, MaxRepeat);
}

// White space in a paragraph's own text is layout: a run of it is one space, none at the start.
void appendCollapsed(QString &text, QStringView characters, bool &afterSpace)
{
    for (QChar c : characters) {
        const bool space = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
        if (space && (afterSpace || text.isEmpty()))
            continue;
        text += space ? QChar(u' ') : c;
        afterSpace = space;
    }
}

// The paragraphs of a cell, with ODF's encoded spaces, tabs and line breaks; no annotations.
QString paragraphText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    bool afterSpace = false;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            appendCollapsed(text, xml.text(), afterSpace);
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            ++depth;
            afterSpace = false;
            if (xml.name() == u"s")
                text += QString(int(repeatOf(xml.attributes(), u"c") % 4096), u' ');
            else if (xml.name() == u"tab")
                text += u'\t';
            else if (xml.name() == u"line-break")
                text += u'\n';
        }
    }
    return text;
}

QString odsCellText(QXmlStreamReader &xml)
{
    const auto attributes = xml.attributes();
    const auto type = attribute(attributes, u"value-type");
    QString text;
    if (type == u"float" || type == u"percentage" || type == u"currency")
        text = numberText(attribute(attributes, u"value"));
    else if (type == u"date")
        text = odfDateText(attribute(attributes, u"date-value"));
    else if (type == u"time")
        text = odfTimeText(attribute(attributes, u"time-value"));
    else if (type == u"boolean")
        text = attribute(attributes, u"boolean-value") == u"true" ? QStringLiteral("TRUE")
                                                                  : QStringLiteral("FALSE");
    QStringList paragraphs;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"p")
            paragraphs.append(paragraphText(xml));
        else
            xml.skipCurrentElement(); // annotations are notes, not the cell
    }
    return type.isEmpty() || type == u"string" ? paragraphs.join(u'\n') : text;
}

// One row's cells that hold something, by column; one past the widest a table may be is enough
// to refuse it.
QList<std::pair<qint64, QString>> rowCells(QXmlStreamReader &xml, int maxColumns)
{
    QList<std::pair<qint64, QString>> cells;
    qint64 column = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"table-cell" && xml.name() != u"covered-table-cell") {
            xml.skipCurrentElement();
            continue;
        }
        const qint64 repeat = repeatOf(xml.attributes(), u"number-columns-repeated");
        const QString text = odsCellText(xml);
        for (qint64 i = 0; !text.isEmpty() && i < repeat && column + i <= maxColumns; ++i)
            cells.append({column + i, text});
        column += repeat;
    }
    return cells;
}

// The rows of one table, also inside header-row and row-group elements.
bool readTable(QXmlStreamReader &xml, int maxColumns, TableBuilder &builder)
{
    qint64 row = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() != u"table-row") {
            ++depth;
            continue;
        }
        const qint64 repeat = repeatOf(xml.attributes(), u"number-rows-repeated");
        const auto cells = rowCells(xml, maxColumns);
        for (qint64 i = 0; !cells.isEmpty() && i < repeat; ++i)
            for (const auto &[column, text] : cells)
                if (!builder.set(int(std::min<qint64>(row + i, INT_MAX)),
                                 int(std::min<qint64>(column, INT_MAX)), text))
                    return false;
        row += repeat;
    }
    return true;
}

} // namespace

bool readOds(const QByteArray &bytes, const QString &sheet, const ReadLimits &limits,
             SheetRead &out, QString &error)
{
    ZipParts zip(bytes);
    QByteArray content;
    if (!zip.isOpen()) {
        error = QStringLiteral("The file is no spreadsheet archive");
        return false;
    }
    if (!zip.read(ContentPart, limits.maxPartBytes, content, error))
        return false;
    QXmlStreamReader xml(content);
    TableBuilder builder(limits);
    out.sheets.clear();
    out.sheet.clear();
    bool found = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"table")
            continue;
        const QString name = attribute(xml.attributes(), u"name").toString();
        out.sheets.append(name);
        const bool wanted = !found && (sheet.isEmpty() || name == sheet);
        if (!wanted) {
            xml.skipCurrentElement();
            continue;
        }
        out.sheet = name;
        found = true;
        if (!readTable(xml, limits.maxColumns, builder)) {
            error = builder.error();
            return false;
        }
    }
    if (xml.hasError()) {
        error = xmlError(ContentPart, xml);
        return false;
    }
    if (!found) {
        error = out.sheets.isEmpty() ? QStringLiteral("The file holds no sheet")
                                     : QStringLiteral("The file has no sheet \"%1\"").arg(sheet);
        return false;
    }
    out.table = builder.take();
    return true;
}

} // namespace batch
