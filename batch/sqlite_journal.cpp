#include "batch/sqlite_journal.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>
#include <QVariant>

namespace batch
{

namespace
{

const char *const Schema[] = {
    "CREATE TABLE IF NOT EXISTS runs (id INTEGER PRIMARY KEY, source_hash TEXT NOT NULL, "
    "description TEXT NOT NULL, source_name TEXT, record_count INTEGER NOT NULL, "
    "finished INTEGER NOT NULL DEFAULT 0, started TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS states (id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL "
    "REFERENCES runs(id), record INTEGER NOT NULL, state TEXT NOT NULL, time TEXT NOT NULL, "
    "texts TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS states_by_run ON states (run_id, record)",
    "CREATE INDEX IF NOT EXISTS runs_by_key ON runs (source_hash, description)",
};

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

QString textsJson(const QStringList &texts)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(texts)).toJson(QJsonDocument::Compact));
}

QStringList textsOfJson(const QString &json)
{
    QStringList texts;
    for (const QJsonValue &v : QJsonDocument::fromJson(json.toUtf8()).array())
        texts.append(v.toString());
    return texts;
}

std::optional<RecordState> stateOfName(const QString &name)
{
    for (RecordState s :
         {RecordState::Loaded, RecordState::Printed, RecordState::Failed, RecordState::Skipped})
        if (stateName(s) == name)
            return s;
    return std::nullopt;
}

} // namespace

SqliteJournal::SqliteJournal(const QString &path, int busyMs)
    : path_(path), connection_(QStringLiteral("batch-journal-") + QUuid::createUuid().toString())
{
    open_ = open(busyMs) && prepareSchema();
}

SqliteJournal::~SqliteJournal()
{
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QString SqliteJournal::defaultPath()
{
    // The station's own data folder (its AppDataLocation), named here so that vuvactl, another
    // program, finds the same journal.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/VuvaZuvevov/batch-journal.sqlite");
}

bool SqliteJournal::fail(const QString &what, const QString &why)
{
    error_ = QStringLiteral("The journal %1 cannot %2: %3").arg(path_, what, why);
    return false;
}

bool SqliteJournal::open(int busyMs)
{
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return fail(QStringLiteral("be made"), QStringLiteral("its folder cannot be made"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs));
    if (!db.open())
        return fail(QStringLiteral("be opened"), db.lastError().text());
    QSqlQuery query(db);
    // WAL keeps every commit in its own log, so the printing station never waits for a reader.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !query.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return fail(QStringLiteral("be opened"), query.lastError().text());
    return true;
}

bool SqliteJournal::prepareSchema()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    for (const char *statement : Schema)
        if (!query.exec(QString::fromLatin1(statement)))
            return fail(QStringLiteral("be prepared"), query.lastError().text());
    return true;
}

std::optional<RunInfo> SqliteJournal::unfinishedRun(const RunKey &key)
{
    return latestRunWhere(QStringLiteral("source_hash = ? AND description = ? AND finished = 0"),
                          {key.sourceHash, key.description});
}

std::optional<RunInfo> SqliteJournal::latestRun(const QString &sourceHash)
{
    return latestRunWhere(QStringLiteral("source_hash = ?"), {sourceHash});
}

std::optional<RunInfo> SqliteJournal::latestRunWhere(const QString &condition,
                                                     const QVariantList &values)
{
    if (!open_)
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT id, source_name, record_count, finished FROM runs WHERE "
                                 "%1 ORDER BY id DESC LIMIT 1")
                      .arg(condition));
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        fail(QStringLiteral("be read"), query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return RunInfo{query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toInt(),
                   query.value(3).toBool()};
}

std::optional<RunInfo> SqliteJournal::startRun(const RunKey &key, const QString &sourceName,
                                               int recordCount)
{
    if (!open_)
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO runs (source_hash, description, source_name, "
                                 "record_count, started) VALUES (?, ?, ?, ?, ?)"));
    for (const QVariant &value : {QVariant(key.sourceHash), QVariant(key.description),
                                  QVariant(sourceName), QVariant(recordCount), QVariant(nowText())})
        query.addBindValue(value);
    // Outside an explicit transaction SQLite commits the insert before exec returns.
    if (!query.exec()) {
        fail(QStringLiteral("be written"), query.lastError().text());
        return std::nullopt;
    }
    return RunInfo{query.lastInsertId().toLongLong(), sourceName, recordCount, false};
}

bool SqliteJournal::setState(qint64 runId, int index, RecordState state, const QStringList &texts)
{
    if (!open_)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral(
        "INSERT INTO states (run_id, record, state, time, texts) VALUES (?, ?, ?, ?, ?)"));
    for (const QVariant &value : {QVariant(runId), QVariant(index), QVariant(stateName(state)),
                                  QVariant(nowText()), QVariant(textsJson(texts))})
        query.addBindValue(value);
    if (!query.exec())
        return fail(QStringLiteral("be written"), query.lastError().text());
    return true;
}

bool SqliteJournal::finishRun(qint64 runId)
{
    if (!open_)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("UPDATE runs SET finished = 1 WHERE id = ?"));
    query.addBindValue(runId);
    if (!query.exec())
        return fail(QStringLiteral("be written"), query.lastError().text());
    return true;
}

QList<JournalEntry> SqliteJournal::entries(qint64 runId)
{
    QList<JournalEntry> list;
    if (!open_)
        return list;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral(
        "SELECT record, state, time, texts FROM states WHERE id IN (SELECT MAX(id) FROM states "
        "WHERE run_id = ? GROUP BY record) ORDER BY record"));
    query.addBindValue(runId);
    if (!query.exec()) {
        fail(QStringLiteral("be read"), query.lastError().text());
        return list;
    }
    while (query.next()) {
        const auto state = stateOfName(query.value(1).toString());
        if (!state)
            continue;
        list.append({query.value(0).toInt(), *state,
                     QDateTime::fromString(query.value(2).toString(), Qt::ISODateWithMs),
                     textsOfJson(query.value(3).toString())});
    }
    return list;
}

} // namespace batch
