#pragma once

#include "graphics/logo_form_base.h"
#include "graphics/multi_load_from_list_view.h"
#include "ui/modal_runner.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vgfx
{

class DepotBankBox;

// The logo library: the names list of the printer or of the Depot (the Depot view flag says
// which), from which logos are deleted or copied in bulk.
class TShowAllLogoListForm : public QDialog
{
    Q_OBJECT

public:
    // After each printer delete: the printer needs the time to store the blank logo.
    static constexpr int PrinterDeletePauseMs = 300;

    TShowAllLogoListForm(const LogoFormContext &context, vui::ModalRunner &modal,
                         QWidget *parent = nullptr);

    // Takes a fresh names list of the store it shows and lists it.
    void rebuild(const vlink::LogoNames &names);
    // Closes the bulk copy it opened, if one is open.
    void closeBulkCopy();
    // The list's rows, as the reading window builds them.
    void clearRows();
    void addRow(const vlink::LogoName &entry);
    QMenu *popup() const { return popup_; }
    // A double click on a row opens that logo of the store shown.
    void setOpenLogo(std::function<void(LogoStore, int)> openLogo)
    {
        openLogo_ = std::move(openLogo);
    }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    bool depotShown() const { return logos_.depotView; }
    LogoStore shownStore() const { return depotShown() ? LogoStore::Depot : LogoStore::Printer; }
    vlink::LogoNames selectedRows() const;
    void deleteClick();
    bool deleteRows(const vlink::LogoNames &rows);
    void saveTo(CopyDestination destination);
    void readNamesAgain();
    void readBank();

    LogoFormContext context_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QTreeWidget *list_ = nullptr;
    DepotBankBox *bankBox_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QMenu *popup_ = nullptr;
    QPointer<TMultiLoadFromListView> bulk_;
    std::function<void(LogoStore, int)> openLogo_;
};

} // namespace vgfx
