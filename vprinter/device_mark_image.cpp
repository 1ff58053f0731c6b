#include "vprinter/device.h"
#include "vprinter/mark_render.h"

namespace vp
{

namespace
{

// A header the station's store cannot take, and the bytes it announces.
QByteArray faultyReply(MarkImageFault fault)
{
    const int bands = fault == MarkImageFault::TallBands ? 5 : 4;
    const int width = fault == MarkImageFault::TallBands ? 200 : 1300;
    QByteArray reply;
    reply.append(char(bands));
    reply.append(char(width % 255));
    reply.append(char(width / 255));
    reply.append(QByteArray(std::max(bands * width, MarkDots::TransferBytes), char(0xFF)));
    return reply;
}

} // namespace

// The reply goes out as soon as the last request byte was echoed; nothing is owed back.
void Device::markImage(Wire &w)
{
    w.sb();
    w.sb();
    if (!w.sb(MarkImageOp) || !printerAnswers())
        return;
    if (faults_.markImage != MarkImageFault::None)
        w.send(faultyReply(faults_.markImage));
    else
        w.send(markImageReply(renderMark(mark_, printer_, logos_)));
}

} // namespace vp
