#pragma once

#include <QDialogButtonBox>

class QPushButton;

namespace vui
{

// A dialog's row of its action and Cancel, in the order the platform puts them. The buttons keep
// their names, captions, handlers and default: the box's own accepted() and rejected() stay
// unconnected, since each button's handler decides what its click does.
QDialogButtonBox *actionRow(QPushButton *action, QPushButton *cancel, QWidget *parent);

} // namespace vui
