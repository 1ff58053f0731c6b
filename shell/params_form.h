#pragma once

#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;

namespace vshell
{

// "Parameters": the 13 printing parameters with their values, and a page that steps one of
// them up or down. The printer changes a value one step per command, so the window never sends
// a value; "Cancel" undoes the steps one by one.
class TParamsForm : public QDialog
{
    Q_OBJECT

public:
    TParamsForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent = nullptr);

    // The list page, every parameter read anew with the printer's pause after each.
    void buildList();
    // "Ok" on the list page, or a double click on a row.
    void Button3Click();
    void LogoNumIncClick();
    void LogoNumDecClick();
    // "Ok" on the change page: the stepped value stays in the printer.
    void Button2Click();
    // "Cancel" on the change page: as many opposite steps as were made.
    void Button4Click();

    QTreeWidget *ListView2 = nullptr;
    QLineEdit *Edit1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *listPage();
    QWidget *changePage();
    void showList();
    void step(bool up);
    void undo(bool up, int times);

    vui::LineState &line_;
    vui::Prompts &prompts_;
    QStackedWidget *pages_ = nullptr;
    QGroupBox *group_ = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button2 = nullptr;
    quint8 letter_ = 0;
    int start_ = 0;
};

} // namespace vshell
