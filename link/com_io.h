#pragma once

#include "link/port.h"

#include <QSerialPort>
#include <array>
#include <chrono>

namespace vlink
{

// COM1..COM6 as device files.
using DeviceMap = std::array<QString, PortCount>;
DeviceMap defaultDeviceMap();

// Why a device file name cannot serve as a port, empty when it can: none given, or one holding
// a NUL or another control character (the port then counts as absent).
QString DevicePathRefusal(const QString &device);
// The port menu's status tip for a port's device file: the file, or why it is refused.
QString PortStatusTip(const QString &device);

// The serial port over QSerialPort in blocking mode, one transfer at a time on the caller's thread.
class ComIo : public Port
{
public:
    explicit ComIo(DeviceMap devices = defaultDeviceMap());
    ~ComIo() override;
    ComIo(const ComIo &) = delete;
    ComIo &operator=(const ComIo &) = delete;

    void setDeviceMap(const DeviceMap &devices) { devices_ = devices; }
    const DeviceMap &deviceMap() const { return devices_; }

    bool testCom(int index) override;
    bool openCom(int index) override;
    void closeCom() override;
    bool isOpen() const override;
    bool setBaud(int speedIndex) override;
    bool writeByte(quint8 byte) override;
    bool writeBlock(const QByteArray &block, int &written) override;
    bool readByte(quint8 &byte) override;
    bool readByteWithin(quint8 &byte, int timeoutMs) override;
    void purge() override;
    void setRts(bool on) override;
    QString deviceName() const override;

    // True once the other end hung up; the port was closed then and stays closed.
    bool hungUp() const { return hungUp_; }

private:
    using Clock = std::chrono::steady_clock;

    bool openDevice(const QString &device);
    bool writeAll(const char *data, qint64 size, int timeoutMs, qint64 &written);
    Clock::duration byteTime() const;
    // Waits, bounded, until what was written has left the line, and margin more.
    void drainOutput(Clock::duration margin);
    void checkHangUp();
    void hangUp(const QString &reason);
    // A hang-up seen by the event loop while no command runs.
    void onError(QSerialPort::SerialPortError error);
    QString deviceFor(int index) const;

    DeviceMap devices_;
    QSerialPort serial_;
    QString device_;
    bool hungUp_ = false;
    // Counts the opens, so a close queued for one line never closes the next.
    quint64 opened_ = 0;
    bool closeQueued_ = false;
    // When the last byte written will have left the line at the current speed.
    Clock::time_point lineFree_{};
};

} // namespace vlink
