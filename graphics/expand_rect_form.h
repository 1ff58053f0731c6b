#pragma once

#include <QDialog>

class QLineEdit;

namespace vgfx
{

// "Expand": the percentages by which the selection is stretched, 100 each until changed.
class TExpandRectForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExpandRectForm(QWidget *parent = nullptr);

    // A field that holds no number reads as 0, which the stretch takes as 100.
    int horizontal() const;
    int vertical() const;

private:
    QLineEdit *horizontal_ = nullptr;
    QLineEdit *vertical_ = nullptr;
};

} // namespace vgfx
