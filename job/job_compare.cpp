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

// The first column whose dots differ, or -1.
int firstDifferentColumn(const vlink::MarkImage &a, const vlink::MarkImage &b)
{
    const int width = std::max(a.width, b.width);
    for (int c = 0; c < width; ++c)
        for (int k = 0; k < vlink::MarkImage::Bands; ++k) {
            const quint8 x = c < a.width && k < a.rows ? a.at(c, k) : 0;
            const quint8 y = c < b.width && k < b.rows ? b.at(c, k) : 0;
            if (x != y)
                return c;
        }
    return -1;
}

void comparePictures(const Job &wanted, const Job &found, QStringList &out)
{
    if (!wanted.picture || !found.picture || wanted.hasClockCells() || found.hasClockCells())
        return;
    const vlink::MarkImage &w = *wanted.picture;
    const vlink::MarkImage &f = *found.picture;
    if (w.width != f.width || w.rows != f.rows)
        out << QStringLiteral("picture: job %1 x %2 dots, printer %3 x %4")
                   .arg(w.width)
                   .arg(w.rows * 8)
                   .arg(f.width)
                   .arg(f.rows * 8);
    else if (const int c = firstDifferentColumn(w, f); c >= 0)
        out << QStringLiteral("picture: the dots differ from column %1").arg(c);
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

} // namespace vjob
