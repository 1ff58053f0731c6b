#include "link/exchange.h"

#include <chrono>
#include <thread>

namespace vlink
{

bool SendByte(Port &port, quint8 byte)
{
    port.purge();
    if (!port.writeByte(byte))
        return false;
    quint8 echo = 0;
    if (!port.readByte(echo))
        return false;
    return echo == byte;
}

bool ReceiveByte(Port &port, quint8 &byte)
{
    for (int attempt = 0; attempt < ReceiveAttempts; ++attempt) {
        if (port.readByte(byte))
            return port.writeByte(byte);
        Delay(port, ReceiveRetryMs);
    }
    return false;
}

bool ReadByte(Port &port, quint8 &byte)
{
    return port.readByte(byte);
}

void Delay(int ms)
{
    if (ms <= 0)
        return;
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

void Delay(Port &port, int ms)
{
    if (ms > 0)
        port.sleepUntil(port.now() + std::chrono::milliseconds(ms));
}

void Port::sleepUntil(Clock::time_point moment)
{
    std::this_thread::sleep_until(moment);
}

quint8 BitReverse(quint8 byte)
{
    quint8 out = 0;
    for (int i = 0; i < 8; ++i)
        if (byte & (1u << i))
            out |= quint8(0x80u >> i);
    return out;
}

QByteArray TrimText(const QByteArray &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && quint8(text[first]) <= 0x20)
        ++first;
    while (last > first && quint8(text[last - 1]) <= 0x20)
        --last;
    return text.mid(first, last - first);
}

Sequence &Sequence::send(quint8 byte)
{
    if (ok_)
        ok_ = SendByte(port_, byte);
    return *this;
}

Sequence &Sequence::send(std::initializer_list<quint8> bytes)
{
    for (quint8 b : bytes)
        send(b);
    return *this;
}

Sequence &Sequence::chars(const QByteArray &chars)
{
    for (char c : chars)
        send(quint8(c));
    return *this;
}

Sequence &Sequence::text(const QByteArray &chars)
{
    return this->chars(chars).send(0x0D);
}

Sequence &Sequence::read(quint8 &byte)
{
    if (ok_)
        ok_ = ReadByte(port_, byte);
    return *this;
}

Sequence &Sequence::receive(quint8 &byte)
{
    if (ok_)
        ok_ = ReceiveByte(port_, byte);
    return *this;
}

Sequence &Sequence::bare(quint8 byte)
{
    if (ok_)
        ok_ = port_.writeByte(byte);
    return *this;
}

Sequence &Sequence::block(const QByteArray &bytes)
{
    if (ok_) {
        int written = 0;
        ok_ = port_.writeBlock(bytes, written) && written == bytes.size();
    }
    return *this;
}

Sequence &Sequence::delay(int ms)
{
    if (ok_)
        Delay(port_, ms);
    return *this;
}

} // namespace vlink
