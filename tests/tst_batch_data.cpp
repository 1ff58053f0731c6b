#include "batch/card_numbers.h"
#include "batch/csv_reader.h"
#include "batch/data_file.h"
#include "batch/record_mapping.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace batch;

using Rows = QList<QStringList>;
Q_DECLARE_METATYPE(batch::FileMapping)
Q_DECLARE_METATYPE(batch::CardNumbers)
using Parts = QList<std::pair<QString, QByteArray>>;

namespace
{

QByteArray zipOf(const Parts &parts)
{
    QBuffer buffer;
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const auto &[name, bytes] : parts) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
        file.write(bytes);
        file.close();
    }
    zip.close();
    return buffer.data();
}

const QByteArray XlsxRels =
    R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>
    <Relationship Id="rId2" Type="x/worksheet" Target="/xl/worksheets/two.xml"/>
    <Relationship Id="rId3" Type="x/sharedStrings" Target="sharedStrings.xml"/>
    <Relationship Id="rId4" Type="x/styles" Target="styles.xml"/></Relationships>)";
const QByteArray XlsxStrings = R"(<sst><si><t>Lot</t></si><si><r><t>A-</t></r><r><t>7</t></r>
    <rPh><t>hint</t></rPh></si><si><t xml:space="preserve"> 2 </t></si></sst>)";
// Style 1: a built-in date, 2: a custom date and time, 3: a custom number with a date word in
// quotes, which stays a number.
const QByteArray XlsxStyles =
    R"(<styleSheet><numFmts><numFmt numFmtId="164" formatCode="dd.mm.yyyy\ hh:mm"/>
    <numFmt numFmtId="165" formatCode="0.00&quot; day&quot;"/></numFmts>
    <cellStyleXfs><xf numFmtId="14"/></cellStyleXfs><cellXfs><xf numFmtId="0"/>
    <xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/></cellXfs></styleSheet>)";
const QByteArray XlsxSheet1 = R"(<worksheet><sheetData>
    <row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="inlineStr"><is><t>Date</t></is></c></row>
    <row r="3"><c r="A3" t="s"><v>1</v></c><c r="B3"><v>42</v></c><c r="C3" s="1"><v>45356</v></c>
      <c r="D3" s="2"><v>45356.5</v></c><c r="E3" s="3"><v>2</v></c></row>
    <row r="4"><c t="s"><v>2</v></c><c><v>1.1000000000000001</v></c><c t="b"><v>1</v></c>
      <c t="str"><f>A1</f><v>Lot</v></c></row></sheetData></worksheet>)";
const QByteArray XlsxSheet2 =
    R"(<worksheet><sheetData><row><c t="inlineStr"><is><t>second</t></is></c></row>
    </sheetData></worksheet>)";

QByteArray xlsx(const QByteArray &workbookPr = {}, const QByteArray &sheet1 = XlsxSheet1)
{
    const QByteArray book = "<workbook xmlns:r=\"r\">" + workbookPr +
                            "<sheets><sheet name=\"Lots\" sheetId=\"1\" r:id=\"rId1\"/>"
                            "<sheet name=\"Two\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>";
    return zipOf({{"[Content_Types].xml", "<Types/>"},
                  {"xl/workbook.xml", book},
                  {"xl/_rels/workbook.xml.rels", XlsxRels},
                  {"xl/sharedStrings.xml", XlsxStrings},
                  {"xl/styles.xml", XlsxStyles},
                  {"xl/worksheets/sheet1.xml", sheet1},
                  {"xl/worksheets/two.xml", XlsxSheet2}});
}

const QByteArray OdsHead = R"(<office:document-content
    xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)";
