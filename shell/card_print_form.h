#pragma once

#include "batch/card_numbers.h"
#include "shell/batch_window.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace vshell
{

// "Card Numbers...": a number sequence printed into one cell, one number per product.
class TCardPrint : public BatchWindow
{
    Q_OBJECT

public:
    TCardPrint(const BatchSetting &setting, QWidget *parent);

    // The settings as the fields stand; nothing when the first number or the step is no number.
    std::optional<batch::CardNumbers> cards() const;

protected:
    bool records(QList<batch::Record> &records, batch::RunKey &key, QString &source) override;
    void setSettingsEnabled(bool on) override;

private:
    void preview();

    QLineEdit *first_ = nullptr;
    QSpinBox *count_ = nullptr;
    QLineEdit *step_ = nullptr;
    QSpinBox *digits_ = nullptr;
    QLineEdit *prefix_ = nullptr;
    QLineEdit *suffix_ = nullptr;
    QSpinBox *row_ = nullptr;
    QSpinBox *column_ = nullptr;
    QSpinBox *font_ = nullptr;
    QLabel *preview_ = nullptr;
    QWidget *settings_ = nullptr;
};

} // namespace vshell
