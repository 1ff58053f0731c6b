#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace vgfx
{

// What the headers of a Windows bitmap file promise. Qt loads a truncated bitmap without a
// word and trusts the announced size, so every file is checked against this before Qt sees it.
struct BmpHeader {
    quint32 pixelOffset = 0; // bfOffBits
    quint32 infoSize = 0;    // biSize: 12 for the old core header, 40 and up otherwise
    qint64 width = 0;
    qint64 height = 0; // rows, always positive
    bool topDown = false;
    quint16 planes = 0;
    quint16 bitCount = 0;
    quint32 compression = 0;
    qint64 dataEnd = 0; // where the pixel array ends: the file must be at least this long

    bool isMonochrome() const { return planes == 1 && bitCount == 1; }
};

// Enough bytes for the file header and the largest info header.
inline constexpr int BmpHeadBytes = 14 + 124;

// Checks the headers at the start of a file of fileSize bytes: signature, a known info header,
// one plane, a bit count Qt reads, sane dimensions, a pixel array that fits in the file, and an
// image small enough for Qt to allocate. Nothing for a file that fails any of these.
std::optional<BmpHeader> parseBmpHeader(const QByteArray &head, qint64 fileSize);

enum class BmpRead {
    Ok,
    NotValid,
};

// Reads the whole bitmap once (so the file cannot change between the check and the load) and
// lets Qt decode it. header and image are set only on success.
BmpRead readBmpFile(const QString &path, BmpHeader &header, QImage &image);

// One plane of one bit per pixel, judged from the headers only: cheap enough for a file dialog
// that lists many files. A file that would not load is not monochrome either.
bool isMonochromeBmp(const QString &path);

} // namespace vgfx
