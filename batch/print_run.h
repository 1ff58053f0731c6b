#pragma once

#include "batch/record.h"
#include "batch/run_journal.h"
#include "link/codepage.h"
#include "link/port.h"

#include <QList>
#include <QString>

namespace batch
{

// How a record's print comes about. With a product sensor the printer prints when a product
// passes; with station triggers the station sends a print start for each record.
enum class Pacing { ProductSensor, StationTriggers };

struct PacingSettings {
    Pacing pacing = Pacing::ProductSensor;
    int pollIntervalMs = 10; // the status byte is read at least this often while waiting
    // Station triggers: a print not seen this long after its start stops the run, the record
    // uncertain (a printer not started prints nothing on a print start).
    int printTimeoutMs = 3000;
    // Product sensor: the first record waits for a print to end this long at most, so that it
    // has the whole gap to the next product; a printer that shows no print is written at once.
    int syncTimeoutMs = 2000;
};

enum class RunPhase {
    Closed,    // nothing opened
    Ready,     // opened, not started
    Undecided, // records whose print was never seen wait for the operator's decision
    Running,
    Paused,
    Stopped,
    Finished,
    Failed, // error() says why; start() goes on from the journal once the line is back
};

struct RunProgress {
    int done = 0; // printed or skipped
    int left = 0;
    double perMinute = 0; // prints seen a minute, from this start's first print to its last
    // Prints that began, or may have begun unseen, while a record was being written: their mark
    // may mix two records, so the product must be taken out; one seen has the record printed
    // again.
    int mixedPrints = 0;
    // Prints that came, or may have come unseen, after a record's print and before the next
    // record's first byte: each carried the record before it a second time.
    int repeatedPrints = 0;
};

// One batch run: records written into the mark one by one, each only after the print of the one
// before was seen (status bit 0 rising, then falling), every step committed to the journal
// before the next exchange. No widgets and no event loop: the caller calls step() again after
// the delay it returns, so a window stays responsive and vuvactl simply sleeps.
class PrintRun
{
public:
    PrintRun(vlink::Port &port, RunJournal &journal, const vlink::CodePage &codePage);

    void setPacing(const PacingSettings &settings) { pacing_ = settings; }
    const PacingSettings &pacing() const { return pacing_; }

    // A new run, or the unfinished one with the same key, which then goes on where it stopped.
    // False when the journal refuses; error() says why.
    bool open(const RunKey &key, const QString &sourceName, const QList<Record> &records);
    bool resumed() const { return resumed_; }
    qint64 runId() const { return runId_; }
    const QList<Record> &records() const { return records_; }
    // The journal of this run, record by record, as it stands.
    QList<JournalEntry> entries() const { return journal_.entries(runId_); }

    // Records loaded into the printer whose print was never seen, by index.
    QList<int> uncertain() const { return uncertain_; }
    // The operator's choice for an uncertain record, journalled: printed again, or skipped.
    bool decide(int index, bool reprint);

    // Starts, resumes after a pause, or goes on after a failure or a stop, from the journal.
    // False while records are undecided or nothing is open.
    bool start();
    // Takes effect once the record being printed has been seen printed.
    void pause();
    // Ends after the current exchange; a record loaded but not seen printed stays uncertain.
    void stop();

    // One exchange at most. The delay in ms before the next call, or -1 when the run is not
    // running any more (phase() and error() say why).
    int step();

    RunPhase phase() const { return phase_; }
    QString error() const { return error_; }
    RunProgress progress() const;
    // The record being written or printed; records().size() once none is left.
    int position() const { return index_; }
    // The record is in the printer and no product has come yet to take its print.
    bool waitingForProduct() const
    {
        return phase_ == RunPhase::Running && stage_ == Stage::WaitRise &&
               pacing_.pacing == Pacing::ProductSensor;
    }

private:
    enum class Stage { Settle, Sync, Write, Armed, WaitRise, WaitFall, MixedFall, Blank };

    bool readStatus(bool &printing);
    int settle();
    int sync();
    int writeCell();
    int armed();
    int waitRise();
    int waitFall();
    int mixedFall();
    void learnPrintLength(qint64 fallLookGapMs);
    bool mayHaveMissedAPrint(vlink::Port::Clock::time_point previous) const;
    // Counts a print that came while the record was being written; true at the limit.
    bool mixedPrint();
    int tooFast();
    int blankCell();
    int printed();
    int afterLastCell();
    int halt(RunPhase phase);
    int fail(const QString &text);
    qint64 unseenLimitMs() const;
    using Clock = vlink::Port::Clock;
    static qint64 msBetween(Clock::time_point from, Clock::time_point to);
    // A look later than this may have missed a whole print, however long prints are.
    static constexpr qint64 MaxUnseenMs = 50;
    bool journal(int index, RecordState state);
    void refresh();

    vlink::Port &port_;
    RunJournal &journal_;
    vlink::CodePage codePage_;
    PacingSettings pacing_;
    QList<Record> records_;
    qint64 runId_ = 0;
    bool resumed_ = false;
    QList<int> uncertain_;
    RunPhase phase_ = RunPhase::Closed;
    QString error_;
    Stage stage_ = Stage::Settle;
    int index_ = 0;
    int cell_ = 0;
    bool pausing_ = false;
    bool stopping_ = false;
    RunPhase haltAs_ = RunPhase::Stopped;
    vlink::Port::Clock::time_point deadline_{};
    vlink::Port::Clock::time_point firstPrintAt_{};
    vlink::Port::Clock::time_point lastPrintAt_{};
    bool syncSeen_ = false;
    Clock::time_point lastStatusAt_{};
    Clock::time_point riseSeenAt_{};
    qint64 riseLookGapMs_ = 0;
    // Looks this close to the one before see a print's edges to within the time of a look.
    static constexpr qint64 PromptLookMs = 3;
    qint64 shortestPrintMs_ = 0;
    int done_ = 0;
    int printedNow_ = 0;
    int mixed_ = 0;
    int repeated_ = 0;
    bool afterPrint_ = false; // the mark still holds the record whose print was just seen
    int mixedInARow_ = 0;
    // One mixed print can be a product that came early; a second one for the same record means
    // the record does not fit between two products.
    static constexpr int MixedInARowLimit = 2;
};

} // namespace batch
