#pragma once

#include "vprinter/hydro_state.h"
#include "vprinter/logo_state.h"
#include "vprinter/mark_state.h"
#include "vprinter/product_line.h"
#include "vprinter/state.h"
#include "vprinter/wire.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <array>
#include <atomic>
#include <utility>

namespace vp
{

// Which device answers on the line.
enum class Kind {
    Printer,  // a printer connected directly
    ViaDepot, // a printer behind a Depot unit that passes printer commands through
    Depot,    // a Depot unit alone
    None,     // the line echoes, no device answers
};

// Mark image replies the device sends malformed, on demand.
enum class MarkImageFault {
    None,
    TallBands, // announces 5 bands of 200 columns, then sends 5120 bytes
    Oversized, // announces 4 bands of 1300 columns and sends all 5200 bytes
};

// Faults injected on demand; a negative index is off. Indices count every byte received.
struct Faults {
    qint64 dropEchoAt = -1;
    qint64 wrongEchoAt = -1;
    bool silent = false;                        // nothing at all goes back, not even echoes
    RecordFault logoRecord = RecordFault::None; // logo records and views the device sends
    quint8 logoWriteReply = 0x73;               // anything but "s" refuses the logo written
    MarkImageFault markImage = MarkImageFault::None;
    NamesFault names = NamesFault::None; // the names lists of both stores
    // Echoes dropped or sent wrong at random, each byte with these chances (0..1); the seed
    // decides which bytes, so a run can be repeated.
    double dropEchoRate = 0;
    double wrongEchoRate = 0;
    quint64 echoSeed = 0;

    bool any() const
    {
        return dropEchoAt >= 0 || wrongEchoAt >= 0 || silent || logoRecord != RecordFault::None ||
               logoWriteReply != 0x73 || markImage != MarkImageFault::None ||
               names != NamesFault::None || dropEchoRate > 0 || wrongEchoRate > 0;
    }
};

enum class EchoFault { None, Drop, Wrong };
// What the random mode does to the echo of received byte index: the same for the same seed and
// index, however often a command is replayed.
EchoFault RandomEchoFault(const Faults &faults, qint64 index);

// The device model: bytes in, bytes out, no timing and no I/O of its own. It checks the station
// as it goes: every deviation from the exchange is a protocol error, counted and logged.
class Device
{
public:
    explicit Device(Kind kind = Kind::Printer, int speed = 57600);

    // A byte from the station, with the line settings in force when its last bit arrived. At
    // another speed or format it is garbled: only a speed probe between commands is harmless.
    void receive(quint8 byte, int lineSpeed, bool eightN1 = true);
    // The line has been quiet for quietMs: a held echo goes out (after a few ms), a lone reset
    // takes effect (after longer), and whatever the station still owes is given up on (after
    // longer still).
    void idle(int quietMs);
    static constexpr int HeldEchoQuietMs = 2;
    static constexpr int CommitQuietMs = 200;
    static constexpr int CutOffQuietMs = 1000;
    // The line is quiet for good (the run is over): what is still half done is judged.
    void finish() { idle(CutOffQuietMs); }
    // Nothing held or half-received: the device waits for a new command.
    bool settled() const { return pending_.isEmpty(); }
    const QList<ProtocolError> &protocolErrors() const { return errors_; }

    // What the device has sent since the last call.
    QByteArray takeOutput();
    bool hasOutput() const { return !out_.isEmpty(); }

    Kind kind() const { return kind_; }
    void setKind(Kind kind) { kind_ = kind; }
    int speed() const { return speed_; }
    void setSpeed(int bps) { speed_ = bps; }

    // The selected printer; the line's others wait until the select-printer exchange picks them.
    PrinterState &printer() { return printer_; }
    PrinterState &printer(int index) { return index == current_ ? printer_ : parked_[index]; }
    static constexpr int MaxPrinters = 6;
    // Printers sharing the line, 1..MaxPrinters; printer 0 is selected.
    void setPrinterCount(int count);
    int printerCount() const { return printerCount_; }
    int currentPrinter() const { return current_; }
    // The one byte a printer answers a select-printer frame with.
    static constexpr quint8 SelectReply = 0x06;
    MarkState &mark() { return mark_; }
    // One mark printed: every counter of the mark counts a step, up or down by its kind.
    void print();