const QByteArray OdsLots = R"(<table:table table:name="Lots"><table:table-header-rows>
    <table:table-row><table:table-cell><text:p>Lot</text:p></table:table-cell>
      <table:table-cell/><table:table-cell><text:p>Date</text:p>
      <office:annotation><text:p>note</text:p></office:annotation></table:table-cell>
    </table:table-row></table:table-header-rows>
    <table:table-row table:number-rows-repeated="1"><table:table-cell
      table:number-columns-repeated="1024"/></table:table-row>
    <table:table-row><table:table-cell office:value-type="string"><text:p>A-<text:span>7</text:span></text:p></table:table-cell>
      <table:table-cell office:value-type="float" office:value="42"><text:p>42.00</text:p>
      </table:table-cell><table:table-cell office:value-type="date" office:date-value="2024-03-05">
      <text:p>05.03.24</text:p></table:table-cell><table:table-cell office:value-type="date"
      office:date-value="2024-03-05T12:00:00"/><table:table-cell office:value-type="float"
      office:value="2"/></table:table-row>
    <table:table-row><table:table-cell><text:p><text:s/>2<text:s/></text:p></table:table-cell>
      <table:table-cell office:value-type="float" office:value="1.1000000000000001"/>
      <table:table-cell office:value-type="boolean" office:boolean-value="true"/>
      <table:table-cell office:value-type="string"><text:p>Lot</text:p></table:table-cell>
    </table:table-row>
    <table:table-row table:number-rows-repeated="1048571"><table:table-cell
      table:number-columns-repeated="1024"/></table:table-row></table:table>)";
const QByteArray OdsTwo =
    R"(<table:table table:name="Two"><table:table-row><table:table-cell><text:p>second</text:p>
    </table:table-cell></table:table-row></table:table>)";
const QByteArray OdsTail = "</office:spreadsheet></office:body></office:document-content>";

QByteArray ods(const QByteArray &tables = OdsLots + OdsTwo)
{
    return zipOf({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                  {"content.xml", OdsHead + tables + OdsTail}});
}

// What both workbooks hold on their first sheet.
const Rows LotsSheet = {{"Lot", "", "Date"},
                        {},
                        {"A-7", "42", "2024-03-05", "2024-03-05 12:00:00", "2"},
                        {" 2 ", "1.1", "TRUE", "Lot"}};

QByteArray windows1251(const char *utf8)
{
    return vlink::encodeWindows1251(QString::fromUtf8(utf8));
}

const vlink::CodePage Cp1251;
constexpr int Fonts = 16;

// The texts of every record, cell by cell.
Rows textsOf(const QList<Record> &records)
{
    Rows rows;
    for (const Record &record : records) {
        rows.append(QStringList());
        for (const CellText &cell : record.cells)
            rows.last().append(cell.text);
    }
    return rows;
}

QStringList refusalTexts(const QList<Refusal> &refusals)
{
    QStringList texts;
    for (const Refusal &refusal : refusals)
        texts.append(refusalText(refusal));
    return texts;
}

FileMapping mapOf(int first, int last, bool header, QList<CellSource> cells)
{
    return {first, last, header, cells};
}

CardNumbers cards(qint64 first, int count, qint64 step, int digits, const QString &prefix = {},
                  const QString &suffix = {})
{
    CardNumbers c;
    c.first = first;
    c.count = count;
    c.step = step;
    c.digits = digits;
    c.prefix = prefix;
    c.suffix = suffix;
    c.row = 2;
    c.column = 3;
    return c;
}

} // namespace

class TestBatchData : public QObject
{
    Q_OBJECT

private slots:
    void csvFields_data();
    void csvFields();
    void workbooks_data();
    void workbooks();
    void refusals_data();
    void refusals();
    void hashOfTheBytesWhateverTheName();
    void mapping_data();
    void mapping();
    void cardNumbers_data();
    void cardNumbers();
    void runKeys();
};

