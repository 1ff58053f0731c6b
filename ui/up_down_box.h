#pragma once

#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;

namespace vui
{

// The Depot's bank box steps: an empty box gives "0", otherwise one up or down within 0..15.
QString bankBoxStep(const QString &text, int delta);

// A number field with its up and down arrows. The field takes digits only but any count of
// them, so that a number beyond the store can still be typed and refused with its message. The
// arrows change nothing themselves: the owner decides what a step does.
class UpDownBox : public QWidget
{
    Q_OBJECT

public:
    // The children are named name + "Edit", "Up" and "Down".
    explicit UpDownBox(const QString &name, QWidget *parent = nullptr);

    QLineEdit *edit() const { return edit_; }
    QString text() const;
    void setText(const QString &text);
    void setNumber(int number);
    // The field's number; nothing while it is empty.
    std::optional<int> number() const;

signals:
    // +1 for the up arrow, -1 for the down arrow.
    void arrow(int delta);

private:
    QLineEdit *edit_ = nullptr;
    QToolButton *up_ = nullptr;
    QToolButton *down_ = nullptr;
};

} // namespace vui
