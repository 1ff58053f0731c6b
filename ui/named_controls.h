#pragma once

#include <QAnyStringView>
#include <QString>
#include <QWidget>
#include <utility>

class QDialog;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace vui
{

// The controls a dialog builds, each under the name by which its handlers, the main window and the
// tests find it.

// Any widget under its name: the arguments are those of its constructor before the parent.
template <typename Widget, typename... Args>
Widget *named(QWidget *parent, QAnyStringView name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    return widget;
}

// A button that Enter never presses, also while it has the focus: Enter belongs to the dialog's
// default button.
QPushButton *pushButton(QWidget *parent, QAnyStringView name, const QString &text);
// The dialog's action: Enter presses it wherever the focus is, and never another button.
QPushButton *actionButton(QDialog &dialog, QAnyStringView name, const QString &text);
// A tool button with a caption and a hint.
QToolButton *toolButton(QWidget *parent, QAnyStringView name, const QString &text,
                        const QString &hint);
// A number field with its range and first value.
QSpinBox *spinBox(QWidget *parent, QAnyStringView name, int low, int high, int value);
// An arrow of a number or coordinate field.
QToolButton *arrowButton(QWidget *parent, QAnyStringView name, Qt::ArrowType direction);

} // namespace vui
