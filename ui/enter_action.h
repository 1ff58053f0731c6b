#pragma once

class QDialog;
class QPushButton;

namespace vui
{

// Enter does the dialog's action, wherever the focus is: action becomes the dialog's default
// button, and no other push button of the dialog (Cancel least of all) can become the default,
// not even one added later or one that has the focus.
void setEnterAction(QDialog &dialog, QPushButton &action);

} // namespace vui
