#pragma once

#include "ui/modal_runner.h"

#include <QDialog>
#include <QQueue>
#include <QStringList>
#include <functional>

// Watches a ModalRunner: records every window it opens (by object name, else class name) and
// drives each modal dialog once its exec() runs. A modal dialog with no scripted action is
// rejected, so a test never hangs on a dialog it did not expect.
class ModalDriver
{
public:
    using Action = std::function<void(QDialog &dialog)>;

    explicit ModalDriver(vui::ModalRunner &runner);
    ~ModalDriver();
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    // What the next modal dialog gets, from inside its exec().
    void whenOpen(Action action) { actions_.enqueue(std::move(action)); }

    QStringList opened;      // every window, in order
    QStringList openedModal; // the modal ones only

private:
    void onOpen(QWidget &window, bool modal);

    vui::ModalRunner &runner_;
    QQueue<Action> actions_;
};
