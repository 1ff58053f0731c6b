#include "job/job_transfer.h"
#include "job/script_texts.h"
#include "link/command_table.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"

#include <functional>

namespace vjob
{

namespace
{

using vlink::PrinterCommand;

// One command of the load, named for the list of what was written.
struct Step {
    QString what;
    PrinterCommand command;
    std::function<bool(vlink::Port &)> run;
};
using Steps = std::vector<Step>;

QByteArray dayCount(quint16 days)
{
    return days > 9999 ? QByteArray(vlink::PostDateOffsetKept)
                       : QByteArray::number(days).rightJustified(4, '0');
}

// The commands that make the cell's kind, before its font is set.
void kindSteps(const Job &job, const JobCell &c, int r, int col, Steps &steps)
{
    const QString at = QStringLiteral("cell %1: ").arg(cellName(r, col));
    const QByteArray text = c.text;
    switch (c.kind) {
    case 0x00:
        steps.push_back({at + "time and date", PrinterCommand::TimeFormatSet,
                         [=](vlink::Port &p) { return vlink::TimeFormatSet(p, r, col, text); }});
        return;
    case 0x02:
        steps.push_back({at + "post date", PrinterCommand::PostDateSet, [=, &job](vlink::Port &p) {
                             return vlink::PostDateSet(p, r, col, dayCount(job.postDateDays), text);
                         }});
        return;
    case 0x05:
    case 0x06: {
        const bool up = c.kind == 0x06;
        steps.push_back(
            {at + "counter direction",
             up ? PrinterCommand::RunningNumberForward : PrinterCommand::RunningNumberBack,
             up ? vlink::RunningNumberForward : vlink::RunningNumberBack});
        steps.push_back({at + "counter", PrinterCommand::CounterSet,
                         [=](vlink::Port &p) { return vlink::CounterSet(p, r, col, text); }});
        return;
    }
    default: // a text, and the text a special function's cell keeps until the script marks it
        if (text.isEmpty())
            steps.push_back({at + "delete", PrinterCommand::TextFragmentDelete,
                             [=](vlink::Port &p) { return vlink::TextFragmentDelete(p, r, col); }});
        else
            steps.push_back({at + "text", PrinterCommand::TextFragmentWrite, [=](vlink::Port &p) {
                                 return vlink::TextFragmentWrite(p, r, col, text);
                             }});
    }
}

void cellSteps(const Job &job, int r, int col, Steps &steps)
{
    const JobCell &c = job.cell(r, col);
    if (job.isGraphic(c)) {
        const quint8 logo = quint8(c.logo.value_or(0));
        steps.push_back({QStringLiteral("cell %1: logo %2").arg(cellName(r, col)).arg(logo),
                         PrinterCommand::MarkLoad,
                         [=](vlink::Port &p) { return vlink::MarkLoad(p, logo, col, r); }});
        return;
    }
    kindSteps(job, c, r, col, steps);
    const int font = c.number;
    if (c.text.isEmpty() && c.kind == 0xFF && font == 0)
        return; // a deleted cell has font 0 already
    steps.push_back({QStringLiteral("cell %1: font %2").arg(cellName(r, col)).arg(font),
                     PrinterCommand::FontSet,
                     [=](vlink::Port &p) { return vlink::FontSet(p, font, r, col); }});
}

void optionSteps(quint8 options, Steps &steps)
{
    const auto pick = [&steps, options](quint8 bit, const char *name, PrinterCommand on,
                                        bool (*runOn)(vlink::Port &), PrinterCommand off,
                                        bool (*runOff)(vlink::Port &)) {
        const bool set = options & bit;
        steps.push_back({QStringLiteral("%1 %2").arg(QLatin1String(name), set ? "on" : "off"),
                         set ? on : off, set ? runOn : runOff});
    };
    pick(MirrorHorizontal, "horizontal mirroring", PrinterCommand::MarkPrintBack,
         vlink::MarkPrintBack, PrinterCommand::MarkPrintForward, vlink::MarkPrintForward);
    pick(BreakPointCorrection, "break-point correction", PrinterCommand::MarkBreakPointCorrOn,
         vlink::MarkBreakPointCorrOn, PrinterCommand::MarkBreakPointCorrOff,
         vlink::MarkBreakPointCorrOff);
    pick(MirrorVertical, "vertical mirroring", PrinterCommand::MarkRotateOn, vlink::MarkRotateOn,
         PrinterCommand::MarkRotateOff, vlink::MarkRotateOff);
}

Steps loadSteps(const Job &job)
{
    Steps steps;
    for (const JobLogo &l : job.logos) {
        const vlink::LogoBuffer logo = l.buffer;
        steps.push_back(
            {QStringLiteral("logo %1").arg(logo.number), PrinterCommand::PrinterLogoWrite,
             [logo](vlink::Port &p) { return vlink::PrinterLogoCopyWrite(p, logo.number, logo); }});
    }
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            cellSteps(job, r, c, steps);
    if (const auto texts = scriptTexts(job.script); texts && !job.script.isEmpty())
        steps.push_back({QStringLiteral("special-function script"), PrinterCommand::SpecFuncWrite,
                         [t = *texts](vlink::Port &p) { return vlink::SpecFuncWrite(p, t); }});
    optionSteps(job.markOptions, steps);
    return steps;
}

} // namespace

QString unwritable(const Job &job, quint8 printerFontCount)
{
    if (job.fontCount != printerFontCount)
        return QStringLiteral("The job was saved on a printer with %1 fonts; this one has %2")
            .arg(job.fontCount)
            .arg(printerFontCount);
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (job.isGraphic(job.cell(r, c)) && !job.cell(r, c).logo)
                return QStringLiteral("Cell %1 is a graphic whose logo the job does not know")
                    .arg(cellName(r, c));
    if (!scriptTexts(job.script))
        return QStringLiteral("The job's script is not a special-function script");
    return {};
}

bool writeJob(vlink::Port &port, const Job &job, QStringList &written, QString &failure)
{
    for (const Step &step : loadSteps(job)) {
        if (!step.run(port)) {
            failure = vlink::failureText(step.command);
            return false;
        }
        written.append(step.what);
    }
    return true;
}

} // namespace vjob
