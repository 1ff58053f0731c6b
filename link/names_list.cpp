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

Sequence &ReceiveLogoNames(Sequence &seq, LogoNames &names)
{
    quint8 count = 0;
    seq.delay(NamesReplyPauseMs).read(count);
    QByteArray text;
    for (int i = 0; i < count * NamesEntrySize && seq.ok(); ++i) {
        quint8 byte = 0;
        if (seq.read(byte).ok())
            text.append(char(byte));
    }
    if (seq.ok())
        names = ParseLogoNames(text);
    return seq;
}

} // namespace vlink
