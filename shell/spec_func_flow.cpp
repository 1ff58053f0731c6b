#include "shell/spec_func_flow.h"

namespace vshell
{

SpecFuncFlow::SpecFuncFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                           vui::ModalRunner &modal)
    : mainWindow_(mainWindow), line_(line), prompts_(prompts), modal_(modal)
{
}

void SpecFuncFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.ScriptRead1, [this] { openScriptRead(); });
    on.on(c.Write1, [this] { openSpecFunc(); });
    on.on(c.TbSpecFuncWrite, [this] { openSpecFunc(); });
}

void SpecFuncFlow::openSpecFunc()
{
    delete specFunc_;
    specFunc_ = new vcompose::TSpecFuncForm(line_, prompts_, &mainWindow_);
    modal_.show(*specFunc_);
}

void SpecFuncFlow::openScriptRead()
{
    delete scriptRead_;
    scriptRead_ = new vcompose::TScriptReadForm(line_, prompts_, &mainWindow_);
    modal_.show(*scriptRead_);
}

} // namespace vshell
