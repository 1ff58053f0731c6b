#include "graphics/show_all_logo_list_form.h"

#include "graphics/dp_logo_read_write_form.h"
#include "graphics/logo_view_form.h"
#include "link/command_table.h"
#include "link/depot_commands.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/repaint_now.h"
#include "ui/up_down_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vgfx
{

namespace
{

constexpr int NumberColumn = 1;

} // namespace

TShowAllLogoListForm::TShowAllLogoListForm(const LogoFormContext &context, vui::ModalRunner &modal,
                                           QWidget *parent)
    : QDialog(parent), context_(context), logos_(context.logos), prompts_(context.prompts),
      modal_(modal)
{
    setObjectName(QStringLiteral("TShowAllLogoListForm"));
    setWindowTitle(QStringLiteral("LogosList"));
    list_ = vui::named<QTreeWidget>(this, "ListView");
    list_->setHeaderLabels(
        {QStringLiteral("№ "), QStringLiteral("Logo Number"), QStringLiteral("Logo Name")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);

    bankBox_ = new QWidget(this);
    bank_ = new vui::UpDownBox(QStringLiteral("BankNum"), bankBox_);
    auto *set = vui::pushButton(bankBox_, "BtBankSet", QStringLiteral("Set"));
    auto *bankRow = new QHBoxLayout(bankBox_);
    bankRow->addWidget(new QLabel(QStringLiteral("Bank № "), bankBox_));
    bankRow->addWidget(bank_);
    bankRow->addWidget(set);
    cancel_ = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    progress_ = vui::named<QProgressBar>(this, "ProgressBar");
    progress_->hide();

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu"));
    const auto item = [this](const QString &text, std::function<void()> handler) {
        QAction *action = popup_->addAction(text);
        action->setObjectName(QString(text).remove(u' '));
        connect(action, &QAction::triggered, this, [handler] {
            const vui::BusyCursor busy;
            handler();
        });
    };
    item(QStringLiteral("Save to Printer"), [this] { saveTo(CopyDestination::Printer); });
    item(QStringLiteral("Save to Depot"), [this] { saveTo(CopyDestination::Depot); });
    item(QStringLiteral("Save to File"), [this] { saveTo(CopyDestination::Files); });
    item(QStringLiteral("Delete"), [this] { deleteClick(); });

    auto *main = new QVBoxLayout(this);
    main->addWidget(list_, 1);
    main->addWidget(progress_);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(bankBox_);
    bottom->addStretch();
    bottom->addWidget(cancel_);
    main->addLayout(bottom);

    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { popup_->popup(list_->viewport()->mapToGlobal(at)); });
    connect(bank_, &vui::UpDownBox::arrow, this,
            [this](int delta) { bank_->setText(vui::bankBoxStep(bank_->text(), delta)); });
    connect(set, &QPushButton::clicked, this, [this] {
        const vui::BusyCursor busy;
        bankSetClick();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *row) {
        const vui::BusyCursor busy;
        if (openLogo_)
            openLogo_(shownStore(), row->text(NumberColumn).toInt());
    });
}

void TShowAllLogoListForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fill();
}

void TShowAllLogoListForm::fill()
{
    const int bank = logos_.lastDepotBank;
    bank_->setText(bank < 0 ? QString() : QString::number(bank));
    clearRows();
    for (const vlink::LogoName &entry : logos_.names)
        addRow(entry);
    bankBox_->setVisible(depotShown());
    cancel_->setVisible(!depotShown());
}

void TShowAllLogoListForm::clearRows()
{
    list_->clear();
}

void TShowAllLogoListForm::addRow(const vlink::LogoName &entry)
{
    auto *item = new QTreeWidgetItem(list_);
    item->setText(0, QString::number(list_->topLevelItemCount()));
    item->setText(NumberColumn, QString::number(entry.number));
    item->setText(2, context_.codePage.decode(entry.name));
}

void TShowAllLogoListForm::rebuild(const vlink::LogoNames &names)
{
    logos_.names = names;
    fill();
}

void TShowAllLogoListForm::closeBulkCopy()
{
    if (bulk_)
        bulk_->reject();
}

// The selected rows, top to bottom.
vlink::LogoNames TShowAllLogoListForm::selectedRows() const
{
    vlink::LogoNames rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list_->topLevelItem(i);
        if (item->isSelected())
            rows.append(
                {item->text(NumberColumn).toInt(), context_.codePage.encode(item->text(2))});
    }
    return rows;
}

void TShowAllLogoListForm::bankSetClick()
{
    // The Depot echoes any byte: a bank it does not have would be reported as set.
    const std::optional<int> bank = bank_->number();
    if (!bank || *bank >= vlink::DepotBanks) {
        prompts_.beep();
        bank_->edit()->setFocus();
        return;
    }
    if (!vlink::BankNumSet(context_.line.port, *bank)) {
        logos_.errorFlag = true;
        prompts_.error(vlink::failureText(vlink::PrinterCommand::BankNumSet));
        logos_.lastDepotBank = -1;
        return;
    }
    logos_.lastDepotBank = *bank;
    readBank();
}

// The bank's list comes in through the reading window, as every list the library opens on.
void TShowAllLogoListForm::readBank()
{
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!readLogoNames(context_.line.port, LogoStore::Depot, names, &result)) {
        prompts_.error(vlink::namesFailureText(result));
        return;
    }
    logos_.names = names;
    TLogoViewForm reading(names, this, context_.mainWindow, this);
    modal_.exec(reading);
}

void TShowAllLogoListForm::readNamesAgain()
{
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (readLogoNames(context_.line.port, shownStore(), names, &result))
        rebuild(names);
    else
        prompts_.error(vlink::namesFailureText(result));
}

void TShowAllLogoListForm::deleteClick()
{
    if (!prompts_.question(QStringLiteral("Logos delete. Are You Sure?"), vui::CaptionConfirm))
        return;
    logos_.logo.fill(0);
    if (!deleteRows(selectedRows()))
        return;
    prompts_.ok();
    progress_->hide();
    readNamesAgain();
}

bool TShowAllLogoListForm::deleteRows(const vlink::LogoNames &rows)
{
    progress_->setRange(0, std::max(0, int(rows.size()) - 1));
    progress_->show();
    for (int i = 0; i < rows.size(); ++i) {
        const int number = rows[i].number % 256;
        const vlink::Store store = depotShown() ? vlink::Store::Depot : vlink::Store::Printer;
        if (!vlink::LogoDelete(context_.line.port, store, number)) {
            progress_->hide();
            logos_.errorFlag = true;
            prompts_.error(vlink::logoFailure(vlink::LogoCall::Delete, store));
            return false;
        }
        if (!depotShown())
            vlink::Delay(PrinterDeletePauseMs);
        progress_->setValue(i);
        vui::repaintNow();
    }
    return true;
}

void TShowAllLogoListForm::saveTo(CopyDestination destination)
{
    const vlink::LogoNames rows = selectedRows();
    if (rows.isEmpty())
        return;
    TMultiLoadFromListView bulk(context_, rows, destination, this);
    bulk_ = &bulk;
    modal_.exec(bulk);
}

} // namespace vgfx
