#include "vprinter/device.h"

namespace vp
{

void Device::setPrinterCount(int count)
{
    parked_[std::size_t(current_)] = printer_;
    printerCount_ = qBound(1, count, MaxPrinters);
    current_ = 0;
    printer_ = parked_[0];
}

// After the bare 0x12 0x03: 0x08, the printer index and a check byte, all without echo. The
// five bytes sum to 0 modulo 256. The addressed printer answers one byte and becomes the one
// every later command goes to; a bad frame or an absent printer leaves the line silent.
void Device::selectPrinter(Wire &w)
{
    const quint8 three = w.bare();
    const quint8 eight = w.bare();
    const quint8 index = w.bare();
    const quint8 check = w.bare();
    const bool sound = quint8(0x12 + three + eight + index + check) == 0;
    if (eight != 0x08 || !sound || index >= printerCount_ || !printerAnswers())
        return;
    w.setAnswers(true);
    w.send(SelectReply);
    parked_[std::size_t(current_)] = printer_;
    current_ = index;
    printer_ = parked_[std::size_t(current_)];
}

} // namespace vp
