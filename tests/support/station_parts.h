#pragma once

#include "compose/counter_form.h"
#include "compose/post_date_form.h"
#include "compose/text_fragment_editor.h"
#include "compose/time_form.h"
#include "graphics/logo_form_base.h"
#include "shell/logo_flow.h"
#include "ui/station_state.h"

#include <QPointer>
#include <memory>

// What the main window hands its dialogs, made from a station's state as the main window makes
// it. The dialogs report through prompts and send their messages to mainWindow.
vgfx::LogoFormContext logoContext(vui::StationState &state, vui::Prompts &prompts,
                                  QObject *mainWindow);
std::unique_ptr<vcompose::TOKHelpRightDlg> textEditor(vui::StationState &state,
                                                      vui::Prompts &prompts, QObject *mainWindow,
                                                      QWidget *parent = nullptr);

// A station's state of its own on a port, with the dialogs and flows made on it. Tests build the
// state and the dialogs only through here.
class StationParts
{
public:
    StationParts(vlink::Port &port, vui::Prompts &prompts, QObject *mainWindow);

    vgfx::LogoFormContext logoContext() { return ::logoContext(state, prompts_, mainWindow_); }
    vshell::LogoFlow logoFlow(vui::ModalRunner &modal, const QString &workDir);
    std::unique_ptr<vcompose::TOKHelpRightDlg> textEditor()
    {
        return ::textEditor(state, prompts_, mainWindow_);
    }
    std::unique_ptr<vcompose::TCounterForm> counterForm()
    {
        return std::make_unique<vcompose::TCounterForm>(line, prompts_, vlink::CodePage(),
                                                        mainWindow_);
    }
    std::unique_ptr<vcompose::TTimeForm> timeForm()
    {
        return std::make_unique<vcompose::TTimeForm>(line, prompts_, vlink::CodePage(),
                                                     state.clock);
    }
    std::unique_ptr<vcompose::TPostDateForm> postDateForm()
    {
        return std::make_unique<vcompose::TPostDateForm>(line, prompts_, vlink::CodePage());
    }

    vlink::LogoBuffer logo;
    vui::StationState state;
    vui::LineState &line = state.line;
    vui::LogoWorkflow &logos = state.logos;
    vui::MarkEditing &mark = state.mark;

private:
    vui::Prompts &prompts_;
    QPointer<QObject> mainWindow_;
};
