#include "ui/action_row.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace vui
{

QDialogButtonBox *actionRow(QPushButton *action, QPushButton *cancel, QWidget *parent)
{
    auto *row = new QDialogButtonBox(parent);
    row->setObjectName(QStringLiteral("ActionRow"));
    row->addButton(action, QDialogButtonBox::AcceptRole);
    row->addButton(cancel, QDialogButtonBox::RejectRole);
    return row;
}

} // namespace vui
