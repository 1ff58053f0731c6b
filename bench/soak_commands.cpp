#include "bench/soak_commands.h"

#include "link/depot_commands.h"
#include "link/hydro_commands.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/mark_image.h"

#include <memory>

namespace bench
{

namespace
{

using vlink::Port;

vlink::LogoBuffer soakLogo()
{
    vlink::LogoBuffer logo;
    logo.width = 40;
    logo.height = 3;
    logo.name = "SOAK";
    for (int c = 0; c < logo.width; ++c)
        for (int b = 0; b < logo.height; ++b)
            logo.at(c, b) = quint8(c * 13 + b * 29);
    return logo;
}

// What the reads fill; kept between commands as the station's own buffers are.
struct Buffers {
    vlink::LogoBuffer logo;
    vlink::LogoNames names;
    vlink::Fragment fragment;
    vlink::TimeParams time{};
    vlink::MarkImage image;
    QByteArray text;
    quint8 value = 0;
};

std::vector<SoakCommand> logoCommands(const std::shared_ptr<Buffers> &b)
{
    const vlink::LogoBuffer logo = soakLogo();
    return {
        {"logos", "PrinterLogoWrite",
         [logo](Port &p) { return vlink::PrinterLogoWrite(p, 3, logo); }},
        {"logos", "PrinterLogoRead",
         [b](Port &p) { return bool(vlink::PrinterLogoRead(p, 3, b->logo)); }},
        {"logos", "PrinterLogoView",
         [b](Port &p) { return vlink::PrinterLogoView(p, 3, b->logo); }},
        {"logos", "PrinterLogoRename",
         [b](Port &p) { return bool(vlink::PrinterLogoRename(p, 3, "RENAMED", b->logo)); }},
        {"logos", "PrinterLogoDelete", [](Port &p) { return vlink::PrinterLogoDelete(p, 9); }},
        {"names lists", "PrinterLogoNamesRead",
         [b](Port &p) { return vlink::PrinterLogoNamesRead(p, b->names); }},
    };
}

std::vector<SoakCommand> depotCommands(const std::shared_ptr<Buffers> &b)
{
    const vlink::LogoBuffer logo = soakLogo();
    return {
        {"Depot", "BankNumSet", [](Port &p) { return vlink::BankNumSet(p, 2); }},
        {"Depot", "DPLogoWrite", [logo](Port &p) { return vlink::DPLogoWrite(p, 5, logo); }},
        {"Depot", "DPLogoRead", [b](Port &p) { return bool(vlink::DPLogoRead(p, 5, b->logo)); }},
        {"Depot", "DPLogoView", [b](Port &p) { return vlink::DPLogoView(p, 5, b->logo); }},
        {"Depot", "DPLogoDelete", [](Port &p) { return vlink::DPLogoDelete(p, 7); }},
        {"Depot", "DPVersionRead", [b](Port &p) { return vlink::DPVersionRead(p, b->text); }},
        {"names lists", "DPLogoNamesRead",
         [b](Port &p) { return vlink::DPLogoNamesRead(p, b->names); }},
    };
}

std::vector<SoakCommand> markCommands(const std::shared_ptr<Buffers> &b)
{
    const vlink::SpecFuncTexts spec{"1", "100", "200", "5", "1", "21"};
    return {
        {"mark", "TextFragmentWrite",
         [](Port &p) { return vlink::TextFragmentWrite(p, 1, 1, "LOT 42"); }},
        {"mark", "FontSet", [](Port &p) { return vlink::FontSet(p, 2, 1, 1); }},
        {"mark", "TextFragmentRead",
         [b](Port &p) { return vlink::TextFragmentRead(p, 1, 1, b->fragment); }},
        {"mark", "TextFragmentDelete", [](Port &p) { return vlink::TextFragmentDelete(p, 4, 8); }},
        {"mark", "MarkLoad", [](Port &p) { return vlink::MarkLoad(p, 3, 3, 2); }},
        {"mark", "StoredMark",
         [](Port &p) { return vlink::StoredMark(p, vlink::StoredMarkOp::WriteToStorage, 4); }},
        {"counters", "CounterSet", [](Port &p) { return vlink::CounterSet(p, 2, 1, "000100"); }},
        {"counters", "TimeFormatSet",
         [](Port &p) { return vlink::TimeFormatSet(p, 2, 2, "HH:XX"); }},
        {"counters", "PostDateSet",
         [](Port &p) { return vlink::PostDateSet(p, 2, 3, "0030", "DD.MM.YY"); }},
        {"special functions", "SpecFuncWrite",
         [spec](Port &p) { return vlink::SpecFuncWrite(p, spec); }},
        {"special functions", "SpecFuncRead",
         [b](Port &p) { return vlink::SpecFuncRead(p, b->text); }},
        {"special functions", "ScriptRead", [b](Port &p) { return vlink::ScriptRead(p, b->text); }},
        {"mark image", "MarkImageRead", [b](Port &p) { return vlink::MarkImageRead(p, b->image); }},
    };
}

std::vector<SoakCommand> machineCommands(const std::shared_ptr<Buffers> &b)
{
    return {
        {"machine", "StartCommand", vlink::StartCommand},
        {"machine", "StopCommand", vlink::StopCommand},
        {"machine", "Reset", vlink::Reset},
        {"machine", "RunningNumberReset", vlink::RunningNumberReset},
        {"machine", "AutoRunPeriodSet", [](Port &p) { return vlink::AutoRunPeriodSet(p, "12"); }},
        {"machine", "RunningNumberForward", vlink::RunningNumberForward},
        {"machine", "MarkPrintBack", vlink::MarkPrintBack},
        {"machine", "MarkBreakPointCorrOn", vlink::MarkBreakPointCorrOn},
        {"machine", "MarkRotateOff", vlink::MarkRotateOff},
        {"params", "ParamsRead", [b](Port &p) { return vlink::ParamsRead(p, 'C', b->value); }},
        {"params", "ParamsIncrease",
         [b](Port &p) { return vlink::ParamsIncrease(p, 'C', b->value); }},
        {"params", "ParamsDecrease",
         [b](Port &p) { return vlink::ParamsDecrease(p, 'C', b->value); }},
        {"params", "ByteStatusRead", [b](Port &p) { return vlink::ByteStatusRead(p, b->value); }},
        {"clock", "TimeSet", [](Port &p) { return vlink::TimeSet(p, "083000"); }},
        {"clock", "DateSet", [](Port &p) { return vlink::DateSet(p, "071226"); }},
        {"clock", "TimeParamsRead", [b](Port &p) { return vlink::TimeParamsRead(p, b->time); }},
    };
}

// The hydraulic commands go inside the keyboard channel, as the panel and the menu send them.
std::vector<SoakCommand> hydroCommands(const std::shared_ptr<Buffers> &b)
{
    return {
        {"hydraulics", "HydroParamsRead in the channel",
         [b](Port &p) {
             b->text.clear();
             return vlink::KeyBoardChanelOpen(p) && vlink::HydroParamsRead(p, b->text) &&
                    vlink::KeyBoardChanelClose(p);
         }},
        {"hydraulics", "HydroChannelWrite",
         [](Port &p) { return vlink::HydroChannelWrite(p, 0x01, 0x40, "failed").isEmpty(); }},
        {"hydraulics", "HydroPower", vlink::HydroPower},
    };
}

} // namespace

std::vector<SoakCommand> soakCommands()
{
    const auto buffers = std::make_shared<Buffers>();
    std::vector<SoakCommand> all;
    for (auto family : {logoCommands(buffers), depotCommands(buffers), markCommands(buffers),
                        machineCommands(buffers), hydroCommands(buffers)})
        all.insert(all.end(), family.begin(), family.end());
    return all;
}

} // namespace bench
