#pragma once

#include "compose/cell_editor_form.h"

namespace vcompose
{

// Unit SetPostDateUnit: places a post date, a date the given number of days after today, into a
// cell of the mark.
class TPostDateForm : public CellEditorForm
{
public:
    // The day count travels as four digits.

    TPostDateForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
                  QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    CellVariant variant(CellStep step) const override;
    void writeSequence() override;

private:
    void showDayCount();
    // The day count as it is sent; empty when the field is refused.
    QByteArray dayCount();

    QLineEdit *dayQuant_ = nullptr;
    QLineEdit *dateFormat_ = nullptr;
};

} // namespace vcompose
