#include "vprinter/wire.h"

namespace vp
{

quint8 Wire::take()
{
    if (pos_ >= in_.size())
        throw NeedMore{};
    return quint8(in_[pos_++]);
}

quint8 Wire::peek()
{
    if (pos_ >= in_.size())
        throw NeedMore{};
    return quint8(in_[pos_]);
}

void Wire::produce(quint8 byte, bool visible)
{
    if (produced_++ >= alreadySent_ && visible)
        out_.append(char(byte));
}

quint8 Wire::sb()
{
    const qint64 index = base_ + pos_;
    const quint8 byte = take();
    const int echo = fault_ ? fault_(index, byte) : byte;
    produce(quint8(echo), echo >= 0);
    return byte;
}

quint8 Wire::heldSb(bool released, bool &frame)
{
    const qint64 index = base_ + pos_;
    const quint8 byte = take();
    frame = false;
    if (!released) {
        const quint8 next = peek(); // NeedMore until the next byte or the release
        frame = next == 0x03;
    }
    if (!frame) {
        const int echo = fault_ ? fault_(index, byte) : byte;
        produce(quint8(echo), echo >= 0);
    }
    return byte;
}

quint8 Wire::bare()
{
    return take();
}

void Wire::send(quint8 byte)
{
    if (answers_)
        produce(byte);
}

void Wire::send(const QByteArray &bytes)
{
    for (char c : bytes)
        send(quint8(c));
}

void Wire::rb(quint8 byte)
{
    send(byte);
    if (answers_)
        take(); // the station's echo
}

} // namespace vp
