#include "graphics/depot_bank_box.h"

#include "link/command_table.h"
#include "link/depot_commands.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/up_down_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace vgfx
{

DepotBankBox::DepotBankBox(vui::LineState &line, vui::LogoWorkflow &logos, vui::Prompts &prompts,
                           Field field, OnSet onSet, QWidget *parent)
    : QWidget(parent), line_(line), logos_(logos), prompts_(prompts), onSet_(onSet)
{
    setObjectName(QStringLiteral("DepotBankBox"));
    bank_ = new vui::UpDownBox(QStringLiteral("BankNum"), this);
    bank_->edit()->setReadOnly(field == Field::ArrowsOnly);
    auto *set = vui::pushButton(this, "BtBankSet", QStringLiteral("Set"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Bank № "), this));
    row->addWidget(bank_);
    row->addWidget(set);
    row->addStretch();
    connect(bank_, &vui::UpDownBox::arrow, this, &DepotBankBox::arrow);
    connect(set, &QPushButton::clicked, this, &DepotBankBox::setClick);
}

void DepotBankBox::showDepotBank()
{
    const int bank = logos_.lastDepotBank;
    bank_->setText(bank < 0 ? QString() : QString::number(bank));
}

void DepotBankBox::arrow(int delta)
{
    if (onSet_ == OnSet::Choose)
        bank_->setNumber(std::clamp(bank_->number().value_or(0) + delta, 0, vlink::DepotBanks - 1));
    else
        bank_->setText(vui::bankBoxStep(bank_->text(), delta));
}

void DepotBankBox::setClick()
{
    const std::optional<int> bank = bank_->number();
    if (!bank || *bank >= vlink::DepotBanks) {
        prompts_.beep();
        if (!bank_->edit()->isReadOnly())
            bank_->edit()->setFocus();
        return;
    }
    if (onSet_ == OnSet::Choose) {
        emit bankChosen(*bank);
        return;
    }
    const vui::BusyCursor busy;
    select(*bank);
}

void DepotBankBox::select(int bank)
{
    if (!vlink::BankNumSet(line_.port, bank)) {
        logos_.errorFlag = true;
        logos_.lastDepotBank = -1;
        prompts_.error(vlink::failureText(vlink::PrinterCommand::BankNumSet));
        return;
    }
    logos_.lastDepotBank = bank;
    if (onSet_ == OnSet::Select)
        prompts_.ok();
    emit bankSelected(bank);
}

} // namespace vgfx
