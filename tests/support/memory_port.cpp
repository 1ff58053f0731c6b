#include "support/memory_port.h"

#include "support/protocol_check.h"

#include <set>

MemoryPort::MemoryPort(vp::Device &device, bool openNow)
{
    devices_[0] = &device;
    if (openNow) {
        current_ = 0;
        baud_ = device.speed();
    }
}

MemoryPort::MemoryPort(const std::array<vp::Device *, vlink::PortCount> &devices)
    : devices_(devices)
{
}

MemoryPort::~MemoryPort()
{
    std::set<vp::Device *> checked;
    for (vp::Device *d : devices_)
        if (d && checked.insert(d).second)
            checkProtocol(*d, expectedErrors_);
}

vp::Device *MemoryPort::device() const
{
    return current_ >= 0 ? devices_[current_] : nullptr;
}

bool MemoryPort::testCom(int index)
{
    return index >= 0 && index < vlink::PortCount && devices_[index] != nullptr;
}

bool MemoryPort::openCom(int index)
{
    if (!testCom(index))
        throw vlink::ExCom("open_com error\nmemory port: no such port");
    current_ = index;
    rx_.clear();
    return true;
}

void MemoryPort::closeCom()
{
    current_ = -1;
    rx_.clear();
}

bool MemoryPort::setBaud(int speedIndex)
{
    if (!isOpen() || speedIndex < 0 || speedIndex > 6)
        return false;
    baud_ = vlink::SpeedTable[speedIndex];
    return true;
}

void MemoryPort::collect()
{
    if (vp::Device *d = device())
        rx_ += d->takeOutput();
}

bool MemoryPort::writeByte(quint8 byte)
{
    vp::Device *d = device();
    if (!d)
        return false;
    written_.append(char(byte));
    d->receive(byte, baud_);
    collect();
    return true;
}

bool MemoryPort::writeBlock(const QByteArray &block, int &written)
{
    written = 0;
    for (char c : block) {
        if (!writeByte(quint8(c)))
            return false;
        ++written;
    }
    return true;
}

bool MemoryPort::readByte(quint8 &byte)
{
    byte = 0;
    ++readAttempts_;
    if (onRead)
        onRead();
    vp::Device *d = device();
    if (!d)
        return false;
    // A station that reads has stopped writing: the line is quiet.
    d->idle(vp::Device::HeldEchoQuietMs);
    collect();
    if (heldReads_ > 0) {
        --heldReads_;
        return false;
    }
    if (rx_.isEmpty())
        return false;
    byte = quint8(rx_.front());
    rx_.remove(0, 1);
    return true;
}

void MemoryPort::purge()
{
    ++purges_;
    collect();
    purgedBytes_ += int(rx_.size());
    rx_.clear();
}

void MemoryPort::setRts(bool on)
{
    if (isOpen())
        rts_.append(on);
}

QString MemoryPort::deviceName() const
{
    return isOpen() ? QStringLiteral("memory:COM%1").arg(current_ + 1) : QString();
}
