#include "batch/journal_summary.h"

#include <QHash>

namespace batch
{

namespace
{

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

} // namespace

int resumePoint(const QList<JournalEntry> &entries, int recordCount)
{
    QHash<int, RecordState> states;
    for (const JournalEntry &entry : entries)
        states.insert(entry.index, entry.state);
    for (int i = 0; i < recordCount; ++i) {
        const auto found = states.constFind(i);
        if (found == states.cend() ||
            (*found != RecordState::Printed && *found != RecordState::Skipped))
            return i;
    }
    return recordCount;
}

QList<int> uncertainRecords(const QList<JournalEntry> &entries)
{
    QList<int> uncertain;
    for (const JournalEntry &entry : entries)
        if (entry.state == RecordState::Loaded)
            uncertain.append(entry.index);
    return uncertain;
}

QByteArray journalCsv(const QList<JournalEntry> &entries)
{
    QString csv = QStringLiteral("\uFEFFrecord,texts,state,time\r\n");
    for (const JournalEntry &entry : entries)
        csv += QStringLiteral("%1,%2,%3,%4\r\n")
                   .arg(QString::number(entry.index + 1), csvField(entry.texts.join(u'\n')),
                        stateName(entry.state), entry.time.toUTC().toString(Qt::ISODateWithMs));
    return csv.toUtf8();
}

} // namespace batch
