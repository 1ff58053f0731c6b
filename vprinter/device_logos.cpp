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
constexpr quint8 Zero = 0x30;
constexpr quint8 Prefix = 0x12;

// What a logo script needs from the device.
struct LogoLine {
    LogoState &logos;
    const Faults &faults;
    bool answers;
    bool quiet; // the line went quiet in the middle of the command

    // The station stopped half way (its echo check failed) and the line went quiet: what came is
    // dropped, so the next command starts clean.
    bool abandoned(const Wire &w) const { return quiet && w.atEnd(); }
};

// The byte the station should send next, when it comes: a station that gave up sends something
// else, or nothing, and that byte starts the next command. True when it came.
bool expect(Wire &w, const LogoLine &line, quint8 expected)
{
    return !line.abandoned(w) && w.peek() == expected;
}

// The station's echo of a byte the device sent.
void takeEcho(Wire &w, const LogoLine &line, quint8 byte)
{
    if (expect(w, line, byte))
        w.bare();
}

// The "s" that closes a read, echoed.
void takeClose(Wire &w, const LogoLine &line)
{
    if (expect(w, line, Ack))
        w.sb();
}

// H, W and the 510-byte block, none of them echoed.
bool takeRecord(Wire &w, const LogoLine &line, QByteArray &record)
{
    for (int i = 0; i < LogoState::RecordSize; ++i) {
        if (line.abandoned(w))
            return false;
        record.append(char(w.bare()));
    }
    return true;
}

// After the logo number: the record, then the device's answer, which the station echoes. A logo
// number the store does not have (slot null) is refused. The answer is what counts: the logo is
// kept even when its echo is lost (a station that closes the line at once), and a first byte that
// is not the echo starts the next command.
void takeWrite(Wire &w, const LogoLine &line, QByteArray *slot)
{
    QByteArray record;
    if (!takeRecord(w, line, record))
        return;
    const quint8 reply = slot ? line.faults.logoWriteReply : Refused;
    if (!line.answers)
        return;
    w.send(reply);
    takeEcho(w, line, reply);
    if (reply == Ack)
        LogoState::store(*slot, record);
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
    takeClose(w, line);
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
    takeClose(w, line);
}

void printerLogo(Wire &w, const LogoLine &line)
{
    w.sb();
    const quint8 op = w.sb();
    if (line.abandoned(w))
        return;
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
        break;
    }
}

void names(Wire &w, const LogoLine &line, std::span<const QByteArray> stored)
{
    if (line.answers)
        w.send(LogoState::namesList(stored));
}

// A Depot logo number beyond the bank's 250: read as the deleted logo, never written.
QByteArray *depotSlot(LogoState &logos, quint8 number)
{
    LogoState::Bank &bank = logos.depot[std::size_t(logos.bank)];
    return number < LogoState::BankLogos ? &bank[number] : nullptr;
}

void depotLogo(Wire &w, const LogoLine &line, quint8 letter)
{
    if (line.abandoned(w))
        return;
    QByteArray *slot = depotSlot(line.logos, w.sb());
    if (letter == 'R')
        sendRecord(w, line, slot ? *slot : QByteArray());
    else
        takeWrite(w, line, slot);
}

} // namespace

// 0x07 opens the printer's logo transfers, and 0x01 0x03 its names list. The second byte of 0x07
// tells them from the mark image (0x07 0x08) and the keyboard channel (0x07 0x0A): the opcode's
// echo goes out first, and the replay after the second byte decides before touching the wire.
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
    const LogoLine line{logos_, faults_, printerAnswers(), settle_};
    if (op == NamesFirst) {
        if (second != NamesOp)
            return false;
        w.sb();
        w.sb();
        names(w, line, logos_.printer);
        return true;
    }
    if (second != ViewOp && second != ReadOp && second != WriteOp)
        return false;
    printerLogo(w, line);
    return true;
}

void Device::depotCommand(Wire &w)
{
    const bool answers = kind_ == Kind::Depot || kind_ == Kind::ViaDepot;
    const LogoLine line{logos_, faults_, answers, settle_};
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
        if (answers && bank < LogoState::Banks)
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
        if (w.sb(Zero) && w.sb(Prefix) && answers)
            ++logos_.u0Count;
        return;
    default:
        return; // unknown letter: echoed and ignored
    }
}

} // namespace vp
