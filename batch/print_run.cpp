#include "batch/print_run.h"

#include "batch/journal_summary.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"

namespace batch
{

namespace
{

constexpr quint8 MarkPrintingNow = 0x01;

QStringList textsOf(const Record &record)
{
    QStringList texts;
    for (const CellText &cell : record.cells)
        texts << cell.text;
    return texts;
}

QString failure(vlink::PrinterCommand command)
{
    return vlink::failureText(command);
}

} // namespace

PrintRun::PrintRun(vlink::Port &port, RunJournal &journal, const vlink::CodePage &codePage)
    : port_(port), journal_(journal), codePage_(codePage)
{
}

bool PrintRun::open(const RunKey &key, const QString &sourceName, const QList<Record> &records)
{
    records_ = records;
    error_.clear();
    std::optional<RunInfo> run = journal_.unfinishedRun(key);
    resumed_ = run.has_value() && run->recordCount == records.size();
    if (!resumed_)
        run = journal_.startRun(key, sourceName, int(records.size()));
    if (!run) {
        phase_ = RunPhase::Closed;
        error_ = journal_.error();
        return false;
    }
    runId_ = run->id;
    phase_ = RunPhase::Ready;
    refresh();
    return true;
}

// What the journal says: the records left undecided, where the run goes on, how many are done.
void PrintRun::refresh()
{
    const QList<JournalEntry> entries = journal_.entries(runId_);
    uncertain_ = uncertainRecords(entries);
    index_ = resumePoint(entries, int(records_.size()));
    done_ = 0;
    for (const JournalEntry &e : entries)
        if (e.state == RecordState::Printed || e.state == RecordState::Skipped)
            ++done_;
    if (!uncertain_.isEmpty() && phase_ != RunPhase::Failed)
        phase_ = RunPhase::Undecided;
}

bool PrintRun::decide(int index, bool reprint)
{
    if (!uncertain_.contains(index))
        return false;
    if (!journal(index, reprint ? RecordState::Failed : RecordState::Skipped))
        return false;
    refresh();
    if (uncertain_.isEmpty() && phase_ == RunPhase::Undecided)
        phase_ = RunPhase::Ready;
    return true;
}

bool PrintRun::start()
{
    if (phase_ == RunPhase::Closed || phase_ == RunPhase::Running)
        return false;
    if (phase_ == RunPhase::Paused) {
        phase_ = RunPhase::Running;
        stage_ = Stage::Settle;
        return true;
    }
    refresh();
    if (!uncertain_.isEmpty()) {
        phase_ = RunPhase::Undecided;
        error_ = QStringLiteral("Record %1 was loaded but its print was never seen: reprint it "
                                "or skip it first")
                     .arg(uncertain_.first() + 1);
        return false;
    }
    error_.clear();
    phase_ = RunPhase::Running;
    stage_ = Stage::Settle;
    pausing_ = stopping_ = false;
    printedNow_ = 0;
    mixedInARow_ = 0;
    shortestPrintMs_ = 0; // the line may have been changed meanwhile: learnt again
    return true;
}

void PrintRun::pause()
{
    if (phase_ == RunPhase::Running)
        pausing_ = true;
}

void PrintRun::stop()
{
    if (phase_ == RunPhase::Running)
        stopping_ = true;
    else if (phase_ == RunPhase::Paused || phase_ == RunPhase::Ready)
        phase_ = RunPhase::Stopped;
}

int PrintRun::step()
{
    if (phase_ != RunPhase::Running)
        return -1;
    if (stopping_ && stage_ != Stage::Blank)
        return halt(RunPhase::Stopped);
    switch (stage_) {
    case Stage::Settle:
        return settle();
    case Stage::Sync:
        return sync();
    case Stage::Write:
        return writeCell();
    case Stage::Armed:
        return armed();
    case Stage::WaitRise:
        return waitRise();
    case Stage::WaitFall:
        return waitFall();
    case Stage::MixedFall:
        return mixedFall();
    case Stage::Blank:
        return blankCell();
    }
    return -1;
}

bool PrintRun::readStatus(bool &printing)
{
    quint8 status = 0;
    if (!vlink::ByteStatusRead(port_, status)) {
        fail(failure(vlink::PrinterCommand::ByteStatusRead));
        return false;
    }
    printing = status & MarkPrintingNow;
    lastStatusAt_ = port_.now();
    return true;
}

// Before the first record, and after a pause: a print going on is not this run's.
int PrintRun::settle()
{
    afterPrint_ = false;
    if (index_ >= records_.size())
        return halt(RunPhase::Finished);
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    if (printing)
        return pacing_.pollIntervalMs;
    if (pacing_.pacing == Pacing::ProductSensor) {
        stage_ = Stage::Sync;
        syncSeen_ = false;
        deadline_ = port_.now() + std::chrono::milliseconds(pacing_.syncTimeoutMs);
        return 0;
    }
    stage_ = Stage::Write;
    cell_ = 0;
    return 0;
}

// Products pass at their own pace: the end of a print is the start of the longest gap.
int PrintRun::sync()
{
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    syncSeen_ = syncSeen_ || printing;
    if (printing || (!syncSeen_ && port_.now() < deadline_))
        return printing ? 0 : pacing_.pollIntervalMs;
    stage_ = Stage::Write;
    cell_ = 0;
    return 0;
}

// One cell of the record: never while a mark prints. The record is journalled loaded before
// its first byte goes out, so a crash leaves it uncertain, never unrecorded.
int PrintRun::writeCell()
{
    const Clock::time_point previous = lastStatusAt_;
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    // A print began while this record was half written, or may have come and gone unseen
    // while the last cell went out: its mark mixed two records.
    const bool mixed = cell_ > 0 && (printing || mayHaveMissedAPrint(previous));
    if (mixed && mixedPrint())
        return tooFast();
    // The same after the last record's print: the mark still held that record. A station held up
    // once does that; a line too fast for the record then mixes the next print, which stops it.
    if (cell_ == 0 && afterPrint_ && (printing || mayHaveMissedAPrint(previous)))
        ++repeated_;
    if (printing) {
        // After a print the gap to the next product starts with this one's fall: waiting for
        // yet another product would print the last record a third time.
        stage_ = cell_ > 0 || afterPrint_ ? Stage::MixedFall : Stage::Settle;
        return pacing_.pollIntervalMs;
    }
    // One that may have gone unseen is counted, and the write goes on: written again at once,
    // the record would meet the next product.
    const Record &record = records_[index_];
    if (cell_ == 0 && !journal(index_, RecordState::Loaded))
        return -1;
    afterPrint_ = false;
    const CellText &cell = record.cells[cell_];
    if (!vlink::TextFragmentWrite(port_, cell.row, cell.column, codePage_.encode(cell.text))) {
        journal(index_, RecordState::Failed);
        return fail(failure(vlink::PrinterCommand::TextFragmentWrite));
    }
    if (!vlink::FontSet(port_, cell.font, cell.row, cell.column)) {
        journal(index_, RecordState::Failed);
        return fail(failure(vlink::PrinterCommand::FontSet));
    }
    if (++cell_ < record.cells.size())
        return 0;
    stage_ = Stage::Armed;
    return 0;
}

// The record is in the mark. Only a print that begins after a look that saw none is its own:
// one already going on may have begun before the last byte arrived.
int PrintRun::armed()
{
    const Clock::time_point previous = lastStatusAt_;
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    if ((printing || mayHaveMissedAPrint(previous)) && mixedPrint())
        return tooFast();
    if (printing) {
        stage_ = Stage::MixedFall;
        return pacing_.pollIntervalMs;
    }
    if (pacing_.pacing == Pacing::StationTriggers) {
        if (!vlink::PrintStart(port_)) {
            // The print start may have arrived: the record stays uncertain.
            return fail(failure(vlink::PrinterCommand::PrintStart));
        }
        deadline_ = port_.now() + std::chrono::milliseconds(pacing_.printTimeoutMs);
    }
    stage_ = Stage::WaitRise;
    return 0;
}

// With a product sensor a print may begin at any moment: looks further apart than the shortest
// print may have missed one.
bool PrintRun::mayHaveMissedAPrint(Clock::time_point previous) const
{
    return pacing_.pacing == Pacing::ProductSensor &&
           msBetween(previous, lastStatusAt_) > unseenLimitMs();
}

bool PrintRun::mixedPrint()
{
    ++mixed_;
    return ++mixedInARow_ >= MixedInARowLimit;
}

// Products that keep coming while the record is written would each carry half of it: the run
// stops, and the cells are emptied so that the products passing meanwhile carry nothing.
int PrintRun::tooFast()
{
    error_ = QStringLiteral("Products come faster than a record can be written between them: a "
                            "print came, or may have come unseen, while record %1 was being "
                            "written, %2 times in a row. Slow the line or shorten the record, "
                            "then go on.")
                 .arg(index_ + 1)
                 .arg(mixedInARow_);
    return halt(RunPhase::Failed);
}

int PrintRun::mixedFall()
{
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    if (printing)
        return pacing_.pollIntervalMs;
    // The whole record again, so that the next print carries it complete.
    stage_ = Stage::Write;
    cell_ = 0;
    afterPrint_ = true;
    return 0;
}

// A product may pass at any moment: the status is looked at without a pause, and a look that
// came later than the shortest print lasts may have missed one, which would print this record
// twice unseen. The record is then uncertain rather than counted on the next print.
int PrintRun::waitRise()
{
    const Clock::time_point previous = lastStatusAt_;
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    if (printing) {
        stage_ = Stage::WaitFall;
        riseSeenAt_ = lastStatusAt_;
        riseLookGapMs_ = msBetween(previous, lastStatusAt_);
        return 0;
    }
    if (pacing_.pacing == Pacing::StationTriggers) {
        if (port_.now() >= deadline_)
            return fail(QStringLiteral("No print seen within %1 ms of the print start (is the "
                                       "printer started?)")
                            .arg(pacing_.printTimeoutMs));
        return pacing_.pollIntervalMs;
    }
    const qint64 unseenMs = msBetween(previous, lastStatusAt_);
    if (unseenMs > unseenLimitMs())
        return fail(QStringLiteral("The printer's status went unread for %1 ms, longer than a "
                                   "print lasts: record %2 may have been printed unseen")
                        .arg(unseenMs)
                        .arg(index_ + 1));
    return 0;
}

qint64 PrintRun::unseenLimitMs() const
{
    return shortestPrintMs_ > 0 ? std::min<qint64>(shortestPrintMs_, MaxUnseenMs) : MaxUnseenMs;
}

qint64 PrintRun::msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

// Looked for without a pause: the gap to the next product starts with the fall.
int PrintRun::waitFall()
{
    const Clock::time_point previous = lastStatusAt_;
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    if (printing)
        return 0;
    learnPrintLength(msBetween(previous, lastStatusAt_));
    return printed();
}

// From the first look that found the print to the first that did not, and only when both of
// them came right after the look before: a station held up at either end would take a long
// print for a short one, and then every write for one that may have hidden a print.
void PrintRun::learnPrintLength(qint64 fallLookGapMs)
{
    if (riseLookGapMs_ > PromptLookMs || fallLookGapMs > PromptLookMs)
        return;
    const qint64 lasted = msBetween(riseSeenAt_, lastStatusAt_);
    if (shortestPrintMs_ == 0 || lasted < shortestPrintMs_)
        shortestPrintMs_ = std::max<qint64>(1, lasted);
}

int PrintRun::printed()
{
    if (!journal(index_, RecordState::Printed))
        return -1;
    mixedInARow_ = 0;
    ++done_;
    if (printedNow_++ == 0)
        firstPrintAt_ = port_.now();
    lastPrintAt_ = port_.now();
    ++index_;
    if (index_ >= records_.size())
        return halt(RunPhase::Finished);
    if (pausing_)
        return halt(RunPhase::Paused);
    stage_ = Stage::Write;
    cell_ = 0;
    afterPrint_ = true;
    return 0;
}

// With a product sensor the printer goes on printing what it holds: the cells are emptied, so
// that products passing meanwhile carry no record a second time.
int PrintRun::halt(RunPhase phase)
{
    pausing_ = stopping_ = false;
    haltAs_ = phase;
    if (pacing_.pacing == Pacing::ProductSensor && !records_.isEmpty() && stage_ != Stage::Blank &&
        stage_ != Stage::Settle) {
        stage_ = Stage::Blank;
        cell_ = 0;
        return 0;
    }
    return afterLastCell();
}

int PrintRun::blankCell()
{
    const QList<CellText> &cells = records_.first().cells;
    if (cell_ >= cells.size())
        return afterLastCell();
    bool printing = false;
    if (!readStatus(printing))
        return -1;
    if (printing)
        return pacing_.pollIntervalMs;
    if (!vlink::TextFragmentDelete(port_, cells[cell_].row, cells[cell_].column))
        return fail(failure(vlink::PrinterCommand::TextFragmentDelete));
    ++cell_;
    return 0;
}

int PrintRun::afterLastCell()
{
    stage_ = Stage::Settle;
    if (haltAs_ == RunPhase::Finished && !journal_.finishRun(runId_))
        return fail(QStringLiteral("Journal: %1").arg(journal_.error()));
    phase_ = haltAs_;
    if (phase_ == RunPhase::Failed)
        refresh(); // the record left loaded is uncertain now
    return -1;
}

int PrintRun::fail(const QString &text)
{
    error_ = text;
    phase_ = RunPhase::Failed;
    refresh(); // the record left loaded is uncertain now
    stage_ = Stage::Settle;
    pausing_ = stopping_ = false;
    return -1;
}

bool PrintRun::journal(int index, RecordState state)
{
    const Record &record = records_[index];
    if (journal_.setState(runId_, index, state, textsOf(record)))
        return true;
    fail(QStringLiteral("Journal: %1").arg(journal_.error()));
    return false;
}

RunProgress PrintRun::progress() const
{
    RunProgress p;
    p.done = done_;
    p.left = int(records_.size()) - done_;
    // Sustained: from the first print of this start to the last, the wait for the line not in it.
    const qint64 ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(lastPrintAt_ - firstPrintAt_).count();
    p.perMinute = printedNow_ > 1 && ms > 0 ? (printedNow_ - 1) * 60000.0 / double(ms) : 0;
    p.mixedPrints = mixed_;
    p.repeatedPrints = repeated_;
    return p;
}

} // namespace batch
