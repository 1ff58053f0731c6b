#include "link/mark_image.h"

#include "link/exchange.h"

#include <algorithm>
#include <chrono>

namespace vlink
{

namespace
{

constexpr int BytesPerStep = 256;

// The bar only ever moves forward, and never past its end, whatever the printer announced.
class Bar
{
public:
    explicit Bar(const MarkImageProgress &progress) : progress_(progress) {}

    int position() const { return position_; }
    void moveTo(int position)
    {
        position = std::min(position, MarkImageBarSteps);
        if (position <= position_)
            return;
        position_ = position;
        if (progress_.bar)
            progress_.bar(position_);
    }
    void repaint() const
    {
        if (progress_.repaint)
            progress_.repaint();
    }

private:
    const MarkImageProgress &progress_;
    int position_ = 0;
};

// The rows byte may be late: the printer renders first. Without it rows keeps what it was.
void readRows(Port &port, int &rows)
{
    using Clock = Port::Clock;
    const Clock::time_point end = port.now() + std::chrono::milliseconds(MarkImageRowsWaitMs);
    for (Clock::time_point now = port.now(); now < end; now = port.now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now).count();
        quint8 byte = 0;
        if (port.readByteWithin(byte, int(left))) {
            rows = byte;
            return;
        }
    }
}

// The high byte counts 255 columns, not 256: that is how the printer announces its width.
bool readWidth(Port &port, int &width)
{
    quint8 low = 0;
    quint8 high = 0;
    if (!port.readByte(low) || !port.readByte(high))
        return false;
    width = low + high * 255;
    return true;
}

bool fits(int rows, int width)
{
    return rows <= MarkImage::Bands && width <= MarkImage::Columns &&
           rows * width <= MarkImage::TransferBytes;
}

// A reply the store cannot hold is let pass, so the line is quiet again for the next command.
void drain(Port &port, qint64 count, const Bar &bar)
{
    quint8 byte = 0;
    for (qint64 i = 0; i < count; ++i) {
        if (i % BytesPerStep == 0)
            bar.repaint();
        if (!port.readByte(byte))
            return;
    }
}

bool readDots(Port &port, MarkImage &image, Bar &bar)
{
    bar.repaint();
    int count = 0;
    quint8 byte = 0;
    for (int c = 0; c < image.width; ++c) {
        for (int k = 0; k < image.rows; ++k) {
            if (!port.readByte(byte))
                return false;
            image.at(c, k) = quint8(255 - byte);
            if (++count % BytesPerStep == 0) {
                bar.moveTo(count / BytesPerStep);
                bar.repaint();
            }
        }
    }
    return true;
}

// The filler moves the bar one step per 257 bytes, counted on from where the image left it.
bool readFiller(Port &port, int count, Bar &bar)
{
    int counter = bar.position();
    quint8 byte = 0;
    for (int i = 0; i < count; ++i) {
        if (++counter > BytesPerStep) {
            counter = 0;
            bar.moveTo(bar.position() + 1);
        }
        bar.repaint();
        if (!port.readByte(byte))
            return false;
    }
    return true;
}

} // namespace

bool MarkImageRead(Port &port, MarkImage &image, const MarkImageProgress &progress)
{
    Bar bar(progress);
    image.bytes.fill(0xFF);
    if (!Sequence(port).send(
            {quint8(MarkImageOp::First), quint8(MarkImageOp::Second), quint8(MarkImageOp::Third)}))
        return false;
    readRows(port, image.rows);
    if (!readWidth(port, image.width))
        return false;
    if (image.isClear())
        return true;
    if (!fits(image.rows, image.width)) {
        const qint64 announced = qint64(image.rows) * image.width;
        drain(port, std::max<qint64>(announced, MarkImage::TransferBytes), bar);
        // The store never describes more than it holds.
        image.rows = 0;
        image.width = 0;
        return false;
    }
    if (!readDots(port, image, bar))
        return false;
    bar.moveTo(image.width * image.rows / BytesPerStep);
    if (!readFiller(port, MarkImage::TransferBytes - image.width * image.rows, bar))
        return false;
    bar.moveTo(MarkImageBarSteps);
    return true;
}

} // namespace vlink
