#include "graphics/show_all_logo_list_form.h"

#include "graphics/depot_bank_box.h"
#include "graphics/dp_logo_read_write_form.h"
#include "graphics/logo_view_form.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/repaint_now.h"

#include <QHBoxLayout>
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

    bankBox_ = new DepotBankBox(context.line, logos_, prompts_, DepotBankBox::Field::Typed,
                                DepotBankBox::OnSet::SelectQuietly, this);
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
    connect(bankBox_, &DepotBankBox::bankSelected, this, [this] { readBank(); });
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
    bankBox_->showDepotBank();
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
