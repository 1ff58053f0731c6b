#pragma once

#include "batch/record.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace batch
{

// What is known of one record. Loaded means its texts went to the printer but its print was not
// seen yet: after a crash or a failed poll such a record is uncertain until the operator decides.
enum class RecordState { Loaded, Printed, Failed, Skipped };

// The word the journal's export and vuvactl print for a state.
QString stateName(RecordState state);

struct JournalEntry {
    int index = 0;
    RecordState state = RecordState::Loaded;
    QDateTime time; // UTC, when the state was committed
    QStringList texts;
};

// Identity of a run: the same data (by content hash) with the same mapping and range is the
// same run, wherever the file was copied to or whatever it is called now.
struct RunKey {
    QString sourceHash;  // hex SHA-256 of the data file's bytes, or of the card-number settings
    QString description; // mapping, range and options, in a stable text form
};

struct RunInfo {
    qint64 id = 0;
    QString sourceName; // the file name the run was started from, for the operator
    int recordCount = 0;
    bool finished = false;
};

// The only source of truth for what was printed. Every call commits before it returns; a false
// result means nothing after it may be printed, and error() says why.
class RunJournal
{
public:
    virtual ~RunJournal() = default;

    // The unfinished run with this key, if there is one.
    virtual std::optional<RunInfo> unfinishedRun(const RunKey &key) = 0;
    // The latest run of this data, finished or not, whatever its mapping.
    virtual std::optional<RunInfo> latestRun(const QString &sourceHash) = 0;
    virtual std::optional<RunInfo> startRun(const RunKey &key, const QString &sourceName,
                                            int recordCount) = 0;
    virtual bool setState(qint64 runId, int index, RecordState state,
                          const QStringList &texts) = 0;
    virtual bool finishRun(qint64 runId) = 0;
    // The latest state of every record that has one, by index.
    virtual QList<JournalEntry> entries(qint64 runId) = 0;
    virtual QString error() const = 0;
};

} // namespace batch
