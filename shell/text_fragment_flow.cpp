#include "shell/text_fragment_flow.h"

#include "link/codepage.h"
#include "link/settings_file.h"

namespace vshell
{

TextFragmentFlow::TextFragmentFlow(QWidget &mainWindow, vui::LineState &line,
                                   vui::MarkEditing &mark, vui::Prompts &prompts,
                                   vui::ModalRunner &modal, QString settingsPath)
    : mainWindow_(mainWindow), line_(line), mark_(mark), prompts_(prompts), modal_(modal),
      settingsPath_(std::move(settingsPath))
{
}

void TextFragmentFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.FragEdit1, [this] { openModal(); });
    on.on(c.FKeyFragEdit, [this] { openModal(); });
    on.on(c.TbTextFragment, [this] { showModeless(); });
}

vcompose::TOKHelpRightDlg &TextFragmentFlow::editor()
{
    if (!editor_) {
        const vlink::CodePage codePage =
            vlink::CodePage::fromSettings(vlink::SettingsFile(settingsPath_));
        editor_ = new vcompose::TOKHelpRightDlg(line_, mark_, prompts_, codePage, &mainWindow_,
                                                &mainWindow_);
    }
    return *editor_;
}

void TextFragmentFlow::openModal()
{
    mark_.cellRoutine = vui::CellRoutine::Read;
    modal_.exec(editor());
}

void TextFragmentFlow::showModeless()
{
    mark_.cellRoutine = vui::CellRoutine::Read;
    vcompose::TOKHelpRightDlg &dialog = editor();
    // Showing reads the cell; a dialog already up reads it here.
    if (dialog.isVisible())
        dialog.readCurrentCell();
    else
        modal_.show(dialog);
}

} // namespace vshell
