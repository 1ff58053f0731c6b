#include "batch/csv_reader.h"

#include <QStringDecoder>
#include <array>

namespace batch
{

namespace
{

constexpr QChar Quote = u'"';
constexpr int SampleRecords = 10;

// One record from pos on; pos ends after its line break. False when a quote stays open.
bool nextRecord(QStringView text, qsizetype &pos, QChar separator, QStringList &fields)
{
    fields.clear();
    QString field;
    bool quoted = false;
    bool inQuotes = false;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (inQuotes) {
            if (c != Quote)
                field += c;
            else if (pos < text.size() && text[pos] == Quote)
                field += text[pos++];
            else
                inQuotes = false;
        } else if (c == Quote && field.isEmpty() && !quoted) {
            inQuotes = quoted = true;
        } else if (c == separator) {
            fields.append(field);
            field.clear();
            quoted = false;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && pos < text.size() && text[pos] == u'\n')
                ++pos;
            break;
        } else {
            field += c;
        }
    }
    fields.append(field);
    return !inQuotes;
}

// The common field count of the first records, or 0 when they disagree.
int steadyFieldCount(QStringView text, QChar separator, int &firstCount)
{
    qsizetype pos = 0;
    QStringList fields;
    int common = -1;
    for (int i = 0; i < SampleRecords && pos < text.size(); ++i) {
        if (!nextRecord(text, pos, separator, fields))
            break;
        const int count = int(fields.size());
        if (i == 0)
            firstCount = count;
        if (count == 1 && fields[0].isEmpty())
            continue;
        if (common >= 0 && common != count)
            return 0;
        common = count;
    }
    return std::max(common, 0);
}

} // namespace

QString decodeCsvText(const QByteArray &bytes, const vlink::CodePage &codePage)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // The mark tells the byte order and is dropped.
        QStringDecoder utf16(QStringDecoder::Utf16);
        return utf16.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? codePage.decode(bytes) : text;
}

QChar detectCsvSeparator(QStringView text)
{
    const std::array<QChar, 3> candidates = {u'\t', u';', u','};
    QChar best = u',';
    int bestSteady = 1;
    int bestFirst = 1;
    for (QChar separator : candidates) {
        int first = 1;
        const int steady = steadyFieldCount(text, separator, first);
        if (steady > bestSteady || (bestSteady == 1 && steady == 0 && first > bestFirst)) {
            best = separator;
            bestSteady = std::max(steady, 1);
            bestFirst = first;
        }
    }
    return best;
}

bool parseCsv(QStringView text, QChar separator, const ReadLimits &limits, DataTable &table,
              QString &error)
{
    TableBuilder builder(limits);
    qsizetype pos = 0;
    QStringList fields;
    for (int row = 0; pos < text.size(); ++row) {
        if (!nextRecord(text, pos, separator, fields)) {
            error = QStringLiteral("Row %1: a quoted field is not closed").arg(row + 1);
            return false;
        }
        for (int column = 0; column < fields.size(); ++column) {
            if (!builder.set(row, column, fields[column])) {
                error = builder.error();
                return false;
            }
        }
    }
    table = builder.take();
    return true;
}

bool readCsv(const QByteArray &bytes, const vlink::CodePage &codePage, const ReadLimits &limits,
             DataTable &table, QString &error)
{
    const QString text = decodeCsvText(bytes, codePage);
    return parseCsv(text, detectCsvSeparator(text), limits, table, error);
}

} // namespace batch
