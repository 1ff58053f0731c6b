#include "link/com_io.h"

#include "link/wire_log.h"

#include <QDeadlineTimer>

namespace vlink
{

DeviceMap defaultDeviceMap()
{
    DeviceMap map;
    for (int i = 0; i < PortCount; ++i)
        map[i] = QStringLiteral("/dev/ttyS%1").arg(i);
    return map;
}

ComIo::ComIo(DeviceMap devices) : devices_(std::move(devices)) {}

ComIo::~ComIo()
{
    closeCom();
}

QString ComIo::deviceFor(int index) const
{
    if (index < 0 || index >= PortCount)
        return {};
    return devices_[index];
}

bool ComIo::openDevice(const QString &device)
{
    if (device.isEmpty())
        return false;
    serial_.setPortName(device);
    if (!serial_.open(QIODevice::ReadWrite))
        return false;
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    serial_.clearError();
    return true;
}

bool ComIo::testCom(int index)
{
    closeCom();
    const bool ok = openDevice(deviceFor(index));
    serial_.clearError();
    if (ok)
        serial_.close();
    return ok;
}

bool ComIo::openCom(int index)
{
    closeCom();
    const QString device = deviceFor(index);
    if (!openDevice(device)) {
        const QString reason = device.isEmpty() ? QStringLiteral("no device file for this port")
                                                : serial_.errorString();
        serial_.clearError();
        throw ExCom(QStringLiteral("open_com error\n%1: %2").arg(device, reason).toStdString());
    }
    device_ = device;
    hungUp_ = false;
    timeoutsApplied_ = false;
    return true;
}

void ComIo::closeCom()
{
    if (serial_.isOpen())
        serial_.close();
    serial_.clearError();
}

bool ComIo::isOpen() const
{
    return serial_.isOpen();
}

bool ComIo::setBaud(int speedIndex)
{
    if (!serial_.isOpen() || speedIndex < 0 || speedIndex > 6)
        return false;
    const bool ok = serial_.setBaudRate(SpeedTable[speedIndex]);
    serial_.clearError();
    return ok;
}

void ComIo::setTimeouts()
{
    // The working time-outs are applied by readByte itself; nothing to store in the driver.
    timeoutsApplied_ = true;
}

// QSerialPort's waitForBytesWritten waits its whole time-out when nothing is pending, so it is
// only called while bytes wait.
bool ComIo::waitWritten(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (serial_.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !serial_.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    return serial_.bytesToWrite() == 0;
}

void ComIo::checkHangUp()
{
    if (serial_.error() == QSerialPort::ResourceError) {
        // The other end is gone: close once, so later commands fail fast instead of spinning.
        qCWarning(lcWire) << "line hung up:" << device_ << serial_.errorString();
        hungUp_ = true;
        serial_.close();
    }
    serial_.clearError();
}

bool ComIo::writeByte(quint8 byte)
{
    if (!serial_.isOpen())
        return false;
    const char c = char(byte);
    const bool queued = serial_.write(&c, 1) == 1;
    const bool ok = queued && waitWritten(WriteByteTimeoutMs);
    checkHangUp();
    qCDebug(lcWire, "-> %02X%s", byte, ok ? "" : " (failed)");
    return ok;
}

bool ComIo::writeBlock(const QByteArray &block, int &written)
{
    written = 0;
    if (!serial_.isOpen())
        return false;
    // Wait for the whole block at the line rate (10 bits a byte) plus a margin, so a reply is
    // never read while the block is still leaving.
    const int bps = qMax(serial_.baudRate(), 1200);
    const int timeoutMs = int(qint64(block.size()) * 10 * 1000 / bps) + WriteByteTimeoutMs;
    const qint64 queued = serial_.write(block);
    const bool ok = queued == block.size() && waitWritten(timeoutMs);
    written = ok ? int(block.size()) : int(qMax<qint64>(0, queued - serial_.bytesToWrite()));
    checkHangUp();
    qCDebug(lcWire) << "-> block" << block.size() << "bytes" << (ok ? "" : "(failed)");
    return ok;
}

bool ComIo::readByte(quint8 &byte)
{
    byte = 0;
    if (!serial_.isOpen())
        return false;
    if (serial_.bytesAvailable() == 0)
        serial_.waitForReadyRead(ReadTotalConstantMs + ReadTotalPerByteMs);
    char c = 0;
    const bool ok = serial_.bytesAvailable() > 0 && serial_.read(&c, 1) == 1;
    checkHangUp();
    if (ok) {
        byte = quint8(c);
        qCDebug(lcWire, "<- %02X", byte);
    }
    return ok;
}

void ComIo::purge()
{
    if (!serial_.isOpen())
        return;
    serial_.clear(QSerialPort::Input);
    serial_.clearError();
}

void ComIo::setRts(bool on)
{
    if (!serial_.isOpen())
        return;
    // Pseudo-terminals refuse RTS; the pulse is then simply skipped.
    serial_.setRequestToSend(on);
    serial_.clearError();
}

QString ComIo::deviceName() const
{
    return serial_.isOpen() ? device_ : QString();
}

} // namespace vlink
