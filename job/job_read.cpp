#include "job/job_transfer.h"
#include "link/command_table.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/printer_clock.h"

namespace vjob
{

namespace
{

using vlink::PrinterCommand;

bool readTimeParams(vlink::Port &port, Job &job)
{
    vlink::TimeParams params{};
    int filled = 0;
    if (!vlink::TimeParamsRead(port, params, filled) || filled < vlink::TimeParamCount)
        return false;
    job.markOptions = params[0] & MarkOptionBits;
    job.postDateDays = quint16(params[1] | (params[2] << 8));
    job.fontCount = vlink::timeParam(params, vlink::TimeParam::FontCount);
    return true;
}

bool readCells(vlink::Port &port, Job &job)
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c) {
            vlink::Fragment f;
            if (!vlink::TextFragmentRead(port, r, c, f))
                return false;
            job.cell(r, c) = JobCell{f.text, f.number, f.kind, std::nullopt, {}};
        }
    return true;
}

bool readLogos(vlink::Port &port, const CellLogos &logos, Job &job)
{
    for (const auto &[index, number] : logos) {
        JobCell &cell = job.cells[std::size_t(index)];
        if (!job.isGraphic(cell))
            continue;
        cell.logo = number;
        if (job.logo(number))
            continue;
        JobLogo logo;
        if (!vlink::PrinterLogoRead(port, number, logo.buffer))
            return false;
        job.logos.push_back(logo);
    }
    return true;
}

} // namespace

CellLogos placedLogos(const Job &job)
{
    CellLogos logos;
    for (int i = 0; i < CellCount; ++i)
        if (job.cells[std::size_t(i)].logo)
            logos[i] = *job.cells[std::size_t(i)].logo;
    return logos;
}

bool readPlacedLogos(vlink::Port &port, const CellLogos &logos, Job &job, QString &failure)
{
    if (readLogos(port, logos, job))
        return true;
    failure = vlink::failureText(PrinterCommand::PrinterLogoRead);
    return false;
}

bool readPrinterJob(vlink::Port &port, const CellLogos &logos, Job &job, QString &failure)
{
    const auto fail = [&failure](PrinterCommand command) {
        failure = vlink::failureText(command);
        return false;
    };
    if (!readTimeParams(port, job))
        return fail(PrinterCommand::TimeParamsRead);
    if (!readCells(port, job))
        return fail(PrinterCommand::TextFragmentRead);
    if (!vlink::SpecFuncRead(port, job.script))
        return fail(PrinterCommand::SpecFuncRead);
    if (!readLogos(port, logos, job))
        return fail(PrinterCommand::PrinterLogoRead);
    vlink::MarkImage image;
    if (!vlink::MarkImageRead(port, image))
        return fail(PrinterCommand::MarkImageRead);
    job.picture = image;
    return true;
}

} // namespace vjob
