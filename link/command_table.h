#pragma once

#include "link/port.h"

#include <QString>

namespace vlink
{

// The printer's commands as the station reports them. The main window's items and buttons, the
// dialogs and vuvactl all take a command's texts from its row, so a text is written once.
enum class PrinterCommand : quint8 {
    // Machine control.
    StartCommand,
    StopCommand,
    PrintStart,
    HighVoltageTurn,
    Reset,
    RunningNumberReset,
    AutoRunStop,
    MarkDelete,
    RunningNumberForward,
    RunningNumberBack,
    MarkPrintForward,
    MarkPrintBack,
    MarkBreakPointCorrOn,
    MarkBreakPointCorrOff,
    MarkRotateOn,
    MarkRotateOff,
    AutoRunPeriodSet,
    ParamsRead,
    ParamsIncrease,
    ParamsDecrease,
    ByteStatusRead,
    TimeSet,
    DateSet,
    TimeParamsRead,
    // One of the printers on the line.
    PrinterSelect,
    // The mark and its fragments.
    TextFragmentRead,
    TextFragmentWrite,
    TextFragmentDelete,
    FontSet,
    CounterSet,
    TimeFormatSet,
    PostDateSet,
    SpecFuncWrite,
    SpecFuncRead,
    ScriptRead,
    StoredMark,
    MarkLoad,
    // Logos in the printer and in the Depot unit.
    PrinterLogoWrite,
    DPLogoWrite,
    PrinterLogoRead,
    DPLogoRead,
    PrinterLogoView,
    DPLogoView,
    PrinterLogoRename,
    PrinterLogoDelete,
    DPLogoDelete,
    PrinterLogoNamesRead,
    DPLogoNamesRead,
    BankNumSet,
    MaxBankNumSet,
    DPVersionRead,
    // The mark rendered as dots.
    MarkImageRead,
    // The hydraulic system.
    KeyBoardChanelOpen,
    KeyBoardChanelClose,
    HydroParamsRead,
    HydroPower,
    HydroValueWrite,
};

struct CommandEntry {
    PrinterCommand command;
    // The command's name in the library.
    const char *name;
    // What its failure shows, caption "Error". A window that runs the command as one step of a
    // sequence of its own may name another text where the station does.
    const char *failureText;
    // The commands that take nothing but the port are an item's or a button's whole work: the
    // command itself, and whether its success shows "Ok". The others are called with their
    // arguments by their window, which decides on "Ok" at the end of its own sequence.
    bool (*run)(Port &) = nullptr;
    bool okShown = false;
};

const CommandEntry &commandEntry(PrinterCommand command);
QString failureText(PrinterCommand command);

} // namespace vlink
