#pragma once

#include "compose/text_fragment_editor.h"
#include "graphics/logo_form_base.h"
#include "shell/logo_flow.h"
#include "ui/station_state.h"

#include <QPointer>
#include <memory>

// The station's state on a port, and the dialogs and flows made on it as the main window makes
// them. Tests build the state and the dialogs only through here.
class StationParts
{
public:
    // The dialogs report through prompts and send their messages to mainWindow.
    StationParts(vlink::Port &port, vui::Prompts &prompts, QObject *mainWindow);

    vgfx::LogoFormContext logoContext();
    vshell::LogoFlow logoFlow(vui::ModalRunner &modal, const QString &workDir);
    std::unique_ptr<vcompose::TOKHelpRightDlg> textEditor();

    vlink::LogoBuffer logo;
    vui::StationState state;
    vui::LineState &line = state.line;
    vui::LogoWorkflow &logos = state.logos;
    vui::MarkEditing &mark = state.mark;

private:
    vui::Prompts &prompts_;
    QPointer<QObject> mainWindow_;
};