void TestBatchData::csvFields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("comma, CRLF, no row after the last break")
        << QByteArray("a,b\r\n1,2\r\n") << Rows{{"a", "b"}, {"1", "2"}};
    QTest::newRow("semicolon beside decimal commas")
        << QByteArray("Name;Price\nBolt;1,50\nNut;0,20")
        << Rows{{"Name", "Price"}, {"Bolt", "1,50"}, {"Nut", "0,20"}};
    QTest::newRow("tab") << QByteArray("x\ty;z\n1\t2,3\n") << Rows{{"x", "y;z"}, {"1", "2,3"}};
    QTest::newRow("quoted separator, quote and line break")
        << QByteArray("id,text\n1,\"a,\"\"b\"\"\r\nc\"\n2,\"\"\n")
        << Rows{{"id", "text"}, {"1", "a,\"b\"\r\nc"}, {"2", ""}};
    QTest::newRow("blank line kept, single column")
        << QByteArray("one\n\nthree\n") << Rows{{"one"}, {""}, {"three"}};
    QTest::newRow("UTF-8 with its mark")
        << QByteArray("\xEF\xBB\xBF\xE2\x84\x96;x\n") << Rows{{"\u2116", "x"}};
    QTest::newRow("UTF-8 without a mark")
        << QByteArray("\xD0\x9B\xD0\xBE\xD1\x82,1\n") << Rows{{"\u041B\u043E\u0442", "1"}};
    QTest::newRow("not UTF-8: the station's code page")
        << windows1251("Лот №;1\n") << Rows{{"\u041B\u043E\u0442 \u2116", "1"}};
    QTest::newRow("UTF-16 with its mark")
        << QByteArray("\xFF\xFE\x61\x00\x09\x00\x62\x00\x0A\x00", 10) << Rows{{"a", "b"}};
}

void TestBatchData::csvFields()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Rows, rows);
    DataFile file;
    QString error;
    QVERIFY2(readDataBytes(bytes, {}, file, error), qPrintable(error));
    QCOMPARE(file.format, DataFormat::Csv);
    QCOMPARE(file.content.table.rows, rows);
}

void TestBatchData::workbooks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("xlsx, first sheet") << xlsx() << QString() << LotsSheet;
    QTest::newRow("xlsx, sheet by name") << xlsx() << "Two" << Rows{{"second"}};
    QTest::newRow("xlsx of the 1904 system")
        << xlsx("<workbookPr date1904=\"1\"/>",
                R"(<worksheet><sheetData><row><c s="1"><v>43894</v></c></row></sheetData>)"
                "</worksheet>")
        << QString() << Rows{{"2024-03-05"}};
    QTest::newRow("ods, first sheet") << ods() << QString() << LotsSheet;
    QTest::newRow("ods, sheet by name") << ods() << "Two" << Rows{{"second"}};
}

void TestBatchData::workbooks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, sheet);
    QFETCH(Rows, rows);
    DataFileOptions options;
    options.sheet = sheet;
    DataFile file;
    QString error;
    QVERIFY2(readDataBytes(bytes, options, file, error), qPrintable(error));
    QCOMPARE(file.content.table.rows, rows);
    QCOMPARE(file.content.sheets, QStringList({"Lots", "Two"}));
    QCOMPARE(file.content.sheet, sheet.isEmpty() ? "Lots" : sheet);
}

void TestBatchData::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("error");
    const QByteArray manyRows = "<table:table table:name=\"Lots\"><table:table-row "
                                "table:number-rows-repeated=\"2000000\"><table:table-cell>"
                                "<text:p>x</text:p></table:table-cell></table:table-row>"
                                "</table:table>";
    QTest::newRow("quote left open")
        << QByteArray("a,b\n\"c,d\n") << QString() << "Row 2: a quoted field is not closed";
    QTest::newRow("no such sheet") << xlsx() << "Three"
                                   << "The workbook has no sheet \"Three\"";
    QTest::newRow("a row repeated two million times")
        << ods(manyRows) << QString() << "The data has more than 100000 rows";
    QTest::newRow("a cell in the last column Excel has")
        << xlsx({}, R"(<worksheet><sheetData><row><c r="XFD1" t="inlineStr"><is><t>x</t></is>)"
                    "</c></row></sheetData></worksheet>")
        << QString() << "The data has more than 1024 columns";
    // 2 MiB of spaces pack into a few KiB: refused while unpacking, never held whole.
    QTest::newRow("zip bomb") << zipOf({{"content.xml",
                                         OdsHead + QByteArray(2 << 20, ' ') + OdsTail}})
                              << QString()
                              << "The part content.xml unpacks to more than 1 MiB: refused";
    QTest::newRow("sheet XML broken") << xlsx({}, "<worksheet><sheetData><row></worksheet>")
                                      << QString() << "The sheet \"Lots\" is damaged";
}

