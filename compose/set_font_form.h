#pragma once

#include "link/mark_field_checks.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>

class QLineEdit;

namespace vcompose
{

// Unit SetFontUnit: sets the font of one cell of the current mark, leaving its content alone.
// The arrows only move within the mark and the fonts 0..9; only Ok talks to the printer.
class TSetFontForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxRow = 4;
    static constexpr int MaxColumn = 8;
    // Fixed: this dialog does not ask the printer how many fonts it has.
    static constexpr int MaxFont = vlink::SetFontMax;

    TSetFontForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent = nullptr);

private:
    void buildLayout();
    void step(QLineEdit *field, int delta, int low, int high);
    void BtWriteTextClick();

    vui::LineState &line_;
    vui::Prompts &prompts_;
    QLineEdit *rowStr_ = nullptr;
    QLineEdit *colStr_ = nullptr;
    QLineEdit *fontSize_ = nullptr;
};

} // namespace vcompose
