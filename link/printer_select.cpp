#include "link/printer_select.h"

#include "link/exchange.h"

namespace vlink
{

QByteArray CheckedFrame(std::initializer_list<quint8> bytes)
{
    QByteArray frame;
    quint8 sum = 0;
    for (quint8 b : bytes) {
        frame.append(char(b));
        sum = quint8(sum + b);
    }
    frame.append(char(quint8(0x100 - sum)));
    return frame;
}

QByteArray SelectPrinterFrame(int index)
{
    return CheckedFrame({quint8(SelectOp::Prefix), quint8(SelectOp::Select),
                         quint8(SelectOp::Printer), quint8(index)});
}

void RtsPulse(Port &port, int ms)
{
    port.setRts(true);
    Delay(ms);
    port.setRts(false);
}

bool SelectPrinterExchange(Port &port, int index)
{
    RtsPulse(port);
    for (char c : SelectPrinterFrame(index))
        if (!port.writeByte(quint8(c)))
            return false;
    quint8 reply = 0;
    return port.readByte(reply);
}

} // namespace vlink
