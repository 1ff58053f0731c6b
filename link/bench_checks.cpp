#include "link/bench_checks.h"

#include "link/exchange.h"
#include "link/machine_commands.h"
#include "link/printer_select.h"

namespace vlink
{

QByteArray AnnounceFrame()
{
    return CheckedFrame({0x12, 0x02, 0x04});
}

AnnounceResult AnnounceCheck(Port &port)
{
    port.openCom(BenchCom);
    port.setBaud(BenchSpeed);
    port.setRts(false);
    Delay(100);
    port.setRts(true);
    AnnounceResult result;
    for (char c : AnnounceFrame())
        if (!port.writeByte(quint8(c)))
            ++result.failedWrites;
    quint8 reply = 0;
    result.announced = port.readByte(reply) && reply == AnnounceReply;
    return result;
}

bool SetByteCheck(Port &port)
{
    return SendByte(port, quint8(MachineOp::Set));
}

} // namespace vlink
