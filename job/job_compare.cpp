#include "job/job_file.h"
#include "job/job_transfer.h"

namespace vjob
{

namespace
{

QString cellText(const Job &job, const JobCell &c)
{
    return QStringLiteral("%1 number %2 \"%3\"")
        .arg(kindName(job, c))
        .arg(c.number)
        .arg(QString::fromLatin1(c.text));
}

void compareCells(const Job &wanted, const Job &found, QStringList &out)
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c) {
            const JobCell &w = wanted.cell(r, c);
            const JobCell &f = found.cell(r, c);
            if (!(w == f))
                out << QStringLiteral("cell %1: job %2, printer %3")
                           .arg(cellName(r, c), cellText(wanted, w), cellText(found, f));
        }
}

bool sameLogo(const vlink::LogoBuffer &a, const vlink::LogoBuffer &b)
{
    if (a.width != b.width || a.height != b.height || a.name != b.name)
        return false;
    for (int c = 0; c < a.width; ++c)
        for (int k = 0; k < a.height; ++k)
            if (a.at(c, k) != b.at(c, k))
                return false;
    return true;
}

void compareLogos(const Job &wanted, const Job &found, QStringList &out)
{
    for (const JobLogo &w : wanted.logos) {
        const JobLogo *f = found.logo(w.buffer.number);
        if (!f)
            out << QStringLiteral("logo %1: not read back (no graphic cell places it)")
                       .arg(w.buffer.number);
        else if (!sameLogo(w.buffer, f->buffer))
            out << QStringLiteral("logo %1: the printer's \"%2\" (%3 x %4) differs from the job's")
                       .arg(w.buffer.number)
                       .arg(QString::fromLatin1(f->buffer.name))
                       .arg(f->buffer.width)
                       .arg(f->buffer.height * 8);
    }
}

bool columnsDiffer(const vlink::MarkImage &a, const vlink::MarkImage &b, int c)
{
    for (int k = 0; k < vlink::MarkImage::Bands; ++k) {
        const quint8 x = c < a.width && k < a.rows ? a.at(c, k) : 0;
        const quint8 y = c < b.width && k < b.rows ? b.at(c, k) : 0;
        if (x != y)
            return true;
    }
    return false;
}

// Pictures with a cell that the clock or the count changes cannot be compared dot for dot: the
// printer does not tell where a cell prints, so the station cannot mask it.
bool comparable(const Job &wanted, const Job &found)
{
    return wanted.picture && found.picture && !wanted.hasClockCells() && !found.hasClockCells();
}

void comparePictures(const Job &wanted, const Job &found, QStringList &out)
{
    if (!comparable(wanted, found))
        return;
    const vlink::MarkImage &w = *wanted.picture;
    const vlink::MarkImage &f = *found.picture;
    if (w.width != f.width || w.rows != f.rows)
        out << QStringLiteral("picture: job %1 x %2 dots, printer %3 x %4")
                   .arg(w.width)
                   .arg(w.rows * 8)
                   .arg(f.width)
                   .arg(f.rows * 8);
    else if (const std::optional<ColumnSpan> span = pictureDifference(wanted, found))
        out << QStringLiteral("picture: the dots differ from column %1").arg(span->first);
}

void compareSettings(const Job &wanted, const Job &found, QStringList &out)
{
    if (wanted.script != found.script)
        out << QStringLiteral("script: job \"%1\", printer \"%2\"")
                   .arg(QString::fromLatin1(wanted.script), QString::fromLatin1(found.script));
    if (wanted.markOptions != found.markOptions)
        out << QStringLiteral("print options: job %1, printer %2")
                   .arg(wanted.markOptions)
                   .arg(found.markOptions);
    // The day count only matters to a post date, and only a post date can set it.
    if (wanted.hasPostDate() && wanted.postDateDays != found.postDateDays)
        out << QStringLiteral("post-date days: job %1, printer %2")
                   .arg(wanted.postDateDays)
                   .arg(found.postDateDays);
}

} // namespace

QStringList jobDifferences(const Job &wanted, const Job &found)
{
    QStringList out;
    if (wanted.fontCount != found.fontCount)
        out << QStringLiteral("font count: job %1, printer %2")
                   .arg(wanted.fontCount)
                   .arg(found.fontCount);
    compareCells(wanted, found, out);
    compareSettings(wanted, found, out);
    compareLogos(wanted, found, out);
    comparePictures(wanted, found, out);
    return out;
}

std::optional<ColumnSpan> pictureDifference(const Job &wanted, const Job &found)
{
    if (!comparable(wanted, found))
        return std::nullopt;
    const vlink::MarkImage &w = *wanted.picture;
    const vlink::MarkImage &f = *found.picture;
    std::optional<ColumnSpan> span;
    for (int c = 0; c < std::max(w.width, f.width); ++c)
        if (columnsDiffer(w, f, c))
            span = ColumnSpan{span ? span->first : c, c};
    return span;
}

} // namespace vjob
