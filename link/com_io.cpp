#include "link/com_io.h"

#include "link/printable.h"
#include "link/wire_log.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace vlink
{

namespace
{

using std::chrono::milliseconds;

// What the far end may still need once the bytes' own line time is over, before the line is
// reset under them: a USB adapter's latency timer, or the reader of a pseudo-terminal being
// scheduled. A reply needs no such margin: its read waits far longer anyway.
constexpr milliseconds ResetMargin{50};
constexpr milliseconds DrainPoll{1};

// The other end has hung up (a pseudo-terminal's master closed, an adapter unplugged).
bool hangUpOn(int fd)
{
    pollfd line{fd, POLLIN, 0};
    return ::poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool holdsControl(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

QString DevicePathRefusal(const QString &device)
{
    if (device.isEmpty())
        return QStringLiteral("no device file for this port");
    // QSerialPort would build its lock file name from it, and a NUL sends that into endless
    // recursion.
    if (holdsControl(device))
        return QStringLiteral("the device path holds a control character");
    return {};
}

QString PortStatusTip(const QString &device)
{
    const QString refusal = DevicePathRefusal(device);
    if (refusal.isEmpty())
        return device;
    return device.isEmpty() ? refusal : EscapeControls(device) + QStringLiteral(": ") + refusal;
}

DeviceMap defaultDeviceMap()
{
    DeviceMap map;
    for (int i = 0; i < PortCount; ++i)
        map[i] = QStringLiteral("/dev/ttyS%1").arg(i);
    return map;
}

ComIo::ComIo(DeviceMap devices) : devices_(std::move(devices))
{
    QObject::connect(&serial_, &QSerialPort::errorOccurred, &serial_,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

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
    if (!DevicePathRefusal(device).isEmpty())
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
        const QString refusal = DevicePathRefusal(device);
        const QString reason = refusal.isEmpty() ? serial_.errorString() : refusal;
        serial_.clearError();
        throw ExCom(QStringLiteral("open_com error\n%1: %2")
                        .arg(EscapeControls(device), reason)
                        .toStdString());
    }
    device_ = device;
    ++opened_;
    closeQueued_ = false;
    hungUp_ = false;
    lineFree_ = {}; // nothing written yet: nothing to wait for
    return true;
}

void ComIo::closeCom()
{
    if (serial_.isOpen()) {
        // QSerialPort restores the old line settings at once: bytes still in the driver would
        // leave a UART at the old speed.
        drainOutput(ResetMargin);
        serial_.close();
    }
    serial_.clearError();
}

ComIo::Clock::duration ComIo::byteTime() const
{
    const qint64 bps = qMax(serial_.baudRate(), 1200);
    return std::chrono::nanoseconds(10'000'000'000LL / bps);
}

// A UART's driver knows how much it still holds; USB adapters and pseudo-terminals report an
// empty queue while bytes are still on their way, so the bytes' line time is waited for as well.
// Both are bounded: a line stuck by the driver cannot hang the station.
void ComIo::drainOutput(Clock::duration margin)
{
    const Clock::time_point free = lineFree_ + margin;
    if (free > Clock::now())
        std::this_thread::sleep_until(free);
    int queued = 0;
    if (::ioctl(serial_.handle(), TIOCOUTQ, &queued) != 0 || queued <= 0)
        return;
    const Clock::time_point limit = Clock::now() + queued * byteTime() + margin + DrainPoll;
    while (Clock::now() < limit && ::ioctl(serial_.handle(), TIOCOUTQ, &queued) == 0 && queued > 0)
        std::this_thread::sleep_for(DrainPoll);
}

bool ComIo::isOpen() const
{
    return serial_.isOpen();
}

bool ComIo::setBaud(int speedIndex)
{
    if (!serial_.isOpen() || speedIndex < 0 || speedIndex > 6)
        return false;
    drainOutput(ResetMargin); // a byte still on the line would be garbled by the new speed
    const bool ok = serial_.setBaudRate(SpeedTable[speedIndex]);
    serial_.clearError();
    return ok;
}

void ComIo::hangUp(const QString &reason)
{
    // The other end is gone: close once, so later commands fail fast instead of spinning.
    qCWarning(lcWire) << "line hung up:" << device_ << reason;
    hungUp_ = true;
    serial_.close();
    serial_.clearError();
}

// Between commands QSerialPort keeps watching the descriptor; once the other end is gone it
// reports a read error in a tight loop. The close is queued: the error comes from deep inside
// QSerialPort's own read.
void ComIo::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (closeQueued_ || !hangUpOn(serial_.handle()))
        return;
    closeQueued_ = true;
    QMetaObject::invokeMethod(
        &serial_,
        [this, line = opened_, reason = serial_.errorString()] {
            if (line == opened_ && serial_.isOpen() && !hungUp_)
                hangUp(reason);
        },
        Qt::QueuedConnection);
}

// A hang-up while the station waits for a byte shows as a read error as often as a resource one.
void ComIo::checkHangUp()
{
    const QSerialPort::SerialPortError error = serial_.error();
    if (error == QSerialPort::ResourceError ||
        (error == QSerialPort::ReadError && hangUpOn(serial_.handle())))
        hangUp(serial_.errorString());
    serial_.clearError();
}

// Straight to the descriptor, which QSerialPort keeps non-blocking. Its own write() only queues
// and then polls for room before writing; on a pseudo-terminal that made an echoed byte a quarter
// slower than a plain write. Nothing goes through QSerialPort's write buffer, so there is nothing
// there to overtake.
bool ComIo::writeAll(const char *data, qint64 size, int timeoutMs, qint64 &written)
{
    written = 0;
    const QDeadlineTimer deadline(timeoutMs);
    while (written < size) {
        const ssize_t n = ::write(serial_.handle(), data + written, size_t(size - written));
        if (n > 0) {
            written += n;
            lineFree_ = std::max(Clock::now(), lineFree_) + n * byteTime();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            const int error = errno;
            if (error == EIO || error == ENXIO || error == ENODEV)
                hangUp(QString::fromLocal8Bit(strerror(error)));
            return false;
        }
        // The driver's buffer is full: wait for room, within the time allowed.
        pollfd room{serial_.handle(), POLLOUT, 0};
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || ::poll(&room, 1, int(left)) <= 0)
            return false;
    }
    return true;
}

bool ComIo::writeByte(quint8 byte)
{
    if (!serial_.isOpen())
        return false;
    const char c = char(byte);
    qint64 written = 0;
    const bool ok = writeAll(&c, 1, WriteByteTimeoutMs, written);
    qCDebug(lcWire, "-> %02X%s", byte, ok ? "" : " (failed)");
    return ok;
}

bool ComIo::writeBlock(const QByteArray &block, int &written)
{
    written = 0;
    if (!serial_.isOpen())
        return false;
    // Allow the whole block at the line rate (10 bits a byte) plus a margin.
    const int bps = qMax(serial_.baudRate(), 1200);
    const int timeoutMs = int(qint64(block.size()) * 10 * 1000 / bps) + WriteByteTimeoutMs;
    qint64 sent = 0;
    const bool ok = writeAll(block.constData(), block.size(), timeoutMs, sent);
    written = int(sent);
    // The reply comes once the block has arrived: a read started earlier is spent waiting.
    if (ok && serial_.isOpen())
        drainOutput(Clock::duration::zero());
    qCDebug(lcWire) << "-> block" << block.size() << "bytes" << (ok ? "" : "(failed)");
    return ok;
}

bool ComIo::readByte(quint8 &byte)
{
    return readByteWithin(byte, ReadTimeoutMs(1));
}

bool ComIo::readByteWithin(quint8 &byte, int timeoutMs)
{
    byte = 0;
    if (!serial_.isOpen())
        return false;
    if (serial_.bytesAvailable() == 0)
        serial_.waitForReadyRead(std::clamp(timeoutMs, 0, ReadTimeoutMs(1)));
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
