#include "link/names_list.h"

#include "link/logo_record.h"

namespace vlink
{

LogoNames ParseLogoNames(const QByteArray &text)
{
    LogoNames names;
    for (qsizetype at = 0; at + NamesEntrySize <= text.size(); at += NamesEntrySize) {
        const int number = (quint8(text[at]) << 8) | quint8(text[at + 1]);
        names.append({number, NameFromWire(text.mid(at + 2, NamesEntrySize - 2))});
    }
    return names;
}

QString namesFailureText(NamesRead result)
{
    switch (result) {
    case NamesRead::Ok:
        return {};
    case NamesRead::Failed:
        return QStringLiteral("LogoNamesList Read Error");
    case NamesRead::OverCount:
        return QStringLiteral("LogoNamesList Count>256 ");
    }
    return {};
}

namespace
{

// What follows the entries the count announced: a count that wrapped past the byte.
void takeRunOn(Port &port, QByteArray &text)
{
    quint8 byte = 0;
    for (int taken = 0; taken < NamesRunOnLimit; ++taken) {
        if (!port.readByteWithin(byte, NamesRunOnQuietMs))
            return;
        text.append(char(byte));
    }
}

} // namespace

NamesRead ReceiveLogoNames(Sequence &seq, LogoNames &names)
{
    quint8 count = 0;
    seq.delay(NamesReplyPauseMs).read(count);
    QByteArray text;
    for (int i = 0; i < count * NamesEntrySize && seq.ok(); ++i) {
        quint8 byte = 0;
        if (seq.read(byte).ok())
            text.append(char(byte));
    }
    if (!seq.ok())
        return NamesRead::Failed;
    takeRunOn(seq.port(), text);
    if (text.size() % NamesEntrySize != 0)
        return NamesRead::Failed;
    if (text.size() / NamesEntrySize > MaxNamesCount)
        return NamesRead::OverCount;
    names = ParseLogoNames(text);
    return NamesRead::Ok;
}

} // namespace vlink
