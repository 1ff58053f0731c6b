#pragma once

#include "support/memory_port.h"

#include <QByteArray>
#include <functional>
#include <initializer_list>

// One station command against a port, so tables can hold commands with their arguments bound.
using Command = std::function<bool(vlink::Port &)>;

// Wire bytes written as numbers, the way a line trace reads.
inline QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

// The blank filler of a logo record.
inline QByteArray ff(int count)
{
    return QByteArray(count, char(0xFF));
}

// The read of the mark cell at (row, column).
inline QByteArray cellReadRequest(int row, int column)
{
    return bytes({0x11, 0x30 + row, 0x30 + column});
}

// A printer logo record of 2 bands and 3 columns, the middle one full.
inline QByteArray middleColumnLogo()
{
    QByteArray record = ff(512);
    record[0] = 2;
    record[1] = 3;
    record[4] = record[5] = 0;
    return record;
}

// The command took every byte it was owed and the device is waiting for the next one.
inline bool noStrayBytes(MemoryPort &port, vp::Device &device)
{
    quint8 stray = 0;
    return !port.readByte(stray) && device.settled();
}

// What the station wrote for a command whose echo at faultAt comes back wrong (drop = false) or
// not at all (drop = true); failed is set when the command gave up, as it must.
inline QByteArray sentWithEchoFault(const Command &command, int faultAt, bool drop, bool &failed)
{
    vp::Device device;
    (drop ? device.faults().dropEchoAt : device.faults().wrongEchoAt) = faultAt;
    MemoryPort port(device);
    failed = !command(port);
    return port.written();
}
