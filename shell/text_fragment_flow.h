#pragma once

#include "compose/text_fragment_editor.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace vshell
{

// The text fragment editor as the main window opens it. There is one editor for the whole run, a
// child of the main window made on first use, so its cell stays where the operator left it.
class TextFragmentFlow : public Workflow
{
public:
    TextFragmentFlow(QWidget &mainWindow, vui::LineState &line, vui::MarkEditing &mark,
                     vui::Prompts &prompts, vui::ModalRunner &modal, QString settingsPath);

    void wire(const MainControls &c, const ItemHandlers &on) override;

    // "FragEdit" in "Tools" and in the hidden "FKey" menu (F1): modal.
    void openModal();
    // The tool button: modeless, and the cell is read at once, also when the editor is up.
    void showModeless();

    vcompose::TOKHelpRightDlg &editor();

private:
    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::MarkEditing &mark_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QString settingsPath_;
    QPointer<vcompose::TOKHelpRightDlg> editor_;
};

} // namespace vshell
