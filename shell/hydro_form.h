#pragma once

#include "link/hydro_commands.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <QTimer>

class QPushButton;
class QTreeWidget;

namespace vshell
{

// "HydroSystem": the 14 hydraulic readings, read once when the panel is made and then, while
// running, every 500 ms with the keyboard channel held open. A double click on the bias,
// threshold or work pressure row opens its value dialog.
class THydroForm : public QDialog
{
    Q_OBJECT

public:
    THydroForm(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
               vui::ModalRunner &modal, QWidget *parent = nullptr);

    // The first reading, framed by its own channel open and close.
    void FormCreate();
    // "Start" / "Stop".
    void Button2Click();
    void Timer1Timer();
    void ListView2DblClick();
    bool running() const { return Timer1.isActive(); }

    QTreeWidget *ListView2 = nullptr;
    QPushButton *Button2 = nullptr;
    QTimer Timer1;

protected:
    void done(int result) override;

private:
    void fillRows(const vlink::HydroValues &values);
    void updateRows(const vlink::HydroValues &values);
    void remember(const vlink::HydroValues &values);
    void stop();
    void closeChannel();
    std::optional<vlink::HydroValues> read();
    void openDialog(int row);

    vui::LineState &line_;
    vui::HydroValues &hydro_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    bool refreshAllowed_ = false;
    // A refresh is between its read and its end: a close waits for it.
    bool refreshing_ = false;
    bool closeAfterRefresh_ = false;
};

} // namespace vshell
