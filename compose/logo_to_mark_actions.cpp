// What the compact forms do with the logo they show: delete, rename and copy it.
#include "compose/logo_to_mark_form.h"

#include "graphics/logo_save_to_file.h"
#include "graphics/model/logo_bmp.h"
#include "link/command_table.h"
#include "link/depot_commands.h"
#include "link/logo_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace vcompose
{

using vgfx::LogoStore;

void LogoToMarkForm::clearClick()
{
    if (!prompts_.question(QStringLiteral("Logo delete. Are You Sure?"), vui::CaptionConfirm))
        return;
    const bool printerForm = placement_.store == LogoStore::Printer;
    const bool toDepot = !printerForm || line_.depotOnly;
    const std::optional<int> typed = printerForm ? typedNumber() : int(logos_.placementLogo);
    if (!typed)
        return;
    logos_.logo.fill(0);
    const LogoStore store = toDepot ? LogoStore::Depot : LogoStore::Printer;
    if (!vlink::LogoDelete(line_.port, store, *typed)) {
        logos_.errorFlag = true;
        prompts_.error(vlink::logoFailure(vlink::LogoCall::Delete, store));
        return;
    }
    prompts_.ok();
    clearWritten(toDepot);
}

// The library learns of the blank logo; the printer form then reads it back and shows it.
void LogoToMarkForm::clearWritten(bool toDepot)
{
    const bool printerForm = placement_.store == LogoStore::Printer;
    const LogoStore listed = printerForm ? LogoStore::Printer : LogoStore::Depot;
    const bool libraryListsIt = logos_.depotView == (listed == LogoStore::Depot);
    vlink::LogoNames names;
    const bool readList = printerForm || libraryListsIt;
    const bool listedOk = readList && vgfx::readLogoNames(line_.port, listed, names);
    if (listedOk && libraryListsIt && context_.refreshLibrary)
        context_.refreshLibrary(names);
    if (!printerForm) {
        closeRequested_ = true;
        return;
    }
    if (!listedOk || !toDepot)
        numberStep(0, false);
}

void LogoToMarkForm::renameClick()
{
    const std::optional<int> number = typedNumber();
    if (!number)
        return;
    if (vlink::PrinterLogoRename(line_.port, *number, fieldName(), logos_.logo))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::PrinterLogoRename));
    vlink::LogoNames names;
    if (vlink::PrinterLogoNamesRead(line_.port, names)) {
        logos_.names = names;
        return;
    }
    logos_.names.clear();
    prompts_.error(vlink::failureText(vlink::PrinterCommand::PrinterLogoNamesRead));
    closeRequested_ = true;
}

// The Depot keeps no names apart from its logos: the logo is written again, whole, under its
// number with the new name, through the Depot's load dialog.
void LogoToMarkForm::depotRenameClick()
{
    const std::optional<int> number = typedNumber();
    if (!number)
        return;
    logos_.depotRename = *number;
    if (!handOver()) {
        logos_.depotRename.reset();
        return;
    }
    openLoad_(LogoStore::Depot);
}

void LogoToMarkForm::copyToFile()
{
    vgfx::saveLogoToChosenFile(shown_, logos_, prompts_);
}

void LogoToMarkForm::copyToStore(LogoStore store)
{
    if (!handOver())
        return;
    logos_.zoomCurrent = logos_.zoomBase;
    openLoad_(store);
}

// The shown logo goes to the load dialog as tmp1.bmp, under the name in the field.
bool LogoToMarkForm::handOver()
{
    if (!openLoad_ || !vgfx::writeTemporaryBmp(shown_, workDir_)) {
        prompts_.beep();
        return false;
    }
    logos_.logoMode = vui::LogoMode::Load;
    logos_.pendingName = name_->text();
    logos_.logoFileName = QDir(workDir_).filePath(QString::fromLatin1(vgfx::TemporaryBmpName));
    return true;
}

} // namespace vcompose
