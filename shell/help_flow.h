#pragma once

#include "shell/about_box.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace vshell
{

// "Help" (the operator's help page, see help_page.h), "About", and "Open", which asks for a
// file and keeps nothing: the station has no document of its own.
class HelpFlow : public Workflow
{
public:
    HelpFlow(QWidget &mainWindow, vui::Prompts &prompts, vui::ModalRunner &modal, QString workDir);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    // The about box, made once at start.
    void createWindows();
    TAboutBox *aboutBox() const { return aboutBox_; }

private:
    void FileOpen1Click();
    void HelpItemClick();
    void About1Click();

    QWidget &mainWindow_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QString workDir_;
    QPointer<TAboutBox> aboutBox_;
};

} // namespace vshell
