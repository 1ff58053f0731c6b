#include "compose/mark_not_current_form.h"

#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vcompose
{

TMarkNotCusrrent::TMarkNotCusrrent(vui::LineState &line, vui::Prompts &prompts,
                                   vlink::StoredMarkOp operation, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts), operation_(operation)
{
    setObjectName(QStringLiteral("TMarkNotCusrrent"));
    setWindowTitle(QStringLiteral("MarkProcess"));
    buildLayout();
}

QString TMarkNotCusrrent::operationCaption(vlink::StoredMarkOp operation)
{
    switch (operation) {
    case vlink::StoredMarkOp::MarkRead:
        return QStringLiteral("MarkRead");
    case vlink::StoredMarkOp::ReadFromStorage:
        return QStringLiteral("MarkReadFromStorage");
    case vlink::StoredMarkOp::WriteToStorage:
        return QStringLiteral("MarkWriteToStorage");
    }
    return {};
}

void TMarkNotCusrrent::buildLayout()
{
    group_ = vui::named<QGroupBox>(this, "GroupBox1");
    markNum_ = vui::named<QLineEdit>(group_, "MarkNum");
    auto *grid = new QGridLayout(group_);
    addFieldRow(*grid, 0, QStringLiteral("Fragment Num (1-64)"), markNum_);
    QPushButton *ok = vui::actionButton(*this, "BtOk", QStringLiteral("Ok"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(vui::actionRow(ok, cancel, this));
    connect(ok, &QPushButton::clicked, this, &TMarkNotCusrrent::BtOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TMarkNotCusrrent::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    markNum_->clear();
    group_->setTitle(operationCaption(operation_));
    markNum_->setFocus();
}

// However the dialog closes, the operator hears that it did.
void TMarkNotCusrrent::done(int result)
{
    prompts_.beep();
    QDialog::done(result);
}

void TMarkNotCusrrent::BtOkClick()
{
    const vui::BusyCursor busy;
    const std::optional<int> slot = wholeNumber(blanksRemoved(markNum_->text()));
    if (!slot || *slot < FirstSlot || *slot > LastSlot) {
        prompts_.beep();
        markNum_->setFocus();
        return;
    }
    if (vlink::StoredMark(line_.port, operation_, *slot - 1))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::StoredMark));
}

} // namespace vcompose
