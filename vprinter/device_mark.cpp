#include "vprinter/device.h"
#include "vprinter/mark_render.h"

namespace vp
{

namespace
{

constexpr quint8 End = 0x0D;

// A digit the station sent for a row, column, font or mark number.
int digitValue(quint8 digit)
{
    return int(digit) - 0x30;
}

// Characters up to 0x0D, each echoed.
QByteArray textTo0D(Wire &w)
{
    QByteArray text;
    for (quint8 c = w.sb(); c != End; c = w.sb())
        text.append(char(c));
    return text;
}

struct Cell {
    int row = 0;
    int column = 0;
};

// Opcode, row digit, column digit.
Cell cellHead(Wire &w)
{
    w.sb();
    const int row = digitValue(w.sb());
    return {row, digitValue(w.sb())};
}

// A fragment turned into another kind keeps its font, unless it had none (a logo's marker).
quint8 keptFont(const MarkFragment &f, const PrinterState &printer)
{
    return f.number < printer.fontCount ? f.number : 0;
}

void setKind(MarkFragment &f, quint8 kind, const QByteArray &text, const PrinterState &printer)
{
    f.number = keptFont(f, printer);
    f.kind = kind;
    f.text = text.left(MarkState::TextMax);
    f.logo = 0;
}

// Where the station is told to write outside the mark, the printer ignores it.
MarkFragment *target(MarkState &mark, Cell cell, bool answers)
{
    return answers ? mark.cell(cell.row, cell.column) : nullptr;
}

void fragmentRead(Wire &w, const MarkState &mark)
{
    const Cell c = cellHead(w);
    const MarkFragment *f = mark.cell(c.row, c.column);
    const MarkFragment empty;
    if (!f)
        f = &empty;
    const QByteArray text = f->text.left(255);
    w.send(quint8(text.size()));
    w.send(text);
    w.send(f->number);
    w.send(f->kind);
}

void fragmentWrite(Wire &w, MarkState &mark, const PrinterState &printer, bool answers)
{
    const Cell c = cellHead(w);
    const QByteArray text = textTo0D(w);
    MarkFragment *f = target(mark, c, answers);
    if (!f)
        return;
    if (text.isEmpty())
        *f = MarkFragment{}; // the fragment delete
    else
        setKind(*f, MarkFragment::TextOrGraphic, text, printer);
}

// A font the printer does not have is refused, so no text turns into a graphic by its font; a
// logo keeps its marker.
void fontSet(Wire &w, MarkState &mark, const PrinterState &printer, bool answers)
{
    const Cell c = cellHead(w);
    const int font = digitValue(w.sb());
    if (!w.sb(End))
        return;
    MarkFragment *f = target(mark, c, answers);
    if (f && font >= 0 && font < printer.fontCount && !IsGraphic(*f, printer))
        f->number = quint8(font);
}

// The counting direction is the one the running-number direction command set just before.
void counterSet(Wire &w, MarkState &mark, const PrinterState &printer, bool answers)
{
    const Cell c = cellHead(w);
    const QByteArray value = textTo0D(w);
    if (MarkFragment *f = target(mark, c, answers))
        setKind(*f, printer.runningForward ? MarkFragment::CounterUp : MarkFragment::CounterDown,
                value, printer);
}

void timeFormatSet(Wire &w, MarkState &mark, const PrinterState &printer, bool answers)
{
    const Cell c = cellHead(w);
    const QByteArray format = textTo0D(w);
    if (MarkFragment *f = target(mark, c, answers))
        setKind(*f, MarkFragment::TimeDate, format, printer);
}

// 0x1D "D" carries the day count of every post date; 0x1D row column carries a cell's format.
void postDateSet(Wire &w, MarkState &mark, PrinterState &printer, bool answers)
{
    w.sb();
    const quint8 second = w.sb();
    if (second == 0x44) {
        const QByteArray offset = textTo0D(w);
        bool ok = false;
        const int days = offset.toInt(&ok);
        if (answers && ok && days >= 0 && days <= 0xFFFF)
            printer.postDateDays = quint16(days);
        return;
    }
    const Cell c{digitValue(second), digitValue(w.sb())};
    const QByteArray format = textTo0D(w);
    if (MarkFragment *f = target(mark, c, answers))
        setKind(*f, MarkFragment::PostDate, format, printer);
}

void markLoad(Wire &w, MarkState &mark, const PrinterState &printer, bool answers)
{
    const Cell c = cellHead(w);
    const quint8 logo = w.sb();
    if (!w.sb(End))
        return;
    if (MarkFragment *f = target(mark, c, answers))
        *f = MarkFragment{{}, printer.fontCount, MarkFragment::TextOrGraphic, logo};
}

void storedMark(Wire &w, MarkState &mark, bool answers)
{
    w.sb();
    const quint8 letter = w.sb();
    const int slot = digitValue(w.sb());
    if (!w.sb(End) || !answers || slot < 0 || slot >= MarkState::StoredCount)
        return;
    if (letter == 0x4D) {
        mark.cells = mark.stored[slot];
        mark.currentStored = slot;
    } else if (letter == 0x52) {
        mark.cells = mark.stored[slot];
    } else if (letter == 0x57) {
        mark.stored[slot] = mark.cells;
    }
}

// The cell named after "Q" holds the expanded counter while the script gives it any value.
void markSpecFuncCell(MarkState &mark, const QByteArray &script)
{
    if (!script.startsWith('Q') || script.size() < 3)
        return;
    const int end = script.indexOf('G');
    const QByteArray values = script.mid(3, end < 0 ? -1 : end - 3);
    bool anyValue = false;
    for (char c : values)
        anyValue = anyValue || (c >= '1' && c <= '9');
    MarkFragment *f = mark.cell(digitValue(script[1]), digitValue(script[2]));
    if (f && anyValue)
        f->kind = MarkFragment::SpecFunc;
}

// 0x01 "Q" "I", then the script's items up to 0x0D.
void scriptWrite(Wire &w, MarkState &mark, bool answers)
{
    w.sb();
    w.sb();
    if (!w.sb(0x49))
        return;
    const QByteArray script = textTo0D(w).left(255);
    if (!answers)
        return;
    mark.script = script;
    markSpecFuncCell(mark, script);
    startSpecialRun(mark);
}

// The special-function read and the script read ask alike; only the first reads the reply
// plainly, the second echoes every byte. The device cannot tell them apart before it answers,
// and holding a byte back for an echo would starve the plain reader. So the reply goes out at
// once, and the first byte back decides: the echo of the length makes it the script read, and
// from then on every byte is owed its echo; any other byte, or a quiet line, leaves it the
// plain read. The station never sends a command starting with the length of a script in the
// layout it writes (0, 2, 31 or 33).
void scriptRead(Wire &w, const MarkState &mark, bool answers)
{
    w.sb();
    w.sb();
    if (!answers)
        return;
    QByteArray reply = mark.script.left(255);
    reply.prepend(char(reply.size()));
    w.send(reply);
    if (!w.takeIf(quint8(reply[0])))
        return;
    for (qsizetype i = 1; i < reply.size(); ++i)
        if (!w.owed(quint8(reply[i]), "echo of a script byte"))
            return;
}

} // namespace

// 0x1A, 0x0C and 0x01 open other families too; their second byte tells. The opcode's echo goes
// out first (the station waits for it before it sends the second byte); the replay after the
// second byte arrived decides before touching the wire, so another family's script can still
// take the command from its first byte.
bool Device::markCommand(Wire &w)
{
    const quint8 op = w.peek();
    const bool shared = op == 0x1A || op == 0x0C || op == 0x01;
    if (shared && pending_.size() < 2) {
        w.sb();
        w.peek(); // NeedMore
    }
    const quint8 second = shared ? quint8(pending_[1]) : 0;
    const bool answers = printerAnswers();
    switch (op) {
    case 0x11:
        fragmentRead(w, mark_);
        return true;
    case 0x18:
        fragmentWrite(w, mark_, printer_, answers);
        return true;
    case 0x19:
        counterSet(w, mark_, printer_, answers);
        return true;
    case 0x1A:
        if (second == 0x54 || second == 0x44) // "T", "D": the clock
            return false;
        timeFormatSet(w, mark_, printer_, answers);
        return true;
    case 0x1B:
        fontSet(w, mark_, printer_, answers);
        return true;
    case 0x1C:
        markLoad(w, mark_, printer_, answers);
        return true;
    case 0x1D:
        postDateSet(w, mark_, printer_, answers);
        return true;
    case 0x0C:
        if (second != 0x4D && second != 0x52 && second != 0x57)
            return false;
        storedMark(w, mark_, answers);
        return true;
    case 0x01:
        if (second == 0x05) {
            scriptRead(w, mark_, answers);
            return true;
        }
        if (second == 0x51) {
            scriptWrite(w, mark_, answers);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace vp
