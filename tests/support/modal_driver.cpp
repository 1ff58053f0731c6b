#include "support/modal_driver.h"

#include <QPointer>
#include <QTimer>

namespace
{

QString nameOf(const QWidget &window)
{
    return window.objectName().isEmpty() ? QString::fromLatin1(window.metaObject()->className())
                                         : window.objectName();
}

} // namespace

ModalDriver::ModalDriver(vui::ModalRunner &runner) : runner_(runner)
{
    runner_.setObserver([this](QWidget &window, bool modal) { onOpen(window, modal); });
}

ModalDriver::~ModalDriver()
{
    runner_.setObserver({});
}

void ModalDriver::onOpen(QWidget &window, bool modal)
{
    opened.append(nameOf(window));
    if (!modal)
        return;
    openedModal.append(nameOf(window));
    auto *dialog = qobject_cast<QDialog *>(&window);
    if (!dialog)
        return;
    Action action =
        actions_.isEmpty() ? Action([](QDialog &d) { d.reject(); }) : actions_.dequeue();
    QPointer<QDialog> target(dialog);
    // The timer fires inside exec(), while the dialog runs as the application's modal widget.
    QTimer::singleShot(0, dialog, [target, action]() {
        if (target)
            action(*target);
    });
}
