// Batch runs on a paced line at 57600 bit/s against the virtual printer's product sensor: the
// rate kept against the products due, and what a record costs beyond its bytes on the wire.

#include "batch/print_run.h"
#include "batch/sqlite_journal.h"
#include "bench/bench.h"
#include "link/com_io.h"
#include "link/forwarding_port.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace bench
{

namespace
{

constexpr int Records = 150;
constexpr double RateGoal = 0.99;
constexpr double WriteRatioGoal = 1.10;
constexpr double BatchByteUs = 10 * 1e6 / 57600;

// Passes everything on and counts the bytes that crossed the line, either way.
class CountingPort : public vlink::ForwardingPort
{
public:
    using ForwardingPort::ForwardingPort;
    qint64 bytes = 0;

    bool writeByte(quint8 byte) override { return count(ForwardingPort::writeByte(byte)); }
    bool writeBlock(const QByteArray &block, int &written) override
    {
        const bool ok = ForwardingPort::writeBlock(block, written);
        bytes += written;
        return ok;
    }
    bool readByte(quint8 &byte) override { return count(ForwardingPort::readByte(byte)); }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        return count(ForwardingPort::readByteWithin(byte, timeoutMs));
    }

private:
    bool count(bool ok)
    {
        bytes += ok ? 1 : 0;
        return ok;
    }
};

QList<batch::Record> records()
{
    QList<batch::Record> list;
    for (int i = 0; i < Records; ++i) {
        batch::Record r{i, {}};
        for (int row = 1; row <= 3; ++row)
            r.cells.append(
                {row, 1,
                 QStringLiteral("R%1 FIELD %2 ABCDE").arg(row).arg(i, 5, 10, QLatin1Char('0')), 1});
        list.append(r);
    }
    return list;
}

struct Timing {
    double writeMs = 0; // from the look that saw a print end to the next record's last byte
    double wireMs = 0;  // the bytes of those exchanges on the line
};

// Steps the run; each record's write is timed from the start of the step that saw the print
// before it end, so the look and the journal's commit of that print count against it too.
void drive(batch::PrintRun &run, CountingPort &port, Timing &t)
{
    int done = 0;
    int writesLeft = 0;
    QElapsedTimer since;
    qint64 bytesAt = 0;
    QElapsedTimer stepStart;
    stepStart.start();
    qint64 bytesBeforeStep = port.bytes;
    for (int delay = run.step(); delay >= 0; delay = run.step()) {
        if (writesLeft > 0 && --writesLeft == 0) {
            t.writeMs += since.nsecsElapsed() / 1e6;
            t.wireMs += (port.bytes - bytesAt) * BatchByteUs / 1000;
        }
        if (run.progress().done != done) {
            done = run.progress().done;
            if (done < Records) {
                writesLeft = int(run.records()[done].cells.size());
                since = stepStart;
                bytesAt = bytesBeforeStep;
            }
        }
        if (delay > 0)
            port.sleepUntil(port.now() + std::chrono::milliseconds(delay));
        stepStart.start();
        bytesBeforeStep = port.bytes;
    }
}

// What this line's echoes cost against their wire time with no station logic between them: the
// pseudo-terminal's and the two processes' wake-ups, which a record's write pays on every byte.
double echoFloor(CountingPort &port)
{
    const qint64 bytesAt = port.bytes;
    QElapsedTimer timer;
    timer.start();
    quint8 status = 0;
    for (int i = 0; i < 100; ++i)
        if (!vlink::ByteStatusRead(port, status))
            return 0;
    const double wireMs = (port.bytes - bytesAt) * BatchByteUs / 1000;
    return timer.nsecsElapsed() / 1e6 / wireMs;
}

bool sensorRun(int perMinute)
{
    vp::FrontendOptions o;
    o.pace = true;
    o.productsPerMinute = perMinute;
    // Prints of 24 ms (120 columns): longer than a cell's write, so that every print is seen.
    o.columnsPerSecond = 5000;
    FrontendThread printer(o);
    const std::unique_ptr<vlink::ComIo> opened = openLine(printer.device());
    if (!opened)
        return false;
    vlink::ComIo &line = *opened;
    if (!vlink::TextFragmentWrite(line, 4, 1, "READY") || !vlink::StartCommand(line))
        return false;
    QTemporaryDir dir;
    batch::SqliteJournal journal(dir.filePath("journal.db"));
    CountingPort port(line);
    batch::PrintRun run(port, journal, vlink::CodePage());
    if (!run.open({"bench", QString::number(perMinute)}, "bench", records()) || !run.start())
        return false;
    Timing t;
    drive(run, port, t);
    const double rate = run.progress().perMinute / perMinute;
    const double writeRatio = t.wireMs > 0 ? t.writeMs / t.wireMs : 0;
    const double floor = echoFloor(port);
    std::printf("   %d records at %d a minute: %s; sustained %.1f a minute, ratio %.3f (goal >= "
                "%.2f); record write %.2f ms against %.2f ms on the wire, ratio %.3f (goal 1.00 .. "
                "%.2f); %d mixed prints\n",
                Records, perMinute,
                run.phase() == batch::RunPhase::Finished ? "finished" : "FAILED",
                run.progress().perMinute, rate, RateGoal, t.writeMs / (Records - 1),
                t.wireMs / (Records - 1), writeRatio, WriteRatioGoal, run.progress().mixedPrints);
    std::printf("   bare status reads on this line: ratio %.3f to their wire; the record write "
                "against them %.3f\n",
                floor, floor > 0 ? writeRatio / floor : 0);
    if (run.phase() != batch::RunPhase::Finished)
        std::printf("   %s\n", qPrintable(run.error()));
    return run.phase() == batch::RunPhase::Finished && rate >= RateGoal &&
           wireRatioMet(writeRatio, WriteRatioGoal);
}

} // namespace

Cases batchCases()
{
    return {{"batch sensor 600", [] { return sensorRun(600); }},
            {"batch sensor 1200", [] { return sensorRun(1200); }}};
}

} // namespace bench
