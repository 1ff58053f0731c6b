#pragma once

#include "link/mark_field_checks.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QByteArray>
#include <QDialog>

class QLineEdit;
class QTabWidget;

namespace vcompose
{

// Unit SpecFuncUnit: edits the printer's special-function script, an expanded counter bound to
// one cell and the count of marks printed as a group.
class TSpecFuncForm : public QDialog
{
    Q_OBJECT

public:
    TSpecFuncForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    QWidget *counterPage();
    QWidget *groupPage();
    void FormActivate();
    bool readScript(QByteArray &script);
    void takeGroupLetter();

    // Each check focuses its field when it refuses.
    bool numberField(QLineEdit *field, vlink::SpecNumber which);
    bool fragmentNumber();
    void BtWriteTextClick();
    void Button1Click();
    void Button3Click();
    void fontStep(int step);

    vui::LineState &line_;
    vui::Prompts &prompts_;
    QTabWidget *pages_ = nullptr;
    QLineEdit *initValue_ = nullptr;
    QLineEdit *finishValue_ = nullptr;
    QLineEdit *counStep_ = nullptr;
    QLineEdit *discret_ = nullptr;
    QLineEdit *fragmNum_ = nullptr;
    QLineEdit *fontSize_ = nullptr;
    QLineEdit *markQuantaty_ = nullptr;

    QByteArray script_;
    QByteArray groupLetter_;
};

} // namespace vcompose
