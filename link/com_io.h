#pragma once

#include "link/port.h"

#include <QSerialPort>
#include <array>

namespace vlink
{

// COM1..COM6 as device files.
using DeviceMap = std::array<QString, PortCount>;
DeviceMap defaultDeviceMap();

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
    void setTimeouts() override;
    bool writeByte(quint8 byte) override;
    bool writeBlock(const QByteArray &block, int &written) override;
    bool readByte(quint8 &byte) override;
    void purge() override;
    void setRts(bool on) override;
    QString deviceName() const override;

    // True once the other end hung up; the port was closed then and stays closed.
    bool hungUp() const { return hungUp_; }

private:
    bool openDevice(const QString &device);
    bool writeAll(const char *data, qint64 size, int timeoutMs, qint64 &written);
    void checkHangUp();
    void hangUp(const QString &reason);
    QString deviceFor(int index) const;

    DeviceMap devices_;
    QSerialPort serial_;
    QString device_;
    bool timeoutsApplied_ = false;
    bool hungUp_ = false;
};

} // namespace vlink
