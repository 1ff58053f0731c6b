#pragma once

#include "shell/workflow.h"
#include "ui/station_state.h"

namespace vshell
{

// Which items the operator may choose: each menu enables its items by the device kind and
// Depot-only mode as it opens, and the Depot-only check box, which follows the device found,
// switches the printer's commands off or on.
class MenuEnabling : public Workflow
{
public:
    MenuEnabling(vui::LineState &line, const MainControls &c);

    void wire(const MainControls &c, const ItemHandlers &on) override;

    // Depot-only mode follows the check box.
    void CBDepotNowClick();
    // Sets the check box as discovery does, which runs its click handler.
    void setDepotNow(bool on);

private:
    void Tools1Click();
    void Graphics1Click();
    void Mark1Click();
    void Params1Click();

    vui::LineState &line_;
    const MainControls &c_;
};

} // namespace vshell
