#pragma once

#include "compose/cell_editor_form.h"

#include <QPointer>

class QRadioButton;

namespace vcompose
{

// Unit CounterUnit: places a counter into a cell of the mark, with its initial value, its
// counting direction and its font.
class TCounterForm : public CellEditorForm
{
public:
    // The "ReadError" of a failed counter set goes to mainWindow.
    TCounterForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
                 QObject *mainWindow, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    CellVariant variant(CellStep step) const override;
    void beforeRead() override;
    void cellShown(const vlink::Fragment &fragment) override;
    void writeSequence() override;

private:
    bool directionSet();
    void counterSet();

    QPointer<QObject> mainWindow_;
    QLineEdit *dayQuant_ = nullptr;
    QRadioButton *up_ = nullptr;
    QRadioButton *down_ = nullptr;
};

} // namespace vcompose