    // The product line: a sensor that passes productsPerMinute products while the printer runs
    // (0: none), and the line speed a print's duration follows.
    void setProductLine(int productsPerMinute, int columnsPerSecond);
    // Time has come to ms (counted from any fixed start): prints due begin, prints done end.
    // A device never given the time ends each print as it begins.
    void advanceTo(qint64 ms);
    // When the line next changes by itself (a print ends, a product passes); -1 for never.
    qint64 nextLineEventMs() const;
    bool printing() const { return line_.printing; }
    // The prints that ended since the last call.
    QList<PrintedMark> takePrinted();
    // What a careful station never does, though the printer takes it: a write that changes the
    // mark while it prints, a print start during a print.
    const QStringList &protocolWarnings() const { return warnings_; }
    QStringList takeProtocolWarnings() { return std::exchange(warnings_, {}); }
    const ProductLine &productLine() const { return line_; }
    LogoState &logos() { return logos_; }
    HydroState &hydro() { return hydro_; }
    Faults &faults() { return faults_; }
    // Every byte received at the right speed, for tests to inspect.
    const QByteArray &received() const { return log_; }
    void clearReceived() { log_.clear(); }
    // Echoes dropped or sent wrong so far; safe to read from another thread while the device runs.
    qint64 echoFaultsInjected() const { return echoFaults_.count.load(); }

private:
    void replay();
    void garbled(quint8 byte, int lineSpeed, bool eightN1);
    void report(const ProtocolError &error);
    void warn(const QString &what);
    // A print starts now with the mark as it is; it ends after the mark's width at line speed.
    void beginPrint();
    void endPrint();
    void printStart();
    void started();
    // Gives up the command in progress: the next byte starts a new one.
    void dropPending();
    // Runs one command script from its first byte; throws NeedMore while incomplete.
    void dispatch(Wire &w);
    void prefixed(Wire &w);
    void machineCommand(Wire &w, quint8 op);
    void parameter(Wire &w, char code);
    QByteArray timeParamsReply() const;
    // Command families kept in files of their own. Each returns false, consuming nothing, for a
    // command that is not its own (it may peek).
    bool markCommand(Wire &w);
    bool logoCommand(Wire &w);
    // After 0x12 0x23.
    void depotCommand(Wire &w);
    // 0x07 0x08 0x08: the current mark rendered as dots.
    void markImage(Wire &w);
    static constexpr quint8 MarkImageOp = 0x08; // both bytes after the logo command's 0x07
    // 0x07 0x0A, and the commands after 0x12 0x2A.
    bool keyboardChannel(Wire &w);
    void hydroCommand(Wire &w);
    // After the bare 0x12 0x03.
    void selectPrinter(Wire &w);
    void setCommand(Wire &w);
    void markOption(Wire &w);
    void clockSet(Wire &w);
    void timeParams(Wire &w);
    bool printerAnswers() const { return kind_ == Kind::Printer || kind_ == Kind::ViaDepot; }
    int echoFor(qint64 index, quint8 byte) const;
    int randomEcho(qint64 index, quint8 byte) const;

    Kind kind_;
    int speed_;
    PrinterState printer_;
    std::array<PrinterState, MaxPrinters> parked_{};
    int printerCount_ = 1;
    int current_ = 0;
    MarkState mark_;
    LogoState logos_;
    HydroState hydro_;
    Faults faults_;
    QByteArray pending_; // the current command's bytes so far
    qint64 pendingBase_ = 0;
    int pendingSent_ = 0;
    bool released_ = false;
    bool settle_ = false;
    bool quiet_ = false;
    qint64 receivedCount_ = 0;
    QList<ProtocolError> errors_;
    QStringList warnings_;
    ProductLine line_;
    QByteArray out_;
    QByteArray log_;
    // A replay asks again for the echoes of bytes it has seen: each byte is counted once.
    struct EchoFaultCount {
        std::atomic<qint64> count{0};
        std::atomic<qint64> lastAt{-1};
    };
    mutable EchoFaultCount echoFaults_;
};

} // namespace vp
