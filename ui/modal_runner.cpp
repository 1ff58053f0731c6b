#include "ui/modal_runner.h"

#include "ui/busy_cursor.h"
#include "ui/screen_fit.h"

#include <QDialog>

namespace vui
{

int ModalRunner::exec(QDialog &dialog)
{
    if (observer_)
        observer_(dialog, true);
    keepOnScreen(dialog);
    // The operator works in the dialog: the busy cursor of the command that opened it waits.
    const NormalCursor normal;
    return dialog.exec();
}

void ModalRunner::show(QWidget &window)
{
    if (observer_)
        observer_(window, false);
    keepOnScreen(window);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace vui
