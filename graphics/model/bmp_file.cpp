#include "graphics/model/bmp_file.h"

#include <QFile>
#include <QImageReader>

namespace vgfx
{

namespace
{

enum Compression : quint32 {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

constexpr int FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;

quint16 u16(const QByteArray &b, int at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

quint32 u32(const QByteArray &b, int at)
{
    return quint32(u16(b, at)) | quint32(u16(b, at + 2)) << 16;
}

bool knownInfoSize(quint32 size)
{
    switch (size) {
    case 12:  // OS/2 1.x core header
    case 40:  // BITMAPINFOHEADER
    case 52:  // with RGB masks
    case 56:  // with RGBA masks
    case 64:  // OS/2 2.x
    case 108: // V4
    case 124: // V5
        return true;
    default:
        return false;
    }
}

bool knownBitCount(quint16 bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads the dimension fields; false for a size no real bitmap has.
bool readGeometry(const QByteArray &head, BmpHeader &h)
{
    const int at = FileHeaderSize + 4;
    if (h.infoSize == CoreHeaderSize) {
        h.width = u16(head, at);
        h.height = u16(head, at + 2);
        h.planes = u16(head, at + 4);
        h.bitCount = u16(head, at + 6);
        h.compression = Rgb;
    } else {
        h.width = qint32(u32(head, at));
        const qint64 rawHeight = qint32(u32(head, at + 4));
        h.topDown = rawHeight < 0;
        h.height = h.topDown ? -rawHeight : rawHeight;
        h.planes = u16(head, at + 8);
        h.bitCount = u16(head, at + 10);
        h.compression = u32(head, at + 12);
    }
    return h.width > 0 && h.height > 0 && h.planes == 1 && knownBitCount(h.bitCount);
}

// Bytes from the file start to the end of the pixel array, or -1 when it cannot be told.
qint64 pixelDataEnd(const QByteArray &head, const BmpHeader &h)
{
    switch (h.compression) {
    case Rgb:
    case BitFields:
    case AlphaBitFields: {
        // Rows are padded to whole 32-bit words.
        const qint64 stride = (h.width * h.bitCount + 31) / 32 * 4;
        return qint64(h.pixelOffset) + stride * h.height;
    }
    case Rle8:
    case Rle4: {
        const quint32 packed = u32(head, FileHeaderSize + 20); // biSizeImage
        return packed > 0 ? qint64(h.pixelOffset) + packed : -1;
    }
    default:
        return -1;
    }
}

// The colour table (and the masks of a 40-byte header) must lie before the pixels.
qint64 paletteEnd(const QByteArray &head, const BmpHeader &h)
{
    qint64 end = FileHeaderSize + h.infoSize;
    if (h.infoSize == 40 && h.compression == BitFields)
        end += 12;
    if (h.infoSize == 40 && h.compression == AlphaBitFields)
        end += 16;
    if (h.bitCount > 8)
        return end;
    qint64 colours = h.infoSize == CoreHeaderSize ? 0 : u32(head, FileHeaderSize + 32);
    if (colours == 0 || colours > (1 << h.bitCount))
        colours = 1 << h.bitCount;
    return end + colours * (h.infoSize == CoreHeaderSize ? 3 : 4);
}

// The bytes Qt would allocate for the decoded image, against its own allocation limit.
bool qtWouldAllocate(const BmpHeader &h)
{
    // With the limit switched off, a gigabyte is still beyond any logo source.
    const int limitMb =
        QImageReader::allocationLimit() > 0 ? QImageReader::allocationLimit() : 1024;
    const int depth = h.bitCount == 1 ? 1 : h.bitCount <= 8 ? 8 : 32;
    const qint64 bytes = (h.width * depth + 31) / 32 * 4 * h.height;
    return bytes <= qint64(limitMb) * 1024 * 1024;
}

} // namespace

std::optional<BmpHeader> parseBmpHeader(const QByteArray &head, qint64 fileSize)
{
    if (head.size() < FileHeaderSize + 4 || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    BmpHeader h;
    h.pixelOffset = u32(head, 10);
    h.infoSize = u32(head, FileHeaderSize);
    if (!knownInfoSize(h.infoSize) || head.size() < FileHeaderSize + qsizetype(h.infoSize))
        return std::nullopt;
    if (!readGeometry(head, h) || !qtWouldAllocate(h))
        return std::nullopt;
    if (paletteEnd(head, h) > h.pixelOffset)
        return std::nullopt;
    h.dataEnd = pixelDataEnd(head, h);
    if (h.dataEnd < 0 || h.dataEnd > fileSize)
        return std::nullopt;
    return h;
}

BmpRead readBmpFile(const QString &path, BmpHeader &header, QImage &image)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return BmpRead::NotValid;
    const auto parsed = parseBmpHeader(file.read(BmpHeadBytes), file.size());
    if (!parsed || !file.seek(0))
        return BmpRead::NotValid;
    // Only the announced bytes: whatever trails the pixel array is no part of the picture.
    const QByteArray data = file.read(parsed->dataEnd);
    if (data.size() != parsed->dataEnd)
        return BmpRead::NotValid;
    QImage loaded;
    if (!loaded.loadFromData(data, "BMP"))
        return BmpRead::NotValid;
    if (loaded.width() != parsed->width || loaded.height() != parsed->height)
        return BmpRead::NotValid;
    header = *parsed;
    image = std::move(loaded);
    return BmpRead::Ok;
}

bool isMonochromeBmp(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const auto parsed = parseBmpHeader(file.read(BmpHeadBytes), file.size());
    return parsed && parsed->isMonochrome();
}

} // namespace vgfx
