#include "batch/card_numbers.h"

#include "batch/data_file.h"

#include <limits>

namespace batch
{

namespace
{

constexpr qint64 Largest = 999999999999999999; // 18 digits

QString paddedNumber(qint64 number, int digits)
{
    const QString magnitude =
        QString::number(number < 0 ? -number : number).rightJustified(digits, u'0');
    return number < 0 ? u'-' + magnitude : magnitude;
}

qint64 numberAt(const CardNumbers &cards, int index)
{
    return cards.first + cards.step * index;
}

QString quoted(const QString &text)
{
    return u'"' +
           QString(text)
               .replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
               .replace(QStringLiteral("\""), QStringLiteral("\\\"")) +
           u'"';
}

} // namespace

QString cardNumbersError(const CardNumbers &cards, int fontCount)
{
    if (cards.count < 1 || cards.count > MaxCardCount)
        return QStringLiteral("The count must be 1..%1").arg(MaxCardCount);
    if (cards.digits < 0 || cards.digits > MaxCardDigits)
        return QStringLiteral("The digits must be 0..%1").arg(MaxCardDigits);
    if (cards.row < 1 || cards.row > MaxRows || cards.column < 1 || cards.column > MaxColumns)
        return QStringLiteral("Cell %1,%2 is outside the mark (rows 1..%3, columns 1..%4)")
            .arg(cards.row)
            .arg(cards.column)
            .arg(MaxRows)
            .arg(MaxColumns);
    if (cards.font < 0 || cards.font >= fontCount)
        return QStringLiteral("Font %1 is not a text font (0..%2)")
            .arg(cards.font)
            .arg(fontCount - 1);
    const auto inRange = [](qint64 n) { return n >= -Largest && n <= Largest; };
    // Both ends in range bound every number between them; the step is checked first so that
    // the product cannot overflow.
    if (!inRange(cards.first) || !inRange(cards.step) ||
        (cards.step != 0 && std::abs(cards.step) > 2 * Largest / cards.count) ||
        !inRange(numberAt(cards, cards.count - 1)))
        return QStringLiteral("The numbers must stay within %1 digits").arg(MaxCardDigits);
    return {};
}

QString cardText(const CardNumbers &cards, int index)
{
    return cards.prefix + paddedNumber(numberAt(cards, index), cards.digits) + cards.suffix;
}

QList<Record> cardRecords(const CardNumbers &cards, const vlink::CodePage &codePage,
                          QList<Refusal> &refusals)
{
    refusals.clear();
    QList<Record> records;
    records.reserve(cards.count);
    for (int i = 0; i < cards.count; ++i) {
        Record record{i, {{cards.row, cards.column, cardText(cards, i), cards.font}}};
        const qint64 number = numberAt(cards, i);
        if (cards.digits > 0 && QString::number(std::abs(number)).size() > cards.digits)
            refusals.append(
                {i, cards.row, cards.column,
                 QStringLiteral("%1 has more than %2 digits").arg(number).arg(cards.digits)});
        refusals += checkRecord(record, codePage);
        records.append(record);
    }
    return records;
}

RunKey cardRunKey(const CardNumbers &cards)
{
    const QString description =
        QStringLiteral("card numbers from %1, %2 numbers, step %3, %4 digits, prefix %5, "
                       "suffix %6; %7,%8 font %9")
            .arg(QString::number(cards.first), QString::number(cards.count),
                 QString::number(cards.step), QString::number(cards.digits), quoted(cards.prefix),
                 quoted(cards.suffix), QString::number(cards.row), QString::number(cards.column),
                 QString::number(cards.font));
    return {contentHash(description.toUtf8()), description};
}

} // namespace batch
