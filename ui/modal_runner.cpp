#include "ui/modal_runner.h"

#include "ui/busy_cursor.h"

#include <QDialog>

namespace vui
{

int ModalRunner::exec(QDialog &dialog)
{
    if (observer_)
        observer_(dialog, true);
    // The operator works in the dialog: the busy cursor of the command that opened it waits.
    const NormalCursor normal;
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
