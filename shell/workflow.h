#pragma once

#include "shell/item_handlers.h"
#include "shell/main_controls.h"
#include "ui/messages.h"

namespace vshell
{

// One feature of the main window: it owns the handlers of its items and buttons, opens its
// dialogs and answers the messages they send. The main window keeps the state and the order in
// which it compares the messages, and hands each message to the workflows in turn.
class Workflow
{
public:
    virtual ~Workflow() = default;

    // Connects the feature's own items, buttons and menus.
    virtual void wire(const MainControls &c, const ItemHandlers &on) = 0;
    // The feature's answer to a message of the main window's order; false for one not its own.
    virtual bool dispatch(vui::Message) { return false; }
};

} // namespace vshell
