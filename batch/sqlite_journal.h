#pragma once

#include "batch/run_journal.h"

#include <QString>
#include <QVariantList>

namespace batch
{

// The journal in an SQLite file that the station and vuvactl share. Every change is one
// transaction, committed (WAL, synchronous FULL) before the call returns, so a crash or a pulled
// plug loses nothing that was reported written.
class SqliteJournal : public RunJournal
{
public:
    // In the user's data folder (~/.local/share/VuvaZuvevov) unless a path is given; another writer
    // holding the file is waited for at most busyMs before a call fails.
    explicit SqliteJournal(const QString &path = defaultPath(), int busyMs = 2000);
    ~SqliteJournal() override;
    SqliteJournal(const SqliteJournal &) = delete;
    SqliteJournal &operator=(const SqliteJournal &) = delete;

    static QString defaultPath();
    const QString &path() const { return path_; }
    // False when the file could not be opened or prepared; error() says why.
    bool isOpen() const { return open_; }

    std::optional<RunInfo> unfinishedRun(const RunKey &key) override;
    std::optional<RunInfo> latestRun(const QString &sourceHash) override;
    std::optional<RunInfo> startRun(const RunKey &key, const QString &sourceName,
                                    int recordCount) override;
    bool setState(qint64 runId, int index, RecordState state, const QStringList &texts) override;
    bool finishRun(qint64 runId) override;
    QList<JournalEntry> entries(qint64 runId) override;
    QString error() const override { return error_; }

private:
    // The newest run that the condition picks, its placeholders bound to values in order.
    std::optional<RunInfo> latestRunWhere(const QString &condition, const QVariantList &values);
    bool open(int busyMs);
    bool prepareSchema();
    bool fail(const QString &what, const QString &why);

    QString path_;
    QString connection_; // Qt's name for this instance's own connection
    bool open_ = false;
    QString error_;
};

} // namespace batch
