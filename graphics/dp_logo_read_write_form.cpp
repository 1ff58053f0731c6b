#include "graphics/dp_logo_read_write_form.h"

#include "link/command_table.h"
#include "link/depot_commands.h"
#include "ui/named_controls.h"
#include "ui/up_down_box.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace vgfx
{

namespace
{

constexpr int LastBank = vlink::DepotBanks - 1;

} // namespace

TDPLogoReadWriteForm::TDPLogoReadWriteForm(const LogoFormContext &context, QWidget *parent)
    : LogoFormBase(LogoStore::Depot, context, parent)
{
    setObjectName(QStringLiteral("TDPLogoReadWriteForm"));
    bank_ = new vui::UpDownBox(QStringLiteral("BankNum"), this);
    auto *set = vui::pushButton(this, "BtBankSet", QStringLiteral("Set"));
    extraRow()->addWidget(new QLabel(QStringLiteral("Bank № "), this));
    extraRow()->addWidget(bank_);
    extraRow()->addWidget(set);
    extraRow()->addStretch();

    connect(bank_, &vui::UpDownBox::arrow, this,
            [this](int delta) { bank_->setText(vui::bankBoxStep(bank_->text(), delta)); });
    connect(set, &QPushButton::clicked, this, [this] { run([this] { bankSetClick(); }); });
}

void TDPLogoReadWriteForm::showStore()
{
    // A rename request holds for this one opening.
    renameNumber_ = std::exchange(logos_.depotRename, std::nullopt);
    const int bank = logos_.lastDepotBank;
    bank_->setText(bank < 0 ? QString() : QString::number(bank));
    number_->setNumber(0);
}

void TDPLogoReadWriteForm::afterShow()
{
    if (!renameNumber_)
        return;
    number_->setNumber(*renameNumber_);
    // OK is pressed once the dialog runs, so that its messages and its close come from inside it.
    QTimer::singleShot(0, this, [this] { run([this] { okClick(); }); });
}

void TDPLogoReadWriteForm::loadWritten()
{
    if (!renameNumber_) {
        LogoFormBase::loadWritten();
        return;
    }
    prompts_.ok();
    vui::postMessage(mainWindow_, vui::Message::DPFormClose);
}

QString TDPLogoReadWriteForm::loadFailureText() const
{
    // The Depot renames by writing the logo again: the write reports as a rename.
    return renameNumber_ ? vlink::failureText(vlink::PrinterCommand::PrinterLogoRename)
                         : LogoFormBase::loadFailureText();
}

bool TDPLogoReadWriteForm::readLogo(int number)
{
    // A logo that came in closes the dialog, so that the main window reopens it showing the logo.
    const bool ok = vlink::DPLogoRead(line_.port, number, logos_.logo).ok;
    if (ok)
        requestClose();
    return ok;
}

void TDPLogoReadWriteForm::bankSetClick()
{
    // The Depot echoes any byte: a bank it does not have would be reported as set.
    const std::optional<int> bank = bank_->number();
    if (!bank || *bank > LastBank) {
        prompts_.beep();
        bank_->edit()->setFocus();
        return;
    }
    if (vlink::BankNumSet(line_.port, *bank)) {
        prompts_.ok();
        logos_.lastDepotBank = *bank;
        return;
    }
    logos_.errorFlag = true;
    prompts_.error(vlink::failureText(vlink::PrinterCommand::BankNumSet));
    logos_.lastDepotBank = -1;
}

} // namespace vgfx
