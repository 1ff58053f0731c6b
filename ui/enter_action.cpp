#include "ui/enter_action.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QPushButton>

namespace vui
{

namespace
{

// Found by name: a class without its own meta-object cannot be told apart by qobject_cast.
const QString EnterKeeperName = QStringLiteral("vuiEnterActionKeeper");

void onlyActionIsDefault(QDialog &dialog, QPushButton &action)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (button == &action)
            continue;
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    action.setDefault(true);
}

// Applies the rule again each time the dialog shows, for buttons added after the call.
class EnterActionKeeper : public QObject
{
public:
    EnterActionKeeper(QDialog &dialog, QPushButton &action) : QObject(&dialog), action_(&action)
    {
        setObjectName(EnterKeeperName);
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && action_)
            onlyActionIsDefault(static_cast<QDialog &>(*watched), *action_);
        return false;
    }

private:
    QPointer<QPushButton> action_;
};

} // namespace

void setEnterAction(QDialog &dialog, QPushButton &action)
{
    onlyActionIsDefault(dialog, action);
    delete dialog.findChild<QObject *>(EnterKeeperName, Qt::FindDirectChildrenOnly);
    new EnterActionKeeper(dialog, action);
}

} // namespace vui
