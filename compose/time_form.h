#pragma once

#include "compose/cell_editor_form.h"
#include "ui/clock.h"

#include <array>

namespace vcompose
{

// Unit SetTimeUnit: gives a cell a time and date format, and sets the printer's clock from the
// values typed or from the computer's clock.
class TTimeForm : public CellEditorForm
{
public:
    TTimeForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
              const vui::Clock &clock, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    CellVariant variant(CellStep step) const override;
    void writeSequence() override;

private:
    // The clock fields in the order they are checked and sent: day, month, year, hour, minute,
    // second.
    enum Field { Day, Month, Year, Hour, Minute, Second, FieldCount };

    void buildClock();
    void showPrinterClock();
    void fillFromComputer(bool checked);
    void formatWrite();
    bool formatSet();
    bool fieldsRefused();
    bool refuse(Field field);
    QByteArray clockText(Field first) const;
    void typedClockWrite();
    void computerClockWrite();
    bool clockSet(bool date, const QByteArray &text);

    const vui::Clock &clock_;
    QLineEdit *dateFormat_ = nullptr;
    std::array<QLineEdit *, FieldCount> fields_{};
    QCheckBox *systemDateTime_ = nullptr;
};

} // namespace vcompose
