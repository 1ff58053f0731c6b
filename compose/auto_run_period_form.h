#pragma once

#include "link/port.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <functional>

class QLineEdit;

namespace vcompose
{

// Unit AutoRunPeriodUnit: shows and sets the printer's auto-run period (0..255) and shows its
// "A x L=" value. The printer takes a period only while auto-run is stopped, so the dialog stops
// it first, as often as the station's repeated stop tries.
class TAutoRunPeriodForm : public QDialog
{
    Q_OBJECT

public:
    // The repeated auto-run stop; the main window's menu item uses the same.
    using AutoRunStopper = std::function<bool(vlink::Port &)>;

    TAutoRunPeriodForm(vui::LineState &line, vui::Prompts &prompts, AutoRunStopper stop,
                       QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void FormActivate();
    bool stopAutoRun();
    void readPeriod();
    void BtOkClick();

    vui::LineState &line_;
    vui::Prompts &prompts_;
    AutoRunStopper stop_;
    QLineEdit *markNum_ = nullptr;
    QLineEdit *al_ = nullptr;
};

} // namespace vcompose
