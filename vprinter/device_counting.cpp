#include "vprinter/device.h"

namespace vp
{

namespace
{

// One step of a counter's value in its own width: "0009" up is "0010", "0000" down is "9999".
// A value that is not all digits does not count.
QByteArray counted(const QByteArray &value, bool up)
{
    for (char c : value)
        if (c < '0' || c > '9')
            return value;
    QByteArray next = value;
    for (qsizetype i = next.size() - 1; i >= 0; --i) {
        if (next[i] != (up ? '9' : '0')) {
            next[i] = char(next[i] + (up ? 1 : -1));
            return next;
        }
        next[i] = up ? '0' : '9';
    }
    return next;
}

} // namespace

void Device::print()
{
    ++printer_.printCount;
    for (auto &row : mark_.cells)
        for (MarkFragment &f : row)
            if (f.kind == MarkFragment::CounterUp || f.kind == MarkFragment::CounterDown)
                f.text = counted(f.text, f.kind == MarkFragment::CounterUp);
}

} // namespace vp
