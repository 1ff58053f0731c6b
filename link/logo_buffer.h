#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace vlink
{

// Which bit of a band byte holds the band's lowest dot.
enum class DotOrder {
    // After a BMP conversion: the most significant bit is the lowest dot (mask 0x80 >> d % 8).
    Composed,
    // As a device sends and keeps it: the least significant bit is the lowest dot (0x01 << d % 8).
    Device,
};

// The one in-memory logo: 512 columns of 4 band bytes, band 0 the lowest. A set bit is a dot.
struct LogoBuffer {
    static constexpr int Columns = 512;
    static constexpr int Bands = 4;
    static constexpr int MaxDotBytes = 500; // W x H never exceeds this on the wire
    static constexpr int NameLength = 8;

    std::array<quint8, Columns * Bands> dots{};
    int width = 0;  // columns in use
    int height = 0; // bands in use, 1..4
    int number = 0;
    QByteArray name; // at most 8 characters
    DotOrder order = DotOrder::Composed;

    quint8 &at(int column, int band) { return dots[std::size_t(column * Bands + band)]; }
    quint8 at(int column, int band) const { return dots[std::size_t(column * Bands + band)]; }
    void fill(quint8 value) { dots.fill(value); }

    // All bytes zero.
    bool isEmpty() const;
    // Height 4, width 1, all bytes zero and no name: what a delete writes.
    bool isDeleted() const;
    static LogoBuffer deleted();
};

} // namespace vlink
