#pragma once

#include "link/exchange.h"
#include "link/logo_buffer.h"

#include <QByteArray>

namespace vlink
{

// The logo record, the same in both directions: H and W, then a 510-byte block holding the dot
// data column by column, 0xFF filler, the name at block offset 501 and its check byte at 509.
inline constexpr int LogoRecordSize = 512;
inline constexpr int LogoBlockSize = 510;
inline constexpr int LogoNameOffset = 501;    // within the block
inline constexpr int LogoNameField = 9;       // eight characters and the check byte
inline constexpr quint8 LogoRecordAck = 0x73; // "s": the device took a record; the station took one
inline constexpr quint8 LogoBlank = 0xFF;     // a blank dot byte and the filler, on the wire
inline constexpr int LogoHeaderPauseMs = 9;
// How long a view waits for the device to start its reply.
inline constexpr int LogoViewWaitMs = 1000;
inline constexpr int MaxWireWidth = 255; // W travels as one byte

// How the buffer's dot bytes become wire bytes. Both invert, so a blank byte is 0xFF on the wire.
enum class DotEncoding {
    Reversed, // a composed logo: the bit order is turned to the device's
    Kept,     // a logo read from a device: the bytes go back exactly as they came
};

// Whether the logo fits a record: height 1..4, width 1..255, at most 500 dot bytes.
bool FitsRecord(const LogoBuffer &logo);
// Whether a logo or bank number travels in the one byte the commands give it.
bool FitsByte(int number);
// Whether a write with this encoding may take the buffer: its dot order must be the one the
// encoding expects, except that a blank buffer is the same in both orders.
bool FitsEncoding(const LogoBuffer &logo, DotEncoding encoding);

// The block of a record: offsets 2..511; empty for a logo that does not fit a record.
QByteArray LogoBlock(const LogoBuffer &logo, DotEncoding encoding);
// Eight characters, padded with spaces; a longer name keeps its first eight.
QByteArray NameField(const QByteArray &name);
// The byte that makes the eight name characters and itself sum to 0 modulo 256.
quint8 NameCheck(const QByteArray &field);
// A name as it arrives: the padding spaces at its end go.
QByteArray NameFromWire(const QByteArray &field);

// A read starts from a buffer of 0xFF bytes in device order.
void PrepareRead(LogoBuffer &logo, int number);

// The write tail shared by printer and Depot writes, after the logo number went out: the header
// bytes without echo, the block, and the device's "s". A logo that does not fit a record fails
// the sequence before anything is sent.
Sequence &SendLogoRecord(Sequence &seq, const LogoBuffer &logo, DotEncoding encoding);

// The rest of a record after its header: dots, filler, name and check byte, then the closing "s".
// The whole record is consumed whatever the header announced.
Sequence &ReceiveLogoRecord(Sequence &seq, LogoBuffer &logo, quint8 height, quint8 width);

// A view reply after its header: W x H dot bytes and nothing else, then the closing "s".
Sequence &ReceiveLogoView(Sequence &seq, LogoBuffer &logo, quint8 height, quint8 width);

// The first byte of a reply that the device may be slow to start: reads until one arrives or ms
// have passed, the last read cut short to end in time.
Sequence &ReadWithin(Sequence &seq, quint8 &byte, int ms);

} // namespace vlink
