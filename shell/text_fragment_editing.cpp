#include "shell/text_fragment_editing.h"

#include "link/codepage.h"
#include "link/settings_file.h"

namespace vshell
{

TextFragmentEditing::TextFragmentEditing(QWidget &mainWindow, vui::LineState &line,
                                         vui::MarkEditing &mark, vui::Prompts &prompts,
                                         vui::ModalRunner &modal, QString settingsPath)
    : mainWindow_(mainWindow), line_(line), mark_(mark), prompts_(prompts), modal_(modal),
      settingsPath_(std::move(settingsPath))
{
}

vcompose::TOKHelpRightDlg &TextFragmentEditing::editor()
{
    if (auto *existing = mainWindow_.findChild<vcompose::TOKHelpRightDlg *>(
            QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    const vlink::CodePage codePage =
        vlink::CodePage::fromSettings(vlink::SettingsFile(settingsPath_));
    return *new vcompose::TOKHelpRightDlg(line_, mark_, prompts_, codePage, &mainWindow_,
                                          &mainWindow_);
}

void TextFragmentEditing::openModal()
{
    mark_.cellRoutine = vui::CellRoutine::Read;
    modal_.exec(editor());
}

void TextFragmentEditing::showModeless()
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
