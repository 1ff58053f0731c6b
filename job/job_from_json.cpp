#include "job/dot_rows.h"
#include "job/job_file.h"
#include "job/script_texts.h"
#include "link/logo_record.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <set>

namespace vjob
{

namespace
{

// Why the file is refused; caught once at the top.
struct Refused {
    QString why;
};

[[noreturn]] void refuse(const QString &why)
{
    throw Refused{why};
}

const QStringList &knownKeys(const QString &what)
{
    static const QStringList top = {"format", "version", "fontCount", "markOptions", "postDateDays",
                                    "script", "cells",   "logos",     "picture"};
    static const QStringList cell = {"row", "column", "kind", "number", "text", "logo"};
    static const QStringList logo = {"number", "name", "width", "bands", "dots"};
    return what == QLatin1String("cell") ? cell : what == QLatin1String("logo") ? logo : top;
}

// The fields this version does not know, kept for the next save.
QJsonObject unknownFields(const QJsonObject &o, const QString &what)
{
    QJsonObject rest = o;
    for (const QString &key : knownKeys(what))
        rest.remove(key);
    return rest;
}

int wholeIn(const QJsonObject &o, const char *key, int low, int high, const QString &where)
{
    const QJsonValue v = o.value(QLatin1String(key));
    const double d = v.toDouble(-1);
    // The range first: a number beyond it must never reach a conversion it overflows.
    if (!v.isDouble() || d < low || d > high || d != std::trunc(d))
        refuse(QStringLiteral("%1: %2 must be a whole number %3..%4")
                   .arg(where, key)
                   .arg(low)
                   .arg(high));
    return int(d);
}

QByteArray bytesIn(const QJsonObject &o, const char *key, int max, const QString &where)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString())
        refuse(QStringLiteral("%1: %2 must be a text").arg(where, key));
    const QString text = v.toString();
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            refuse(QStringLiteral("%1: %2 holds a character beyond one byte").arg(where, key));
    if (text.size() > max)
        refuse(QStringLiteral("%1: %2 of %3 characters, at most %4")
                   .arg(where, key)
                   .arg(text.size())
                   .arg(max));
    return text.toLatin1();
}

QJsonObject objectIn(const QJsonValue &v, const QString &where)
{
    if (!v.isObject())
        refuse(QStringLiteral("%1 must be an object").arg(where));
    return v.toObject();
}

quint8 kindByte(const QString &name, const QString &where)
{
    static const std::pair<const char *, quint8> kinds[] = {
        {"text", 0xFF},         {"graphic", 0xFF},    {"time-date", 0x00}, {"post-date", 0x02},
        {"counter-down", 0x05}, {"counter-up", 0x06}, {"special", 0x07}};
    for (const auto &[n, kind] : kinds)
        if (name == QLatin1String(n))
            return kind;
    refuse(QStringLiteral("cell %1: unknown kind \"%2\"").arg(where, name));
}

void readCell(Job &job, const QJsonValue &value, std::set<int> &seen)
{
    const QJsonObject o = objectIn(value, QStringLiteral("a cell"));
    const int row = wholeIn(o, "row", 1, Rows, QStringLiteral("a cell"));
    const int column = wholeIn(o, "column", 1, Columns, QStringLiteral("a cell"));
    const QString where = cellName(row, column);
    if (!seen.insert(Job::index(row, column)).second)
        refuse(QStringLiteral("cell %1 appears twice").arg(where));
    JobCell &c = job.cell(row, column);
    const QString kind = o.value(QLatin1String("kind")).toString();
    c.kind = kindByte(kind, where);
    c.number = quint8(wholeIn(o, "number", 0, 0xFF, QStringLiteral("cell ") + where));
    c.text = bytesIn(o, "text", TextMax, QStringLiteral("cell ") + where);
    c.extra = unknownFields(o, QStringLiteral("cell"));
    const bool graphic = kind == QLatin1String("graphic");
    if (graphic != job.isGraphic(c))
        refuse(QStringLiteral("cell %1: a graphic, and only a graphic, has the font count as its "
                              "number")
                   .arg(where));
    if (graphic && o.value(QLatin1String("logo")) != QLatin1String("unknown"))
        c.logo = wholeIn(o, "logo", 0, 0xFF, QStringLiteral("cell ") + where);
}

void readCells(Job &job, const QJsonValue &value)
{
    const QJsonArray cells = value.toArray();
    if (!value.isArray() || cells.size() != CellCount)
        refuse(QStringLiteral("cells must list all %1 cells of the mark").arg(CellCount));
    std::set<int> seen;
    for (const QJsonValue &c : cells)
        readCell(job, c, seen);
}

