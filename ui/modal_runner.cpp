#include "ui/modal_runner.h"

#include <QDialog>

namespace vui
{

int ModalRunner::exec(QDialog &dialog)
{
    if (observer_)
        observer_(dialog, true);
    return dialog.exec();
}

void ModalRunner::show(QWidget &window)
{
    if (observer_)
        observer_(window, false);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace vui
