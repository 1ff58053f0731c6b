#include "vprinter/device.h"

namespace vp
{

namespace
{

constexpr quint8 LogoOp = 0x07;
constexpr quint8 ViewOp = 0x00;
constexpr quint8 ReadOp = 0x01;
constexpr quint8 WriteOp = 0x89;
constexpr quint8 NamesFirst = 0x01;
constexpr quint8 NamesOp = 0x03;
constexpr quint8 Ack = 0x73; // "s"
constexpr quint8 Refused = 0x00;
constexpr quint8 ZeroDigit = 0x30;
constexpr quint8 Prefix = 0x12;

// What a logo script needs from the device.
struct LogoLine {
    LogoState &logos;
    const Faults &faults;
    bool answers;
};

// The "s" that closes a read, echoed.
void takeClose(Wire &w)
{
    w.owed(Ack, "closing \"s\"", true);
}

// H, W and the 510-byte block, none of them echoed.
QByteArray takeRecord(Wire &w)
{
    QByteArray record;
    for (int i = 0; i < LogoState::RecordSize; ++i)
        record.append(char(w.bare()));
    return record;
}

// After the logo number: the record, then the device's answer, which the station echoes. A logo
// number the store does not have (slot null) is refused. The device has taken the logo once it
// answered "s": a lost echo after that is the station's protocol error, not a lost logo.
void takeWrite(Wire &w, const LogoLine &line, QByteArray *slot)
{
    const QByteArray record = takeRecord(w);
    const quint8 reply = slot ? line.faults.logoWriteReply : Refused;
    if (!line.answers)
        return;
    if (reply == Ack)
        LogoState::store(*slot, record);
    w.send(reply);
    w.owed(reply, "echo of the write's answer");
}

QByteArray outgoing(const LogoLine &line, const QByteArray &slot)
{
    return LogoState::faulty(LogoState::recordOf(slot), line.faults.logoRecord);
}

// The whole record, then the station's closing "s".
void sendRecord(Wire &w, const LogoLine &line, const QByteArray &slot)
{
    if (!line.answers)
        return;
    w.send(outgoing(line, slot));
    takeClose(w);
}

// H, W and the W x H dot bytes the header announces, then the station's closing "s".
void sendView(Wire &w, const LogoLine &line, const QByteArray &slot)
{
    if (!line.answers)
        return;
    const QByteArray record = outgoing(line, slot);
    const int height = quint8(record[0]);
    const int width = quint8(record[1]);
    QByteArray dots = record.mid(2, height * width);
    dots.append(QByteArray(height * width - dots.size(), char(0xFF)));
    w.send(record.left(2));
    w.send(dots);
    takeClose(w);
}

void printerLogo(Wire &w, const LogoLine &line)
{
    w.sb();
    const quint8 op = w.sb();
    QByteArray &slot = line.logos.printer[w.sb()];
    switch (op) {
    case ViewOp:
        sendView(w, line, slot);
        break;
    case ReadOp:
        sendRecord(w, line, slot);
        break;
    case WriteOp:
        takeWrite(w, line, &slot);
        break;
    default:
        break; // the family check let no other through
    }
}

void names(Wire &w, const LogoLine &line, std::span<const QByteArray> stored)
{
    if (line.answers)
        w.send(LogoState::namesList(stored, line.faults.names));
}

// A Depot logo number beyond the bank's 250: read as the deleted logo, never written.
QByteArray *depotSlot(LogoState &logos, quint8 number)
{
    LogoState::Bank &bank = logos.depot[std::size_t(logos.bank)];
    return number < LogoState::BankLogos ? &bank[number] : nullptr;
}

void depotLogo(Wire &w, const LogoLine &line, quint8 letter)
{
    QByteArray *slot = depotSlot(line.logos, w.sb());
    if (letter == 'R')
        sendRecord(w, line, slot ? *slot : QByteArray());
    else
        takeWrite(w, line, slot);
}

} // namespace

// 0x07 opens the printer's logo transfers, and 0x01 0x03 its names list. The opcode's echo goes
// out first, and the replay after the second byte decides before touching the wire.
bool Device::logoCommand(Wire &w)
{
    const quint8 op = w.peek();
    if (op != LogoOp && op != NamesFirst)
        return false;
    if (pending_.size() < 2) {
        w.sb();
        w.peek(); // NeedMore
    }
    const quint8 second = quint8(pending_[1]);
    const LogoLine line{logos_, faults_, printerAnswers()};
    if (op == NamesFirst) {
        if (second != NamesOp)
            return false;
        w.sb();
        w.sb();
        names(w, line, logos_.printer);
        return true;
    }
    if (second == MarkImageOp) {
        markImage(w);
        return true;
    }
    if (second != ViewOp && second != ReadOp && second != WriteOp) {
        // No other command starts with 0x07 (the keyboard channel is taken before): the station
        // stopped after the opcode, and the next byte starts another command.
        w.sb();
        w.error(QStringLiteral("command 0x07 cut off after 1 byte: 0x%1 came next")
                    .arg(second, 2, 16, QLatin1Char('0')));
        return true;
    }
    printerLogo(w, line);
    return true;
}

void Device::depotCommand(Wire &w)
{
    const bool answers = kind_ == Kind::Depot || kind_ == Kind::ViaDepot;
    const LogoLine line{logos_, faults_, answers};
    const quint8 letter = w.sb();
    switch (letter) {
    case 'W':
    case 'R':
        depotLogo(w, line, letter);
        return;
    case 'N':
        w.sb();
        names(w, line, logos_.depot[std::size_t(logos_.bank)]);
        return;
    case 'S': {
        const quint8 bank = w.sb();
        // A bank beyond the highest one set is not selected.
        if (answers && bank < LogoState::Banks && bank <= logos_.maxBank)
            logos_.bank = bank;
        return;
    }
    case 'F': {
        const quint8 count = w.sb();
        if (answers)
            logos_.maxBank = count;
        return;
    }
    case 'V':
        w.sb();
        if (answers)
            w.send(logos_.version + QByteArray(1, '\0'));
        return;
    case 'U':
        if (w.sb(ZeroDigit) && w.sb(Prefix) && answers)
            ++logos_.u0Count;
        return;
    default:
        w.error(QStringLiteral("Depot command letter 0x%1 unknown")
                    .arg(letter, 2, 16, QLatin1Char('0')));
        return; // echoed and ignored
    }
}

} // namespace vp
