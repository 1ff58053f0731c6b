#pragma once

#include "link/hydro_commands.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace vshell
{

// What sets one remembered hydraulic value: its range and channel (shared with vuvactl), and where
// the main window keeps it.
struct HydroValueSpec {
    const char *objectName;
    const char *caption;
    vlink::HydroEntered setting;
    int vui::HydroValues::*remembered;
};

// A small dialog that sends one hydraulic value through the keyboard channel. It closes after
// "OK" whatever happened.
class THydroValueDialog : public QDialog
{
    Q_OBJECT

public:
    THydroValueDialog(const HydroValueSpec &spec, vui::LineState &line, vui::HydroValues &hydro,
                      vui::Prompts &prompts, QWidget *parent = nullptr);

    void OKClick();

    QLabel *LDiapazon = nullptr;
    QLineEdit *EdValue = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void send(int value);

    HydroValueSpec spec_;
    vui::LineState &line_;
    vui::HydroValues &hydro_;
    vui::Prompts &prompts_;
};

// "PressurePointerBias", [0..30].
class THydro1 : public THydroValueDialog
{
    Q_OBJECT
public:
    THydro1(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
            QWidget *parent = nullptr);
};

// "Threshold Level Set", [0..60].
class THydro2Form : public THydroValueDialog
{
    Q_OBJECT
public:
    THydro2Form(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
                QWidget *parent = nullptr);
};

// The work pressure, [80..200], sent halved.
class THydro3Form : public THydroValueDialog
{
    Q_OBJECT
public:
    THydro3Form(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
                QWidget *parent = nullptr);
};

} // namespace vshell
