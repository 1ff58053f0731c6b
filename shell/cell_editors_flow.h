#pragma once

#include "shell/workflow.h"
#include "ui/clock.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QString>
#include <QWidget>

namespace vshell
{

// The counter, time and date, and post-date editors as the main window opens them: each anew
// at every opening, modal.
class CellEditorsFlow : public Workflow
{
public:
    CellEditorsFlow(QWidget &mainWindow, vui::LineState &line, const vui::Clock &clock,
                    vui::Prompts &prompts, vui::ModalRunner &modal, QString settingsPath);

    void wire(const MainControls &c, const ItemHandlers &on) override;

    void openCounter();
    void openTime();
    void openPostDate();

private:
    QWidget &mainWindow_;
    vui::LineState &line_;
    const vui::Clock &clock_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QString settingsPath_;
};

} // namespace vshell
