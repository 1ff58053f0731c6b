#include "shell/params_flow.h"

namespace vshell
{

ParamsFlow::ParamsFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                       vui::ModalRunner &modal)
    : mainWindow_(mainWindow), line_(line), prompts_(prompts), modal_(modal)
{
}

void ParamsFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    const auto openParams = [this] {
        if (params_)
            modal_.exec(*params_);
    };
    on.on(c.ParamsValue1, openParams);
    on.on(c.TbParamsValue, openParams);
    on.on(c.ByteStatus1, [this] {
        if (status_)
            modal_.exec(*status_);
    });
    // The hidden "ByteStatus" button has no action.
}

void ParamsFlow::createWindows()
{
    params_ = new TParamsForm(line_, prompts_, &mainWindow_);
    status_ = new TByteStatusForm_(line_, &mainWindow_);
}

} // namespace vshell
