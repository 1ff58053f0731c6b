#include "shell/item_handlers.h"

#include "shell/application_title.h"
#include "ui/busy_cursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>

namespace vshell
{

void ItemHandlers::on(QAction *action, std::function<void()> handler) const
{
    QObject::connect(action, &QAction::triggered, &window_, [this, handler = std::move(handler)]() {
        const vui::BusyCursor busy;
        guarded(handler);
    });
}

void ItemHandlers::onOpen(QMenu *menu, std::function<void()> handler) const
{
    QObject::connect(menu, &QMenu::aboutToShow, &window_, [this, handler = std::move(handler)]() {
        const vui::PromptGate::Hold hold(gate_);
        const vui::BusyCursor busy;
        guarded(handler);
    });
}

void ItemHandlers::onClick(QAbstractButton *button, std::function<void()> handler) const
{
    QObject::connect(button, &QAbstractButton::clicked, &window_,
                     [this, handler = std::move(handler)]() { guarded(handler); });
}

void ItemHandlers::guarded(const std::function<void()> &step) const
{
    try {
        step();
    } catch (const std::exception &e) {
        reportException(e);
    }
}

void ItemHandlers::reportException(const std::exception &e) const
{
    gate_.message(QString::fromStdString(e.what()), ApplicationTitle);
}

} // namespace vshell
