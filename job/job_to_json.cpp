#include "job/dot_rows.h"
#include "job/job_file.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vjob
{

namespace
{

// Texts are the printer's bytes; each byte stands as the character of its code in ISO 8859-1.
QString bytesText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QJsonObject cellObject(const Job &job, int row, int column)
{
    const JobCell &c = job.cell(row, column);
    QJsonObject o = c.extra;
    o[QStringLiteral("row")] = row;
    o[QStringLiteral("column")] = column;
    o[QStringLiteral("kind")] = kindName(job, c);
    o[QStringLiteral("number")] = c.number;
    o[QStringLiteral("text")] = bytesText(c.text);
    if (job.isGraphic(c))
        o[QStringLiteral("logo")] = c.logo ? QJsonValue(*c.logo) : QStringLiteral("unknown");
    return o;
}

QJsonObject logoObject(const JobLogo &logo)
{
    const vlink::LogoBuffer &b = logo.buffer;
    QJsonObject o = logo.extra;
    o[QStringLiteral("number")] = b.number;
    o[QStringLiteral("name")] = bytesText(b.name);
    o[QStringLiteral("width")] = b.width;
    o[QStringLiteral("bands")] = b.height;
    o[QStringLiteral("dots")] =
        dotRows(b.width, b.height, [&b](int c, int h) { return (b.at(c, h / 8) >> (h % 8)) & 1; });
    return o;
}

QJsonObject pictureObject(const vlink::MarkImage &image)
{
    QJsonObject o;
    o[QStringLiteral("width")] = image.width;
    o[QStringLiteral("bands")] = image.rows;
    o[QStringLiteral("dots")] =
        dotRows(image.width, image.rows, [&image](int c, int h) { return image.dot(c, h); });
    return o;
}

QJsonObject optionsObject(quint8 options)
{
    return {{QStringLiteral("mirrorHorizontal"), bool(options & MirrorHorizontal)},
            {QStringLiteral("breakPointCorrection"), bool(options & BreakPointCorrection)},
            {QStringLiteral("mirrorVertical"), bool(options & MirrorVertical)}};
}

} // namespace

QString kindName(const Job &job, const JobCell &cell)
{
    switch (cell.kind) {
    case 0x00:
        return QStringLiteral("time-date");
    case 0x02:
        return QStringLiteral("post-date");
    case 0x05:
        return QStringLiteral("counter-down");
    case 0x06:
        return QStringLiteral("counter-up");
    case 0x07:
        return QStringLiteral("special");
    case 0xFF:
        return job.isGraphic(cell) ? QStringLiteral("graphic") : QStringLiteral("text");
    default:
        return QStringLiteral("kind-%1").arg(cell.kind);
    }
}

QByteArray jobToJson(const Job &job)
{
    QJsonObject o = job.extra;
    o[QStringLiteral("format")] = QLatin1String(JobFormatName);
    o[QStringLiteral("version")] = JobFormatVersion;
    o[QStringLiteral("fontCount")] = job.fontCount;
    o[QStringLiteral("markOptions")] = optionsObject(job.markOptions);
    o[QStringLiteral("postDateDays")] = job.postDateDays;
    o[QStringLiteral("script")] = bytesText(job.script);
    QJsonArray cells;
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            cells.append(cellObject(job, r, c));
    o[QStringLiteral("cells")] = cells;
    QJsonArray logos;
    for (const JobLogo &l : job.logos)
        logos.append(logoObject(l));
    o[QStringLiteral("logos")] = logos;
    o[QStringLiteral("picture")] = job.picture ? QJsonValue(pictureObject(*job.picture))
                                               : QJsonValue(QStringLiteral("unknown"));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace vjob
