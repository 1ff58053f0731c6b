#pragma once

#include "ui/prompt_gate.h"

#include <QObject>
#include <exception>
#include <functional>

class QAbstractButton;
class QAction;
class QMenu;

namespace vshell
{

// How the main window's items, buttons and menus run their handlers. No exception may cross the
// event loop: whatever a handler throws (a port that cannot be opened) is reported as the
// application's own handler would, and the station goes on.
class ItemHandlers
{
public:
    // Connections live as long as window; the boxes of a menu opening wait at gate.
    ItemHandlers(QObject &window, vui::PromptGate &gate) : window_(window), gate_(gate) {}

    // An item or a tool button: the command runs under the busy cursor; its boxes and dialogs
    // show the normal one.
    void on(QAction *action, std::function<void()> handler) const;
    // A menu that enables its items from what the printer says as it opens. The boxes of that
    // exchange wait until the menu is up, since a box run from inside Qt's menu code crashes it.
    void onOpen(QMenu *menu, std::function<void()> handler) const;
    // A check box of the panel.
    void onClick(QAbstractButton *button, std::function<void()> handler) const;

    void guarded(const std::function<void()> &step) const;
    void reportException(const std::exception &e) const;

private:
    QObject &window_;
    vui::PromptGate &gate_;
};

} // namespace vshell
