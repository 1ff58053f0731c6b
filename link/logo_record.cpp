#include "link/logo_record.h"

#include <QtGlobal>
#include <algorithm>
#include <chrono>

namespace vlink
{

namespace
{

constexpr int NameChars = LogoBuffer::NameLength;

quint8 encode(quint8 byte, DotEncoding encoding)
{
    return quint8(0xFF - (encoding == DotEncoding::Reversed ? BitReverse(byte) : byte));
}

// The columns of an announced width that fit the 500 dot bytes a record can carry.
int keptColumns(int height, int width)
{
    return height > 0 ? std::min(width, LogoBuffer::MaxDotBytes / height) : width;
}

// Bands above the fourth have no room in a column: they are read and dropped, so they can never
// land in the next column's bytes.
Sequence &readColumns(Sequence &seq, LogoBuffer &logo, int height, int columns)
{
    for (int c = 0; c < columns && seq.ok(); ++c) {
        for (int b = 0; b < height && seq.ok(); ++b) {
            quint8 byte = 0;
            seq.read(byte);
            if (seq.ok() && b < LogoBuffer::Bands)
                logo.at(c, b) = quint8(0xFF - byte);
        }
    }
    return seq;
}

Sequence &skip(Sequence &seq, int count)
{
    for (int i = 0; i < count && seq.ok(); ++i) {
        quint8 byte = 0;
        seq.read(byte);
    }
    return seq;
}

void takeHeader(LogoBuffer &logo, int height, int columns)
{
    logo.height = std::min(height, int(LogoBuffer::Bands));
    logo.width = columns;
}

} // namespace

bool FitsByte(int number)
{
    return number >= 0 && number <= 0xFF;
}

bool FitsRecord(const LogoBuffer &logo)
{
    return logo.height >= 1 && logo.height <= LogoBuffer::Bands && logo.width >= 1 &&
           logo.width <= MaxWireWidth && logo.width * logo.height <= LogoBuffer::MaxDotBytes;
}

bool FitsEncoding(const LogoBuffer &logo, DotEncoding encoding)
{
    const DotOrder wanted =
        encoding == DotEncoding::Reversed ? DotOrder::Composed : DotOrder::Device;
    return logo.order == wanted || logo.isEmpty();
}

QByteArray NameField(const QByteArray &name)
{
    QByteArray field = name.left(NameChars);
    return field.leftJustified(NameChars, ' ');
}

quint8 NameCheck(const QByteArray &field)
{
    quint8 sum = 0;
    for (char c : field)
        sum = quint8(sum + quint8(c));
    return quint8(0 - sum);
}

QByteArray NameFromWire(const QByteArray &field)
{
    qsizetype end = field.size();
    while (end > 0 && field[end - 1] == ' ')
        --end;
    return field.left(end);
}

QByteArray LogoBlock(const LogoBuffer &logo, DotEncoding encoding)
{
    if (!FitsRecord(logo))
        return {};
    QByteArray block(LogoBlockSize, char(LogoBlank));
    int k = 0;
    for (int c = 0; c < logo.width; ++c)
        for (int b = 0; b < logo.height; ++b)
            block[k++] = char(encode(logo.at(c, b), encoding));
    const QByteArray name = NameField(logo.name);
    block.replace(LogoNameOffset, NameChars, name);
    block[LogoNameOffset + NameChars] = char(NameCheck(name));
    return block;
}

void PrepareRead(LogoBuffer &logo, int number)
{
    logo.fill(0xFF);
    logo.order = DotOrder::Device;
    logo.number = number;
    logo.name.clear();
}

Sequence &SendLogoRecord(Sequence &seq, const LogoBuffer &logo, DotEncoding encoding)
{
    if (!FitsRecord(logo))
        return seq.then([](Port &) { return false; });
    quint8 reply = 0;
    seq.delay(LogoHeaderPauseMs)
        .bare(quint8(logo.height))
        .delay(LogoHeaderPauseMs)
        .bare(quint8(logo.width))
        .block(LogoBlock(logo, encoding))
        .receive(reply);
    return seq.then([&reply](Port &) { return reply == LogoRecordAck; });
}

Sequence &ReceiveLogoRecord(Sequence &seq, LogoBuffer &logo, quint8 height, quint8 width)
{
    const int columns = keptColumns(height, width);
    const int dotBytes = columns * height;
    if (height == 0 && width == 0) {
        // The device's way of saying "nothing here": no dot bytes, the buffer keeps its fill.
        logo.height = 32;
        logo.width = 32;
    } else {
        takeHeader(logo, height, columns);
        readColumns(seq, logo, height, columns);
    }
    skip(seq, LogoBlockSize - dotBytes - LogoNameField);

    QByteArray field;
    for (int i = 0; i < LogoNameField && seq.ok(); ++i) {
        quint8 byte = 0;
        if (seq.read(byte).ok())
            field.append(char(byte));
    }
    if (seq.ok()) {
        // A bad check byte costs the name only; the dots stand.
        const bool named = NameCheck(field.left(NameChars)) == quint8(field[NameChars]);
        logo.name = named ? NameFromWire(field.left(NameChars)) : QByteArray();
    }
    return seq.send(LogoRecordAck);
}

Sequence &ReceiveLogoView(Sequence &seq, LogoBuffer &logo, quint8 height, quint8 width)
{
    const int columns = keptColumns(height, width);
    takeHeader(logo, height, columns);
    readColumns(seq, logo, height, columns);
    skip(seq, (width - columns) * height);
    return seq.send(LogoRecordAck);
}

Sequence &ReadWithin(Sequence &seq, quint8 &byte, int ms)
{
    return seq.then([&byte, ms](Port &port) {
        const auto deadline = port.now() + std::chrono::milliseconds(ms);
        for (;;) {
            // The last attempt gets only what is left of the time, not a whole read time-out.
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - port.now());
            if (left.count() <= 0)
                return false;
            if (port.readByteWithin(byte, int(left.count())))
                return true;
            // A read that fails at once (a closed port) must not spin a core for the second.
            Delay(port, 1);
        }
    });
}

} // namespace vlink
