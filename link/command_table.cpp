#include "link/command_table.h"

#include "link/hydro_commands.h"
#include "link/machine_commands.h"

#include <array>
#include <cstddef>

namespace vlink
{

namespace
{

using C = PrinterCommand;

constexpr std::array Table{
    CommandEntry{C::StartCommand, "StartCommand", "Start Command Error", StartCommand, false},
    CommandEntry{C::StopCommand, "StopCommand", "Stop Command Error", StopCommand, false},
    CommandEntry{C::PrintStart, "PrintStart", "PrintStart Error", PrintStart, true},
    CommandEntry{C::HighVoltageTurn, "HighVoltageTurn", "HighVoltageTurn Error", HighVoltageTurn,
                 true},
    CommandEntry{C::Reset, "Reset", "Reset Error", Reset, true},
    CommandEntry{C::RunningNumberReset, "RunningNumberReset", "RunningNumberReset Error",
                 RunningNumberReset, true},
    CommandEntry{C::AutoRunStop, "AutoRunStop", "AutoRun Stop Error", AutoRunStop, true},
    // Run only after "Mark delete. Are You Sure?" was answered Yes.
    CommandEntry{C::MarkDelete, "MarkDelete", "Mark not delete", MarkDelete, true},
    CommandEntry{C::RunningNumberForward, "RunningNumberForward", "RunningNumberDirectionSet Error",
                 RunningNumberForward, true},
    CommandEntry{C::RunningNumberBack, "RunningNumberBack", "RunningNumberDirectionSet Error",
                 RunningNumberBack, true},
    CommandEntry{C::MarkPrintForward, "MarkPrintForward", "MarkPrintDirection Set Error",
                 MarkPrintForward, true},
    CommandEntry{C::MarkPrintBack, "MarkPrintBack", "MarkPrintDirection Set Error", MarkPrintBack,
                 true},
    CommandEntry{C::MarkBreakPointCorrOn, "MarkBreakPointCorrOn", "MarkBreakPointCorr On Error",
                 MarkBreakPointCorrOn, true},
    CommandEntry{C::MarkBreakPointCorrOff, "MarkBreakPointCorrOff", "MarkBreakPointCorr On Error",
                 MarkBreakPointCorrOff, true},
    CommandEntry{C::MarkRotateOn, "MarkRotateOn", "MarkRotateOn Set Error", MarkRotateOn, true},
    CommandEntry{C::MarkRotateOff, "MarkRotateOff", "MarkRotateOn Set Error", MarkRotateOff, true},
    CommandEntry{C::AutoRunPeriodSet, "AutoRunPeriodSet", "Error"},
    CommandEntry{C::ParamsRead, "ParamsRead", "ParamsRead Error"},
    // The parameter window names the opposite direction in these two; kept as it shows them.
    CommandEntry{C::ParamsIncrease, "ParamsIncrease", "ParamsDecrease Error"},
    CommandEntry{C::ParamsDecrease, "ParamsDecrease", "ParamsIcrease Error"},
    CommandEntry{C::ByteStatusRead, "ByteStatusRead", "ByteStatusRead Error"},
    CommandEntry{C::TimeSet, "TimeSet", "Time Set Error"},
    CommandEntry{C::DateSet, "DateSet", "Date Set Error"},
    CommandEntry{C::TimeParamsRead, "TimeParamsRead", "TimeParamsRead Error"},
    // The printer chosen before is selected again after this failure.
    CommandEntry{C::PrinterSelect, "PrinterSelect", "Printer Not Found"},

    CommandEntry{C::TextFragmentRead, "TextFragmentRead", "TextFragmentRead Error"},
    CommandEntry{C::TextFragmentWrite, "TextFragmentWrite", "TextFragmentWrite Error"},
    CommandEntry{C::TextFragmentDelete, "TextFragmentDelete", "TextFragmentDeleteError"},
    CommandEntry{C::FontSet, "FontSet", "Font Set Error"},
    CommandEntry{C::CounterSet, "CounterSet", "Counter Set Error"},
    CommandEntry{C::TimeFormatSet, "TimeFormatSet", "Time Format Set Error"},
    CommandEntry{C::PostDateSet, "PostDateSet", "Post Date Set Error"},
    CommandEntry{C::SpecFuncWrite, "SpecFuncWrite", "Write Error"},
    CommandEntry{C::SpecFuncRead, "SpecFuncRead", "Read Error"},
    CommandEntry{C::ScriptRead, "ScriptRead", "ScriptRead Error"},
    CommandEntry{C::StoredMark, "StoredMark", "Error"},
    CommandEntry{C::MarkLoad, "MarkLoad", "Mark Load Error"},

    CommandEntry{C::PrinterLogoWrite, "PrinterLogoWrite", "Logo Load Error"},
    CommandEntry{C::DPLogoWrite, "DPLogoWrite", "Logo Load Error"},
    CommandEntry{C::PrinterLogoRead, "PrinterLogoRead", "Logo Read Error"},
    CommandEntry{C::DPLogoRead, "DPLogoRead", "Logo Read Error"},
    CommandEntry{C::PrinterLogoView, "PrinterLogoView", "Logo Read Error"},
    CommandEntry{C::DPLogoView, "DPLogoView", "Logo Read Error"},
    CommandEntry{C::PrinterLogoRename, "PrinterLogoRename", "Logo Rename Error"},
    CommandEntry{C::PrinterLogoDelete, "PrinterLogoDelete", "Logo Delete Error"},
    CommandEntry{C::DPLogoDelete, "DPLogoDelete", "Logo Delete Error"},
    CommandEntry{C::PrinterLogoNamesRead, "PrinterLogoNamesRead", "LogoNamesList Read Error"},
    CommandEntry{C::DPLogoNamesRead, "DPLogoNamesRead", "LogoNamesList Read Error"},
    CommandEntry{C::BankNumSet, "BankNumSet", "BankNumSet Error"},
    CommandEntry{C::MaxBankNumSet, "MaxBankNumSet", "Error"},
    CommandEntry{C::DPVersionRead, "DPVersionRead", "Error"},
    CommandEntry{C::MarkImageRead, "MarkImageRead", "Mark Read Error"},

    CommandEntry{C::KeyBoardChanelOpen, "KeyBoardChanelOpen", "KeyBoardChanel Open Error!!"},
    CommandEntry{C::KeyBoardChanelClose, "KeyBoardChanelClose", "KeyBoardChanel Close Error!!"},
    CommandEntry{C::HydroParamsRead, "HydroParamsRead", "HydroSystems Params Read Error!!"},
    // "Power" shows "Ok" with the caption "Info", as the port menus do.
    CommandEntry{C::HydroPower, "HydroPower", "HydroSystemPower Error", HydroPower, false},
    // The menu items and the value dialogs name their own texts (hydroActions()).
    CommandEntry{C::HydroValueWrite, "HydroValueWrite", "Hydro System On Error!!"},
};

constexpr bool inEnumOrder()
{
    for (std::size_t i = 0; i < Table.size(); ++i)
        if (std::size_t(Table[i].command) != i)
            return false;
    return Table.size() == std::size_t(C::HydroValueWrite) + 1;
}
static_assert(inEnumOrder(), "one row per command, in the order of PrinterCommand");

} // namespace

const CommandEntry &commandEntry(PrinterCommand command)
{
    return Table[std::size_t(command)];
}

QString failureText(PrinterCommand command)
{
    return QString::fromLatin1(commandEntry(command).failureText);
}

} // namespace vlink
