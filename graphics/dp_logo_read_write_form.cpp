#include "graphics/dp_logo_read_write_form.h"

#include "graphics/depot_bank_box.h"
#include "link/command_table.h"
#include "link/depot_commands.h"
#include "ui/up_down_box.h"

#include <QTimer>
#include <utility>

namespace vgfx
{

TDPLogoReadWriteForm::TDPLogoReadWriteForm(const LogoFormContext &context, QWidget *parent)
    : LogoFormBase(LogoStore::Depot, context, parent)
{
    setObjectName(QStringLiteral("TDPLogoReadWriteForm"));
    bank_ = new DepotBankBox(line_, logos_, prompts_, DepotBankBox::Field::Typed,
                             DepotBankBox::OnSet::Select, this);
    extraRow()->addWidget(bank_);
}

void TDPLogoReadWriteForm::showStore()
{
    // A rename request holds for this one opening.
    renameNumber_ = std::exchange(logos_.depotRename, std::nullopt);
    bank_->showDepotBank();
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

} // namespace vgfx
