#include "graphics/multi_load_from_list_view.h"

#include "graphics/depot_bank_box.h"
#include "graphics/logo_save_to_file.h"
#include "graphics/model/logo_bmp.h"
#include "graphics/model/logo_copy.h"
#include "graphics/model/logo_file_names.h"
#include "link/depot_commands.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/repaint_now.h"
#include "ui/up_down_box.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vgfx
{

namespace
{

// The arrows of the first number stop at the Depot's last logo, whichever store is written.
constexpr int LastListArrowNumber = vlink::DepotLogos - 1;

} // namespace

TMultiLoadFromListView::TMultiLoadFromListView(const LogoFormContext &context,
                                               vlink::LogoNames selected,
                                               CopyDestination destination, QWidget *parent)
    : QDialog(parent), line_(context.line), logos_(context.logos), prompts_(context.prompts),
      codePage_(context.codePage), mainWindow_(context.mainWindow), selected_(std::move(selected)),
      destination_(destination)
{
    setObjectName(QStringLiteral("TMultiLoadFromListView"));
    setWindowTitle(QStringLiteral("MultiLoadFromListView"));
    first_ = new vui::UpDownBox(QStringLiteral("FirstLogoNum"), this);
    first_->setNumber(0);
    auto *load = vui::actionButton(*this, "BtLoad", QStringLiteral("Load"));
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    progress_ = vui::named<QProgressBar>(this, "ProgressBar");
    progress_->hide();
    auto *bank = new DepotBankBox(line_, logos_, prompts_, DepotBankBox::Field::ArrowsOnly,
                                  DepotBankBox::OnSet::Choose, this);
    bank->showDepotBank();

    auto *number = new QHBoxLayout;
    number->addWidget(new QLabel(QStringLiteral("First Logo № 0..255"), this));
    number->addWidget(first_);
    auto *main = new QVBoxLayout(this);
    main->addLayout(number);
    main->addWidget(bank);
    main->addWidget(progress_);
    main->addWidget(vui::actionRow(load, cancel, this));

    connect(first_, &vui::UpDownBox::arrow, this, [this](int delta) {
        first_->setNumber(std::clamp(first_->number().value_or(0) + delta, 0, LastListArrowNumber));
    });
    // Only a copy from one Depot bank to another has a bank to choose.
    bank->setVisible(depotToDepot());
    connect(bank, &DepotBankBox::bankChosen, this,
            [this](int chosen) { destinationBank_ = chosen; });
    connect(load, &QPushButton::clicked, this, [this] {
        const vui::BusyCursor busy;
        loadClick();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

LogoStore TMultiLoadFromListView::source() const
{
    return logos_.depotView ? LogoStore::Depot : LogoStore::Printer;
}

bool TMultiLoadFromListView::depotToDepot() const
{
    return destination_ == CopyDestination::Depot && source() == LogoStore::Depot;
}

// After discovery the Depot stands on bank 0 until a bank is chosen.
int TMultiLoadFromListView::sourceBank() const
{
    return logos_.lastDepotBank >= 0 ? logos_.lastDepotBank : logos_.currentDepotBank;
}

bool TMultiLoadFromListView::onBank(int bank)
{
    if (vlink::BankNumSet(line_.port, bank))
        return true;
    prompts_.error(vlink::failureText(vlink::PrinterCommand::BankNumSet));
    return false;
}

void TMultiLoadFromListView::advance(int done)
{
    progress_->setValue(done);
    vui::repaintNow();
}

void TMultiLoadFromListView::loadClick()
{
    if (destination_ == CopyDestination::Files) {
        copyToFiles();
        return;
    }
    const LogoStore to =
        destination_ == CopyDestination::Printer ? LogoStore::Printer : LogoStore::Depot;
    const std::optional<int> first = first_->number();
    // The last logo must still land within the destination.
    if (!first || *first + int(selected_.size()) > maxLogoNumber(to) + 1) {
        prompts_.beep();
        first_->edit()->setFocus();
        return;
    }
    copyToStore(to, *first);
}

void TMultiLoadFromListView::copyToStore(LogoStore to, int first)
{
    progress_->setRange(0, int(selected_.size()));
    progress_->show();
    vui::repaintNow();
    const int from = sourceBank();
    const bool switching = depotToDepot() && destinationBank_ && *destinationBank_ != from;
    bool allCopied = true;
    for (int i = 0; i < selected_.size(); ++i) {
        // A bank that could not be set would take the logo into the wrong bank: the copy stops.
        if (switching && !onBank(from)) {
            allCopied = false;
            break;
        }
        const CopyStep step = copyOne(to, selected_[i].number, first + i, switching);
        allCopied = allCopied && step == CopyStep::Copied;
        if (step == CopyStep::Stopped)
            break;
        advance(i + 1);
    }
    // The library lists the bank it came from.
    if (switching && !onBank(from))
        allCopied = false;
    // An "Ok" after a failure text would tell the operator the copy went well.
    if (allCopied)
        prompts_.ok();
    finish();
}

// One logo read from the source and written to the destination; a failure is reported here.
TMultiLoadFromListView::CopyStep TMultiLoadFromListView::copyOne(LogoStore to, int number,
                                                                 int target, bool switching)
{
    if (!readStoredLogo(line_.port, source(), number, logos_.logo)) {
        prompts_.error(copyReadFailure(source()));
        return CopyStep::Failed;
    }
    if (switching && !onBank(*destinationBank_))
        return CopyStep::Stopped;
    if (!writeCopiedLogo(line_.port, to, target, logos_.logo)) {
        prompts_.error(copyWriteFailure(to));
        return CopyStep::Failed;
    }
    return CopyStep::Copied;
}

// The folder is the one of the file the operator names; each logo gets a file of its own name
// there, never one that exists already.
void TMultiLoadFromListView::copyToFiles()
{
    const QString chosen = prompts_.saveFile(logoSaveRequest(logos_));
    if (chosen.isEmpty())
        return;
    const QString folder = QFileInfo(chosen).absolutePath();
    logos_.logoSaveDir = folder;
    progress_->setRange(0, int(selected_.size()));
    progress_->show();
    vlink::LogoBuffer &logo = logos_.logo;
    for (int i = 0; i < selected_.size(); ++i) {
        const int number = selected_[i].number;
        if (!readStoredLogo(line_.port, source(), number, logo)) {
            prompts_.error(vlink::logoFailure(vlink::LogoCall::Read, source()));
            reject();
            return;
        }
        const QString base = logoFileBase(codePage_.decode(logo.name), number);
        if (!saveLogoBmp(logo, freeBmpPath(folder, base)))
            prompts_.beep();
        advance(i + 1);
    }
    prompts_.ok();
    finish();
}

void TMultiLoadFromListView::finish()
{
    progress_->hide();
    const bool toDepot = destination_ == CopyDestination::Depot;
    if (toDepot && logos_.depotTarget)
        vui::postMessage(mainWindow_, vui::Message::DPMultiLoadOK);
    else if (!toDepot && !logos_.depotTarget)
        vui::postMessage(mainWindow_, vui::Message::MultiLoadOK);
    vui::postMessage(mainWindow_, vui::Message::MultiLoadClose);
}

} // namespace vgfx
