#pragma once

#include "graphics/logo_form_base.h"
#include "link/names_list.h"

#include <QDialog>

class QProgressBar;

namespace vui
{
class UpDownBox;
}

namespace vgfx
{

// Where a bulk copy of the library's selected logos goes.
enum class CopyDestination { Printer, Depot, Files };

// Copies the library window's selected logos from the store it lists to the other store, under
// consecutive numbers with their names kept, or to bitmap files in a folder the operator chooses.
// A logo that fails is reported and the copy goes on; only a copy without a failure ends in "Ok".
class TMultiLoadFromListView : public QDialog
{
    Q_OBJECT

public:
    TMultiLoadFromListView(const LogoFormContext &context, vlink::LogoNames selected,
                           CopyDestination destination, QWidget *parent = nullptr);

private:
    void loadClick();
    enum class CopyStep { Copied, Failed, Stopped };
    void copyToStore(LogoStore to, int first);
    CopyStep copyOne(LogoStore to, int number, int target, bool switching);
    void copyToFiles();
    void finish();
    LogoStore source() const;
    void advance(int done);
    bool depotToDepot() const;
    int sourceBank() const;
    bool onBank(int bank);

    vui::LineState &line_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    vlink::CodePage codePage_;
    QPointer<QObject> mainWindow_;
    vlink::LogoNames selected_;
    CopyDestination destination_;
    vui::UpDownBox *first_ = nullptr;
    // The bank a Depot-to-Depot copy writes to, once "Set" took it; else the bank listed.
    std::optional<int> destinationBank_;
    QProgressBar *progress_ = nullptr;
};

} // namespace vgfx
