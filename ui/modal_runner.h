#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace vui
{

// Every window is opened through here: modal dialogs run exec(), the others are shown. Each is
// kept on the screen, and a modal one gets the normal cursor while it runs. A test installs an
// observer to see which window opened and to drive a modal one while it runs.
class ModalRunner
{
public:
    // Called just before the window opens; modal is true for exec().
    using Observer = std::function<void(QWidget &window, bool modal)>;

    virtual ~ModalRunner() = default;

    // Runs the dialog modally and returns its result code.
    virtual int exec(QDialog &dialog);
    // Shows the window modelessly and brings it to the front.
    virtual void show(QWidget &window);

    void setObserver(Observer observer) { observer_ = std::move(observer); }

private:
    Observer observer_;
};

} // namespace vui
