#include "vprinter/logo_state.h"

namespace vp
{

namespace
{

constexpr int DotsOffset = 2;
constexpr int DotRoom = 500;
constexpr quint8 Blank = 0xFF;
constexpr int OverCountEntries = 300;

quint8 checkOf(const QByteArray &name)
{
    quint8 sum = 0;
    for (char c : name)
        sum = quint8(sum + quint8(c));
    return quint8(0 - sum);
}

// A record with the given header, dot bytes and the name (and check byte) of another.
QByteArray withHeader(const QByteArray &record, quint8 height, quint8 width, const QByteArray &dots)
{
    QByteArray out(LogoState::RecordSize, char(Blank));
    out[0] = char(height);
    out[1] = char(width);
    out.replace(DotsOffset, dots.size(), dots);
    out.replace(LogoState::NameOffset, LogoState::NameLength + 1,
                record.mid(LogoState::NameOffset, LogoState::NameLength + 1));
    return out;
}

// A pattern that tells every position apart, and never blank, so a shifted read shows.
QByteArray pattern(int count)
{
    QByteArray dots;
    for (int i = 0; i < count; ++i)
        dots.append(char(quint8(i % 0xFF)));
    return dots;
}

} // namespace

QByteArray LogoState::deletedRecord()
{
    QByteArray record(RecordSize, char(Blank));
    record[0] = 4;
    record[1] = 1;
    record.replace(NameOffset, NameLength, QByteArray(NameLength, ' '));
    record[NameOffset + NameLength] = char(checkOf(QByteArray(NameLength, ' ')));
    return record;
}

QByteArray LogoState::recordOf(const QByteArray &stored)
{
    return stored.isEmpty() ? deletedRecord() : stored;
}

void LogoState::store(QByteArray &slot, const QByteArray &record)
{
    if (record == deletedRecord())
        slot.clear();
    else
        slot = record;
}

QByteArray LogoState::faulty(const QByteArray &record, RecordFault fault)
{
    switch (fault) {
    case RecordFault::None:
        return record;
    case RecordFault::Oversized:
        return withHeader(record, 4, 150, pattern(DotRoom));
    case RecordFault::Empty:
        return withHeader(record, 0, 0, {});
    case RecordFault::BadCheck: {
        QByteArray out = record;
        out[NameOffset + NameLength] = char(quint8(out[NameOffset + NameLength]) + 1);
        return out;
    }
    case RecordFault::TallBands:
        return withHeader(record, 6, 10, pattern(60));
    }
    return record;
}

QByteArray LogoState::namesList(std::span<const QByteArray> stored, NamesFault fault)
{
    QByteArray entries;
    int count = 0;
    for (std::size_t n = 0; n < stored.size(); ++n) {
        if (stored[n].isEmpty())
            continue;
        entries.append(char(n >> 8));
        entries.append(char(n & 0xFF));
        entries.append(stored[n].mid(NameOffset, NameLength));
        ++count;
    }
    if (fault == NamesFault::OverCount) {
        for (; count < OverCountEntries; ++count)
            entries.append(char(count >> 8)).append(char(count & 0xFF)).append("EXTRA   ");
    }
    // A list cut off within its last entry; an empty one announces an entry that never comes.
    int announced = count;
    if (fault == NamesFault::Truncated && entries.isEmpty())
        ++announced;
    else if (fault == NamesFault::Truncated)
        entries.chop(NameLength / 2);
    entries.prepend(char(announced & 0xFF));
    return entries;
}

} // namespace vp
