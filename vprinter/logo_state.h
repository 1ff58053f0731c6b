#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <span>

namespace vp
{

// Records the device sends malformed, on demand.
enum class RecordFault {
    None,
    Oversized, // announces W x H = 600 (H 4, W 150); the record stays 512 bytes
    Empty,     // announces H = 0 and W = 0; no dot bytes, the filler runs to the name
    BadCheck,  // the name's check byte is off by one
    TallBands, // announces H = 6: two bands per column more than a logo has
};

// Names lists the device sends malformed, on demand.
enum class NamesFault {
    None,
    OverCount, // 300 entries: the count byte wraps and the entries run on past it
    Truncated, // the reply stops within its last entry
};

// Printer logos and the Depot unit's banks. Logos are kept in wire form: the 512-byte record as
// it was written (H, W, dots, filler, name, check byte), so a read gives back exactly those bytes.
// A slot that was never written, or was deleted, holds no record and reads as the deleted logo.
struct LogoState {
    static constexpr int PrinterLogos = 256;
    static constexpr int Banks = 16;
    static constexpr int BankLogos = 250;
    static constexpr int RecordSize = 512;
    static constexpr int NameOffset = 503;
    static constexpr int NameLength = 8;

    using Bank = std::array<QByteArray, BankLogos>;

    std::array<QByteArray, PrinterLogos> printer;
    std::array<Bank, Banks> depot;
    int bank = 0;     // the Depot's current bank
    int maxBank = 15; // the highest bank, as MaxBankNumSet last set it
    QByteArray version = "DEPOT V2.1";
    int u0Count = 0; // how often the Depot received "U0"

    // The deleted logo: H 4, W 1, blank dots, eight spaces and their check byte 0x00.
    static QByteArray deletedRecord();
    // A record as a read sends it; a free slot gives the deleted logo.
    static QByteArray recordOf(const QByteArray &stored);
    // Keeps a record that arrived, freeing the slot when it is the deleted logo.
    static void store(QByteArray &slot, const QByteArray &record);
    // The record mangled the way the fault asks.
    static QByteArray faulty(const QByteArray &record, RecordFault fault);
    // A names-list reply: the count, then per stored logo its number (high byte first) and the
    // eight name characters. The count byte holds the count modulo 256: a full printer says 0.
    static QByteArray namesList(std::span<const QByteArray> stored,
                                NamesFault fault = NamesFault::None);
};

} // namespace vp
