#pragma once

#include "shell/workflow.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

namespace vshell
{

// The mark's print options in the Config submenus of "Mark" (and their hidden twins): a submenu
// reads the printer's mark configuration byte as it opens and enables "On" or "Off" by it; the
// items set the option.
class MarkConfigFlow : public Workflow
{
public:
    MarkConfigFlow(vui::LineState &line, vui::Prompts &prompts);

    void wire(const MainControls &c, const ItemHandlers &on) override;

private:
    enum class MarkOption { MirrorHorizontally, MirrorVertically, BreakPointCorrection };
    void ConfigOpen(MarkOption option, const OnOffMenu &menu);
    void ConfigSet(MarkOption option, bool on);

    vui::LineState &line_;
    vui::Prompts &prompts_;
};

} // namespace vshell
