#include "ui/named_controls.h"

#include "ui/enter_action.h"

#include <QDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace vui
{

QPushButton *pushButton(QWidget *parent, QAnyStringView name, const QString &text)
{
    auto *button = named<QPushButton>(parent, name, text);
    button->setAutoDefault(false);
    return button;
}

QPushButton *actionButton(QDialog &dialog, QAnyStringView name, const QString &text)
{
    QPushButton *button = pushButton(&dialog, name, text);
    setEnterAction(dialog, *button);
    return button;
}

QSpinBox *spinBox(QWidget *parent, QAnyStringView name, int low, int high, int value)
{
    auto *box = named<QSpinBox>(parent, name);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QToolButton *toolButton(QWidget *parent, QAnyStringView name, const QString &text,
                        const QString &hint)
{
    auto *button = named<QToolButton>(parent, name);
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

QToolButton *arrowButton(QWidget *parent, QAnyStringView name, Qt::ArrowType direction)
{
    auto *button = named<QToolButton>(parent, name);
    button->setArrowType(direction);
    return button;
}

} // namespace vui
