#include "shell/kelm_main.h"

#include "link/command_table.h"
#include "shell/text_fragment_editing.h"
#include "ui/busy_cursor.h"

#include <QCheckBox>
#include <QMenu>

namespace vshell
{

void TAutoControl::guarded(const std::function<void()> &step)
{
    // No exception may cross the event loop: a port that cannot be opened is reported like the
    // application's own handler would, and the station goes on.
    try {
        step();
    } catch (const std::exception &e) {
        reportException(e);
    }
}

void TAutoControl::reportException(const std::exception &e)
{
    prompts_.message(QString::fromStdString(e.what()), ApplicationTitle);
}

// Every command runs under the busy cursor; its boxes and dialogs show the normal one.
void TAutoControl::on(QAction *action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)]() {
        const vui::BusyCursor busy;
        guarded(handler);
    });
}

// A menu enables its items from what the printer says as it opens; the boxes of that exchange
// wait until the menu is up, since a box run from inside Qt's menu code crashes it.
void TAutoControl::onOpen(QMenu *menu, std::function<void()> handler)
{
    connect(menu, &QMenu::aboutToShow, this, [this, handler = std::move(handler)]() {
        const vui::PromptGate::Hold hold(gate_);
        const vui::BusyCursor busy;
        guarded(handler);
    });
}

void TAutoControl::wire()
{
    // Menu opening.
    onOpen(c_.Tools1, [this] { Tools1Click(); });
    onOpen(c_.Graphics1, [this] { Graphics1Click(); });
    onOpen(c_.Mark1, [this] { Mark1Click(); });
    onOpen(c_.Params1, [this] { Params1Click(); });
    onOpen(c_.Printer1, [this] { Printer1Click(); });
    onOpen(c_.Selectport1, [this] { Selectport1Click(); });

    // File.
    for (int i = 0; i < 6; ++i) {
        on(c_.Com[std::size_t(i)], [this, i] { ComClick(i); });
        on(c_.Printers[std::size_t(i)], [this, i] { PrinterClick(i + 1); });
    }
    on(c_.LoadDateTimeM, [this] { LoadDateTimeMClick(); });
    on(c_.Start, [this] { StartClick(); });
    on(c_.Halt1, [this] { Halt1Click(); });
    on(c_.FileExitItem, [this] { close(); });

    // Mark.
    on(c_.MarkDelete1, [this] { MarkDelete1Click(); });
    const struct {
        OnOffMenu &menu;
        MarkOption option;
        bool opens; // the Config submenus read the printer's options when they open
    } options[] = {
        {c_.MirrorHorizontally1, MarkOption::MirrorHorizontally, true},
        {c_.MirrorVertically1, MarkOption::MirrorVertically, true},
        {c_.BreakPointCorrection1, MarkOption::BreakPointCorrection, true},
        {c_.MarkPrintDirection, MarkOption::MirrorHorizontally, false},
        {c_.MarkBreakPointCorrection, MarkOption::BreakPointCorrection, false},
        {c_.MarkRotation, MarkOption::MirrorVertically, false},
    };
    for (const auto &o : options) {
        const MarkOption option = o.option;
        if (o.opens)
            onOpen(o.menu.menu, [this, option] { ConfigOpen(option); });
        on(o.menu.on, [this, option] { ConfigSet(option, true); });
        if (o.menu.off)
            on(o.menu.off, [this, option] { ConfigSet(option, false); });
    }

    // Commands.
    using vlink::PrinterCommand;
    on(c_.AutoRunStop1, [this] { AutoRunStop1Click(); });
    on(c_.RunningNumberReset, [this] { command(PrinterCommand::RunningNumberReset); });
    on(c_.PrintStart, [this] { command(PrinterCommand::PrintStart); });
    on(c_.HighVoltageTurn, [this] { command(PrinterCommand::HighVoltageTurn); });
    on(c_.Reset, [this] { command(PrinterCommand::Reset); });
    on(c_.Forward1, [this] { command(PrinterCommand::RunningNumberForward); });
    on(c_.Back, [this] { command(PrinterCommand::RunningNumberBack); });

    // Help and the actions without a menu item.
    on(c_.HelpItem, [this] { HelpItemClick(); });
    on(c_.About1, [this] { About1Click(); });
    on(c_.EditCut1, [this] { EditCut1Click(); });
    on(c_.FileOpen1, [this] { FileOpen1Click(); });
    // "Save" and "Save As" have nothing to save: the station keeps no document.

    // Tool bar.
    on(c_.TbStart, [this] { StartClick(); });
    on(c_.TbMarkDelete, [this] { MarkDelete1Click(); });
    on(c_.TbAutoRunStop, [this] { TbAutoRunStopClick(); });
    on(c_.TbRunningNumberReset, [this] { command(PrinterCommand::RunningNumberReset); });
    on(c_.TbHighVoltageTurn, [this] { command(PrinterCommand::HighVoltageTurn); });
    on(c_.TbTest[0], [this] { TestButton1Click(); });
    // The second test button has no action; "ByteStatus" neither.
    on(c_.TbTest[2], [this] { TestButton3Click(); });

    // The text fragment editor: modal from the menus, modeless from the tool bar.
    const auto fragments = [this] {
        return TextFragmentEditing(*this, state_.line, state_.mark, prompts_, modal_,
                                   env_.settingsPath);
    };
    on(c_.FragEdit1, [fragments] { fragments().openModal(); });
    on(c_.FKeyFragEdit, [fragments] { fragments().openModal(); });
    on(c_.TbTextFragment, [fragments] { fragments().showModeless(); });

    // LogoLoad, LogoRead and DepotLogoLoad are wired in kelm_main_logos.cpp. The items of the
    // windows the station does not have yet do nothing when chosen: the editors (Counter,
    // TimeDate, PostDate, SpecFunc, AutoRun Period, Store, Restore, __MarkRead and the FKey items
    // and their buttons), the other logo windows (LogosView, DepotLogoRead and the other Depot
    // items, PrinterLogoPaste, DepotLogoPaste, the clipboard import and their buttons), the mark
    // preview (MarkRead), the parameter and status windows (ParamsValue, ByteStatus,
    // DepotBankMaxNum, DepotVersia) and the hydraulic panel.

    connect(c_.CBDepotNow, &QCheckBox::clicked, this,
            [this] { guarded([this] { CBDepotNowClick(); }); });
}

} // namespace vshell
