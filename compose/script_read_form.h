#pragma once

#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>

class QLineEdit;

namespace vcompose
{

// Unit ScriptReadUnit: shows the special-function script as the printer holds it.
class TScriptReadForm : public QDialog
{
    Q_OBJECT

public:
    TScriptReadForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Shows what the read left; false when it failed.
    bool readScript();

    vui::LineState &line_;
    vui::Prompts &prompts_;
    QLineEdit *fragText_ = nullptr;
};

} // namespace vcompose
