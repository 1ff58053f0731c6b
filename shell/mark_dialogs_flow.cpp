#include "shell/mark_dialogs_flow.h"

#include "compose/set_font_form.h"
#include "shell/auto_run_repeat.h"

namespace vshell
{

MarkDialogsFlow::MarkDialogsFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                                 vui::ModalRunner &modal)
    : mainWindow_(mainWindow), line_(line), prompts_(prompts), modal_(modal)
{
}

void MarkDialogsFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    using Op = vlink::StoredMarkOp;
    on.on(c.Font1, [this] { openFont(); });
    on.on(c.AutoRunPeriod, [this] { openAutoRunPeriod(); });
    for (QAction *store : {c.MarkWriteToStorage_, c.TbMarkStore})
        on.on(store, [this] { openStoredMarks(Op::WriteToStorage); });
    for (QAction *restore : {c.MarkReadFromStorage_, c.TbMarkRestore})
        on.on(restore, [this] { openStoredMarks(Op::ReadFromStorage); });
    for (QAction *read : {c.FKeyMarkRead, c.MarkReadHidden})
        on.on(read, [this] { openStoredMarks(Op::MarkRead); });
}

void MarkDialogsFlow::openFont()
{
    vcompose::TSetFontForm dialog(line_, prompts_, &mainWindow_);
    modal_.exec(dialog);
}

void MarkDialogsFlow::openAutoRunPeriod()
{
    delete autoRunPeriod_;
    autoRunPeriod_ = new vcompose::TAutoRunPeriodForm(
        line_, prompts_, [](vlink::Port &port) { return AutoRunStopRepeated(port); }, &mainWindow_);
    modal_.show(*autoRunPeriod_);
}

void MarkDialogsFlow::openStoredMarks(vlink::StoredMarkOp operation)
{
    if (operation != vlink::StoredMarkOp::MarkRead) {
        vcompose::TMarkNotCusrrent dialog(line_, prompts_, operation, &mainWindow_);
        modal_.exec(dialog);
        return;
    }
    delete markRead_;
    markRead_ = new vcompose::TMarkNotCusrrent(line_, prompts_, operation, &mainWindow_);
    modal_.show(*markRead_);
}

} // namespace vshell
