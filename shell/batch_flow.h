#pragma once

#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QString>

class QWidget;

namespace vshell
{

// The "Batch" menu: card numbers and data files printed one record per product. Its items are
// off while nothing is connected and in Depot-only mode, where no printer takes the texts.
class BatchFlow : public Workflow
{
public:
    BatchFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
              vui::ModalRunner &modal, QString settingsPath);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    // Where the journal is kept; the user's data folder unless a test says otherwise.
    void setJournalPath(const QString &path) { journalPath_ = path; }

private:
    void Batch1Click(const MainControls &c);
    template <typename Window> void open();

    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QString settingsPath_;
    QString journalPath_;
};

} // namespace vshell
