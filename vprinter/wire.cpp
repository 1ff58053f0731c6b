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

bool Wire::sb(quint8 expected)
{
    const quint8 next = peek();
    if (next != expected) {
        error(QStringLiteral("0x%1 expected, 0x%2 came: the command is cut off there")
                  .arg(expected, 2, 16, QLatin1Char('0'))
                  .arg(next, 2, 16, QLatin1Char('0')));
        return false;
    }
    sb();
    return true;
}

bool Wire::owed(quint8 byte, const char *what, bool echoBack)
{
    if (!answers_)
        return false;
    if (atEnd() && quiet_) {
        error(QStringLiteral("no %1").arg(QLatin1String(what)));
        return false;
    }
    const quint8 next = peek();
    if (next != byte) {
        error(QStringLiteral("%1 0x%2 expected, 0x%3 came")
                  .arg(QLatin1String(what))
                  .arg(byte, 2, 16, QLatin1Char('0'))
                  .arg(next, 2, 16, QLatin1Char('0')));
        return false;
    }
    if (echoBack)
        sb();
    else
        take();
    return true;
}

bool Wire::takeIf(quint8 byte)
{
    if (atEnd() && quiet_)
        return false;
    if (peek() != byte)
        return false;
    take();
    return true;
}

void Wire::error(const QString &what)
{
    errors_.append({base_ + pos_, what});
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
