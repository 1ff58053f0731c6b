#include "batch/fragment_rules.h"

namespace batch
{

namespace
{

// The station trims what the text fragment editor writes the same way before it counts.
qsizetype trimmedLength(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return last - first;
}

QString outsideCodePage(const QString &text, const vlink::CodePage &codePage)
{
    QString outside;
    for (char32_t cp : text.toUcs4()) {
        const QString one = QString::fromUcs4(&cp, 1);
        if (!codePage.holds(one) && !outside.contains(one))
            outside += one;
    }
    return outside;
}

} // namespace

QString fragmentRefusal(const QString &text, const vlink::CodePage &codePage)
{
    if (text.size() > MaxFragmentLength + 1 || trimmedLength(text) > MaxFragmentLength)
        return QStringLiteral("\"%1\" is longer than %2 characters")
            .arg(text, QString::number(MaxFragmentLength));
    for (QChar c : text)
        if (c.unicode() < 32 || c.unicode() == 127)
            return QStringLiteral("\"%1\" holds a line break or another control character")
                .arg(QString(text).replace(u'\n', u' ').replace(u'\r', u' '));
    const QString outside = outsideCodePage(text, codePage);
    if (!outside.isEmpty())
        return QStringLiteral("\"%1\" holds characters the code page %2 has not: %3")
            .arg(text, codePage.name(), outside);
    return {};
}

QString refusalText(const Refusal &refusal)
{
    // One arg call: a "%1" in the operator's text stays as it is.
    return QStringLiteral("Record %1, cell %2,%3: %4")
        .arg(QString::number(refusal.record + 1), QString::number(refusal.row),
             QString::number(refusal.column), refusal.reason);
}

QList<Refusal> checkRecord(const Record &record, const vlink::CodePage &codePage)
{
    QList<Refusal> refusals;
    for (const CellText &cell : record.cells) {
        const QString reason = fragmentRefusal(cell.text, codePage);
        if (!reason.isEmpty())
            refusals.append({record.index, cell.row, cell.column, reason});
    }
    return refusals;
}

} // namespace batch
