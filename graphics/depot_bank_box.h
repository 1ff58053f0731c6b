#pragma once

#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QWidget>

namespace vui
{
class UpDownBox;
}

namespace vgfx
{

// The Depot's "Bank № " box of the logo dialogs: the bank field with its arrows and "Set". The
// Depot echoes any byte, so "Set" refuses a bank it does not have with a beep before a byte goes
// out; a refused typed bank takes the focus back, so that it can be typed again.
class DepotBankBox : public QWidget
{
    Q_OBJECT

public:
    enum class Field {
        Typed,      // typed or stepped
        ArrowsOnly, // read-only: the arrows alone change it
    };
    enum class OnSet {
        // Selects the bank over the line; "Ok" or the failure text.
        Select,
        // The same without "Ok": the owner goes on from bankSelected().
        SelectQuietly,
        // Only keeps the choice for the owner's own exchanges (bankChosen()). Its arrows count an
        // empty box as bank 0, the bank the Depot stands on until one is chosen.
        Choose,
    };

    DepotBankBox(vui::LineState &line, vui::LogoWorkflow &logos, vui::Prompts &prompts, Field field,
                 OnSet onSet, QWidget *parent);

    // The Depot bank set last, or an empty box while none is.
    void showDepotBank();
    vui::UpDownBox *field() const { return bank_; }

signals:
    // The Depot took the bank, now the Depot bank; emitted under the busy cursor.
    void bankSelected(int bank);
    void bankChosen(int bank);

private:
    void arrow(int delta);
    void setClick();
    void select(int bank);

    vui::LineState &line_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    OnSet onSet_;
    vui::UpDownBox *bank_ = nullptr;
};

} // namespace vgfx
