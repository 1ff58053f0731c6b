#include "shell/batch_flow.h"

#include "batch/sqlite_journal.h"
#include "link/settings_file.h"
#include "shell/card_print_form.h"
#include "shell/excel_print_form.h"

#include <QMenu>

namespace vshell
{

BatchFlow::BatchFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                     vui::ModalRunner &modal, QString settingsPath)
    : mainWindow_(mainWindow), line_(line), prompts_(prompts), modal_(modal),
      settingsPath_(std::move(settingsPath)), journalPath_(batch::SqliteJournal::defaultPath())
{
}

void BatchFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.onOpen(c.Batch1, [this, &c] { Batch1Click(c); });
    on.on(c.CardNumbers1, [this] { open<TCardPrint>(); });
    on.on(c.PrintFromFile1, [this] { open<TExcelPrintForm>(); });
}

void BatchFlow::Batch1Click(const MainControls &c)
{
    const bool printer = line_.connected && !line_.depotOnly;
    c.CardNumbers1->setEnabled(printer);
    c.PrintFromFile1->setEnabled(printer);
}

template <typename Window> void BatchFlow::open()
{
    // A shortcut or a test may reach an item the menu would show disabled.
    if (!line_.connected || line_.depotOnly)
        return;
    const vlink::CodePage codePage =
        vlink::CodePage::fromSettings(vlink::SettingsFile(settingsPath_));
    Window window({line_, prompts_, codePage, journalPath_, &modal_}, &mainWindow_);
    modal_.exec(window);
}

} // namespace vshell
