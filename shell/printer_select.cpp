#include "shell/printer_select.h"

#include "link/exchange.h"

namespace vshell
{

QByteArray SelectPrinterFrame(int index)
{
    QByteArray frame;
    frame.append(char(SelectOp::Prefix));
    frame.append(char(SelectOp::Select));
    frame.append(char(SelectOp::Printer));
    frame.append(char(quint8(index)));
    quint8 sum = 0;
    for (char c : frame)
        sum = quint8(sum + quint8(c));
    frame.append(char(quint8(0x100 - sum)));
    return frame;
}

void RtsPulse(vlink::Port &port, int ms)
{
    port.setRts(true);
    vlink::Delay(ms);
    port.setRts(false);
}

bool SelectPrinterExchange(vlink::Port &port, int index)
{
    RtsPulse(port);
    for (char c : SelectPrinterFrame(index))
        if (!port.writeByte(quint8(c)))
            return false;
    quint8 reply = 0;
    return port.readByte(reply);
}

} // namespace vshell
