#pragma once

#include "link/mark_commands.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;

namespace vcompose
{

// Unit NotCurrentMarkReadWriteUnit: the printer's store of marks other than the current one.
// The main window chooses the operation before it opens the dialog; the operator names a slot
// 1..64, which goes out as 0..63.
class TMarkNotCusrrent : public QDialog
{
    Q_OBJECT

public:
    static constexpr int FirstSlot = 1;
    static constexpr int LastSlot = vlink::StoredMarkCount;

    TMarkNotCusrrent(vui::LineState &line, vui::Prompts &prompts, vlink::StoredMarkOp operation,
                     QWidget *parent = nullptr);

    // The group caption of an operation: "MarkRead", "MarkReadFromStorage", "MarkWriteToStorage".
    static QString operationCaption(vlink::StoredMarkOp operation);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void BtOkClick();

    vui::LineState &line_;
    vui::Prompts &prompts_;
    vlink::StoredMarkOp operation_;
    QGroupBox *group_ = nullptr;
    QLineEdit *markNum_ = nullptr;
};

} // namespace vcompose