void TestBatchData::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, sheet);
    QFETCH(QString, error);
    DataFileOptions options;
    options.sheet = sheet;
    options.limits.maxPartBytes = 1 << 20;
    DataFile file;
    QString message;
    QVERIFY(!readDataBytes(bytes, options, file, message));
    QCOMPARE(message, error);
    QVERIFY(file.content.table.rows.isEmpty());
}

void TestBatchData::hashOfTheBytesWhateverTheName()
{
    QTemporaryDir dir;
    for (const char *name : {"a.csv", "copy of a.txt"}) {
        QFile out(dir.filePath(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("abc");
        out.close();
        DataFile file;
        QString error;
        QVERIFY(readDataFile(out.fileName(), {}, file, error));
        QCOMPARE(file.hash, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    }
}

void TestBatchData::mapping_data()
{
    QTest::addColumn<FileMapping>("map");
    QTest::addColumn<Rows>("texts");
    QTest::addColumn<QStringList>("refusals");
    QTest::addColumn<QString>("error");
    const CellSource lot{1, 1, 0, 1};
    const CellSource name{2, 4, 1, 3};
    QTest::newRow("header, first and last row")
        << mapOf(1, 3, true, {lot, name}) << Rows{{"L1", "Bolt"}, {"L2", "Nut"}} << QStringList()
        << QString();
    QTest::newRow("to the end, no header: every value checked, none cut")
        << mapOf(5, 0, false, {name})
        << Rows{{" " + QString(37, 'x')}, {QString(38, 'y')}, {"50%1 \u03A9"}, {"a\nb"}}
        << QStringList{"Record 2, cell 2,4: \"" + QString(38, 'y') +
                           "\" is longer than 37 characters",
                       "Record 3, cell 2,4: \"50%1 \u03A9\" holds characters the code page "
                       "windows-1251 has not: \u03A9",
                       "Record 4, cell 2,4: \"a b\" holds a line break or another control "
                       "character"}
        << QString();
    QTest::newRow("cell outside the mark")
        << mapOf(1, 0, false, {lot, {5, 1, 0, 1}}) << Rows() << QStringList()
        << "Cell 5,1 is outside the mark (rows 1..4, columns 1..8)";
    QTest::newRow("cell mapped twice") << mapOf(1, 0, false, {lot, {1, 1, 1, 1}}) << Rows()
                                       << QStringList() << "Cell 1,1 is mapped twice";
    QTest::newRow("column the data has not")
        << mapOf(1, 0, false, {{1, 2, 2, 1}}) << Rows() << QStringList()
        << "Cell 1,2: the data has no column 3";
    QTest::newRow("graphic font") << mapOf(1, 0, false, {{1, 2, 0, Fonts}}) << Rows()
                                  << QStringList()
                                  << "Cell 1,2: font 16 is not a text font (0..15)";
    QTest::newRow("first row after the last")
        << mapOf(5, 4, false, {lot}) << Rows() << QStringList()
        << "No row to print between row 5 and row 4";
    QTest::newRow("header only") << mapOf(1, 1, true, {lot}) << Rows() << QStringList()
                                 << "No row to print between row 1 and row 1";
}

void TestBatchData::mapping()
{
    QFETCH(FileMapping, map);
    QFETCH(Rows, texts);
    QFETCH(QStringList, refusals);
    QFETCH(QString, error);
    DataTable table;
    table.rows = {{"Lot", "Name"},
                  {"L1", "Bolt"},
                  {"L2", "Nut"},
                  {"L3"},
                  {"", " " + QString(37, 'x')},
                  {"", QString(38, 'y')},
                  {"", "50%1 \u03A9"},
                  {"", "a\nb"}};
    QCOMPARE(mappingError(table, map, Fonts), error);
    if (!error.isEmpty())
        return;
    QList<Refusal> refused;
    const QList<Record> records = mapRecords(table, map, Cp1251, refused);
    QCOMPARE(textsOf(records), texts);
    QCOMPARE(refusalTexts(refused), refusals);
    QCOMPARE(records.last().index, texts.size() - 1);
    QCOMPARE(records.last().cells.last().font, map.cells.last().font);
}

void TestBatchData::cardNumbers_data()
{
    QTest::addColumn<CardNumbers>("settings");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("refusals");
    QTest::addColumn<QString>("error");
    QTest::newRow("fixed digits, prefix and suffix")
        << cards(8, 3, 1, 3, "N", "/A") << QStringList{"N008/A", "N009/A", "N010/A"}
        << QStringList() << QString();
    QTest::newRow("counting down through zero")
        << cards(2, 3, -2, 3) << QStringList{"002", "000", "-002"} << QStringList() << QString();
    QTest::newRow("as wide as the number")
        << cards(99, 2, 1, 0) << QStringList{"99", "100"} << QStringList() << QString();
    QTest::newRow("wider than the fixed digits")
        << cards(999, 2, 1, 3) << QStringList{"999", "1000"}
        << QStringList{"Record 2, cell 2,3: 1000 has more than 3 digits"} << QString();
    QTest::newRow("prefix makes it too long")
        << cards(9, 2, 1, 0, QString(36, 'p'))
        << QStringList{QString(36, 'p') + "9", QString(36, 'p') + "10"}
        << QStringList{"Record 2, cell 2,3: \"" + QString(36, 'p') +
                       "10\" is longer than 37 characters"}
        << QString();
    QTest::newRow("no numbers") << cards(1, 0, 1, 0) << QStringList() << QStringList()
                                << "The count must be 1..1000000";
    QTest::newRow("beyond 18 digits") << cards(999999999999999999, 2, 1, 0) << QStringList()
                                      << QStringList() << "The numbers must stay within 18 digits";
    QTest::newRow("a step that would overflow")
        << cards(0, 3, std::numeric_limits<qint64>::max(), 0) << QStringList() << QStringList()
        << "The numbers must stay within 18 digits";
}

void TestBatchData::cardNumbers()
{
    QFETCH(CardNumbers, settings);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, refusals);
    QFETCH(QString, error);
    QCOMPARE(cardNumbersError(settings, Fonts), error);
    if (!error.isEmpty())
        return;
    QList<Refusal> refused;
    const QList<Record> records = cardRecords(settings, Cp1251, refused);
    QStringList written;
    for (const Record &record : records) {
        QCOMPARE(record.cells.size(), 1);
        QCOMPARE(record.cells[0].row * 10 + record.cells[0].column, 23);
        written.append(record.cells[0].text);
    }
    QCOMPARE(written, texts);
    QCOMPARE(refusalTexts(refused), refusals);
}

// A run is found again by the data and what is made of it, never by the file's name.
void TestBatchData::runKeys()
{
    DataTable table;
    table.rows = {{"a", "b"}, {"c", "d"}, {"e", "f"}};
    const FileMapping all = mapOf(1, 0, false, {{1, 1, 0, 1}});
    const RunKey key = fileRunKey("h", "S", table, all);
    QCOMPARE(key.description, "rows 1-3; sheet \"S\"; 1,1=column 1 font 1");
    QCOMPARE(fileRunKey("h", "S", table, mapOf(1, 3, false, {{1, 1, 0, 1}})).description,
             key.description);
    QVERIFY(fileRunKey("h", "S", table, mapOf(2, 0, false, {{1, 1, 0, 1}})).description !=
            key.description);
    QVERIFY(fileRunKey("h", "S", table, mapOf(1, 0, false, {{1, 1, 1, 1}})).description !=
            key.description);
    const RunKey card = cardRunKey(cards(1, 5, 1, 3, "A"));
    QCOMPARE(card.sourceHash.size(), 64);
    QCOMPARE(cardRunKey(cards(1, 5, 1, 3, "A")).sourceHash, card.sourceHash);
    QVERIFY(cardRunKey(cards(1, 5, 1, 3, "B")).sourceHash != card.sourceHash);
}

QTEST_GUILESS_MAIN(TestBatchData)
#include "tst_batch_data.moc"
