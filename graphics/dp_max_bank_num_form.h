#pragma once

#include "graphics/logo_form_base.h"

#include <QDialog>

class QLineEdit;

namespace vgfx
{

// Sets the Depot unit's highest bank number, 0..255; any other value is ignored.
class TDPMaxBankNumForm : public QDialog
{
    Q_OBJECT

public:
    explicit TDPMaxBankNumForm(const LogoFormContext &context, QWidget *parent = nullptr);

private:
    void okClick();

    vui::LineState &line_;
    vui::Prompts &prompts_;
    QLineEdit *number_ = nullptr;
};

// Shows the Depot unit's version text, read when the window is made; a failed read is reported
// then, and the window is not to be shown.
class TDPVersiaForm : public QDialog
{
    Q_OBJECT

public:
    explicit TDPVersiaForm(const LogoFormContext &context, QWidget *parent = nullptr);
    bool versionRead() const { return read_; }

private:
    bool read_ = false;
};

} // namespace vgfx
