#include "link/mark_commands.h"

#include "link/exchange.h"

namespace vlink
{

namespace
{

quint8 op(MarkOp o)
{
    return quint8(o);
}

quint8 arg(MarkArg a)
{
    return quint8(a);
}

// Small numbers travel as one character; out-of-range values give the characters past "9".
quint8 digit(int n)
{
    return quint8(0x30 + n);
}

constexpr quint8 End = quint8(MarkOp::End);

// Opcode, row digit, column digit: the head of every cell command.
Sequence &cell(Sequence &seq, MarkOp o, int row, int column)
{
    return seq.send({op(o), digit(row), digit(column)});
}

bool cellText(Port &port, MarkOp o, int row, int column, const QByteArray &text)
{
    Sequence seq(port);
    return cell(seq, o, row, column).text(text).ok();
}

QByteArray padded(const QByteArray &text, int width)
{
    return text.size() >= width ? text : QByteArray(width - text.size(), '0') + text;
}

// L, then L bytes, each by the given primitive.
template <typename Read> bool readScript(Port &port, QByteArray &script, Read read)
{
    Sequence seq(port);
    seq.send({op(MarkOp::Special), arg(MarkArg::ScriptRead)});
    quint8 length = 0;
    read(seq, length);
    QByteArray text;
    for (int i = 0; i < length && seq.ok(); ++i) {
        quint8 byte = 0;
        read(seq, byte);
        text.append(char(byte));
    }
    if (seq.ok())
        script = text;
    return seq.ok();
}

quint8 storedMarkLetter(StoredMarkOp operation, bool &known)
{
    known = true;
    switch (operation) {
    case StoredMarkOp::MarkRead:
        return arg(MarkArg::MarkRead);
    case StoredMarkOp::ReadFromStorage:
        return arg(MarkArg::ReadFromStorage);
    case StoredMarkOp::WriteToStorage:
        return arg(MarkArg::WriteToStorage);
    }
    known = false;
    return 0;
}

} // namespace

bool TextFragmentWrite(Port &port, int row, int column, const QByteArray &text)
{
    return cellText(port, MarkOp::FragmentWrite, row, column, text.left(FragmentTextMax));
}

bool TextFragmentDelete(Port &port, int row, int column)
{
    return TextFragmentWrite(port, row, column, {});
}

bool TextFragmentRead(Port &port, int row, int column, Fragment &fragment)
{
    Sequence seq(port);
    quint8 length = 0;
    cell(seq, MarkOp::FragmentRead, row, column).read(length);
    Fragment read;
    for (int i = 0; i < length && seq.ok(); ++i) {
        quint8 byte = 0;
        seq.read(byte);
        read.text.append(char(byte));
    }
    seq.read(read.number).read(read.kind);
    if (seq.ok())
        fragment = read;
    return seq.ok();
}

bool FontSet(Port &port, int font, int row, int column)
{
    Sequence seq(port);
    return cell(seq, MarkOp::FontSet, row, column).send({digit(font), End}).ok();
}

bool CounterSet(Port &port, int row, int column, const QByteArray &text)
{
    return cellText(port, MarkOp::CounterSet, row, column, text);
}

bool TimeFormatSet(Port &port, int row, int column, const QByteArray &format)
{
    return cellText(port, MarkOp::TimeFormatSet, row, column, format);
}

bool PostDateSet(Port &port, int row, int column, const QByteArray &offset,
                 const QByteArray &format)
{
    if (!cellText(port, MarkOp::PostDateSet, row, column, format))
        return false;
    if (offset == PostDateOffsetKept)
        return true;
    return Sequence(port)
        .send({op(MarkOp::PostDateSet), arg(MarkArg::PostDateOffset)})
        .text(offset)
        .ok();
}

bool SpecFuncWrite(Port &port, const SpecFuncTexts &texts)
{
    const QByteArray g = TrimText(texts.g);
    const QByteArray n = TrimText(texts.n);
    const QByteArray e = TrimText(texts.e);
    const QByteArray s = TrimText(texts.s);
    const QByteArray p = TrimText(texts.p);
    const QByteArray q = TrimText(texts.q);
    const qsizetype total = n.size() + e.size() + s.size() + p.size();
    const bool hasG = !g.isEmpty();
    bool groupIsNumber = true;
    const int group = hasG ? g.toInt(&groupIsNumber) : 0;
    // A group that is no number cannot become a digit: send nothing rather than a stray byte.
    if (!groupIsNumber)
        return false;

    Sequence seq(port);
    const std::initializer_list<quint8> head = {op(MarkOp::Special), arg(MarkArg::ScriptWrite),
                                                arg(MarkArg::ScriptItems)};
    if (total > 0) {
        seq.send(head).send(arg(MarkArg::Fragment)).chars(padded(q, 2));
        seq.send(arg(MarkArg::Initial)).chars(padded(n, 8));
        seq.send(arg(MarkArg::Finish)).chars(padded(e, 8));
        seq.send(arg(MarkArg::Step)).chars(padded(s, 4));
        seq.send(arg(MarkArg::Discrete)).chars(padded(p, 4));
    }
    if (hasG) {
        if (total == 0)
            seq.send(head);
        seq.send({arg(MarkArg::Group), digit(group)});
    }
    if (total == 0 && !hasG)
        seq.send(head);
    return seq.send(End).ok();
}

bool SpecFuncRead(Port &port, QByteArray &script)
{
    return readScript(port, script, [](Sequence &seq, quint8 &byte) { seq.read(byte); });
}

bool ScriptRead(Port &port, QByteArray &script)
{
    return readScript(port, script, [](Sequence &seq, quint8 &byte) { seq.receive(byte); });
}

bool StoredMark(Port &port, StoredMarkOp operation, int number)
{
    bool known = false;
    const quint8 letter = storedMarkLetter(operation, known);
    if (!known)
        return false;
    return Sequence(port).send({op(MarkOp::StoredMark), letter, digit(number), End}).ok();
}

bool MarkLoad(Port &port, quint8 logo, int column, int row)
{
    Sequence seq(port);
    return cell(seq, MarkOp::MarkLoad, row, column).send({logo, End}).ok();
}

} // namespace vlink