void readLogo(Job &job, const QJsonValue &value)
{
    const QJsonObject o = objectIn(value, QStringLiteral("a logo"));
    JobLogo logo;
    vlink::LogoBuffer &b = logo.buffer;
    b.order = vlink::DotOrder::Device;
    b.number = wholeIn(o, "number", 0, 0xFF, QStringLiteral("a logo"));
    const QString where = QStringLiteral("logo %1").arg(b.number);
    if (job.logo(b.number))
        refuse(QStringLiteral("%1 appears twice").arg(where));
    b.name = bytesIn(o, "name", vlink::LogoBuffer::NameLength, where);
    b.height = wholeIn(o, "bands", 1, vlink::LogoBuffer::Bands, where);
    b.width = wholeIn(o, "width", 1, vlink::MaxWireWidth, where);
    if (!vlink::FitsRecord(b))
        refuse(QStringLiteral("%1: %2 columns of %3 bands do not fit a logo record")
                   .arg(where)
                   .arg(b.width)
                   .arg(b.height));
    if (!readDotRows(o.value(QLatin1String("dots")), b.width, b.height,
                     [&b](int c, int h) { b.at(c, h / 8) |= quint8(1u << (h % 8)); }))
        refuse(QStringLiteral("%1: dots must be %2 lines of %3 \"#\" or \".\"")
                   .arg(where)
                   .arg(b.height * 8)
                   .arg(b.width));
    logo.extra = unknownFields(o, QStringLiteral("logo"));
    job.logos.push_back(logo);
}

void readPicture(Job &job, const QJsonValue &value)
{
    if (value == QLatin1String("unknown") || value.isUndefined())
        return;
    const QJsonObject o = objectIn(value, QStringLiteral("picture"));
    vlink::MarkImage image;
    image.rows = wholeIn(o, "bands", 0, vlink::MarkImage::Bands, QStringLiteral("picture"));
    image.width = wholeIn(o, "width", 0, vlink::MarkImage::Columns, QStringLiteral("picture"));
    if (!readDotRows(o.value(QLatin1String("dots")), image.width, image.rows,
                     [&image](int c, int h) { image.at(c, h / 8) |= quint8(1u << (h % 8)); }))
        refuse(QStringLiteral("picture: dots must be %1 lines of %2 \"#\" or \".\"")
                   .arg(image.rows * 8)
                   .arg(image.width));
    job.picture = image;
}

void readOptions(Job &job, const QJsonValue &value)
{
    const QJsonObject o = objectIn(value, QStringLiteral("markOptions"));
    const std::pair<const char *, quint8> bits[] = {{"mirrorHorizontal", MirrorHorizontal},
                                                    {"breakPointCorrection", BreakPointCorrection},
                                                    {"mirrorVertical", MirrorVertical}};
    for (const auto &[key, bit] : bits) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isBool())
            refuse(QStringLiteral("markOptions: %1 must be true or false").arg(key));
        if (v.toBool())
            job.markOptions |= bit;
    }
}

void readVersion(const QJsonObject &o)
{
    if (o.value(QLatin1String("format")) != QLatin1String(JobFormatName))
        refuse(QStringLiteral("not a job file"));
    const int version = wholeIn(o, "version", 1, 0x7FFFFFFF, QStringLiteral("the file"));
    if (version > JobFormatVersion)
        refuse(QStringLiteral("a job file of version %1; this station reads version %2")
                   .arg(version)
                   .arg(JobFormatVersion));
}

Job readRoot(const QJsonObject &o)
{
    readVersion(o);
    Job job;
    job.fontCount = quint8(wholeIn(o, "fontCount", 1, 0xFF, QStringLiteral("the file")));
    job.postDateDays = quint16(wholeIn(o, "postDateDays", 0, 0xFFFF, QStringLiteral("the file")));
    readOptions(job, o.value(QLatin1String("markOptions")));
    job.script = bytesIn(o, "script", 0xFF, QStringLiteral("the file"));
    if (!scriptTexts(job.script))
        refuse(QStringLiteral("script: not a special-function script"));
    readCells(job, o.value(QLatin1String("cells")));
    const QJsonValue logos = o.value(QLatin1String("logos"));
    if (!logos.isArray() || logos.toArray().size() > 0x100)
        refuse(QStringLiteral("logos must be a list of at most 256 logos"));
    for (const QJsonValue &l : logos.toArray())
        readLogo(job, l);
    readPicture(job, o.value(QLatin1String("picture")));
    job.extra = unknownFields(o, QStringLiteral("top"));
    return job;
}

// A graphic whose logo is known must find that logo in the job.
void checkPlacedLogos(const Job &job)
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c) {
            const JobCell &cell = job.cell(r, c);
            if (cell.logo && !job.logo(*cell.logo))
                refuse(QStringLiteral("cell %1 places logo %2, which the job does not hold")
                           .arg(cellName(r, c))
                           .arg(*cell.logo));
        }
}

} // namespace

std::optional<Job> jobFromJson(const QByteArray &bytes, QString &problem)
{
    try {
        if (bytes.size() > JobFileMax)
            refuse(QStringLiteral("larger than %1 bytes").arg(JobFileMax));
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError)
            refuse(QStringLiteral("not a job file (%1 at byte %2)")
                       .arg(error.errorString())
                       .arg(error.offset));
        if (!doc.isObject())
            refuse(QStringLiteral("not a job file"));
        Job job = readRoot(doc.object());
        checkPlacedLogos(job);
        return job;
    } catch (const Refused &r) {
        problem = r.why;
        return std::nullopt;
    }
}

} // namespace vjob
