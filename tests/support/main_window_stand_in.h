#pragma once

#include "ui/messages.h"

#include <QList>
#include <QObject>
#include <functional>

// What the main window is to a dialog: it receives the dialog's messages, in order, and may
// answer each as the main window would.
class MainWindowStandIn : public QObject
{
public:
    bool event(QEvent *e) override
    {
        const std::optional<vui::Message> m = vui::messageOf(e->type());
        if (!m)
            return QObject::event(e);
        received.append(*m);
        if (answer)
            answer(*m);
        return true;
    }

    QList<vui::Message> received;
    std::function<void(vui::Message)> answer;
};
