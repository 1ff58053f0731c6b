#pragma once

#include "graphics/logo_form_base.h"
#include "graphics/model/logo_store.h"
#include "ui/messages.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vui
{
class UpDownBox;
}

namespace vgfx
{
class DepotBankBox;
}

namespace vcompose
{

// Which of the four placement dialogs: the store its logos come from, and whether it is the
// compact viewer (rename, delete, copy) rather than the dialog that places a logo into the mark.
struct Placement {
    vgfx::LogoStore store = vgfx::LogoStore::Printer;
    bool compact = false;
};

// "TLogoToMarkForm", "TDPLogoToMarkForm", "TLogoToMarkFormSmall" or "TDPLogoToMarkFormSmall".
QString placementFormName(Placement placement);
// What the dialog sends the main window when it closes after a new logo was read.
vui::Message placementCloseMessage(Placement placement);

// A number typed into a placement dialog's number box: forced into 0..last; nothing when the
// text is not a number at all.
std::optional<int> boxedLogoNumber(const QString &text, int last);

// The kind of logo dialog a copy or a Depot rename hands the logo on to.
using OpenLoadDialog = std::function<void(vgfx::LogoStore)>;

// Shows one stored logo, chosen by number. The placement form puts it into a cell of the mark;
// the compact form renames, deletes or copies it. A change of the shown logo is a read and a
// close: the main window opens the dialog again, which draws from the one LogoBuffer.
class LogoToMarkForm : public QDialog
{
    Q_OBJECT

public:
    LogoToMarkForm(Placement placement, const vgfx::LogoFormContext &context,
                   OpenLoadDialog openLoad, QString workDir, QWidget *parent = nullptr);

    Placement placement() const { return placement_; }
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildCoordinates();
    void buildActions();
    void connectControls();
    void formShow();
    void readNames();
    void showPrinterSource();
    bool fromDepot() const;
    bool printerRead(bool arrow) const;
    void numberStep(int delta, bool arrow);
    void cellStep(vui::UpDownBox *box, int delta, int last);
    void probeCell();
    void guardCell(bool graphic);
    void changeClick(bool checked);
    void pasteClick();
    void clearClick();
    void clearWritten(bool toDepot);
    void renameClick();
    void depotRenameClick();
    void copyToFile();
    void copyToStore(vgfx::LogoStore store);
    bool handOver();
    void run(const std::function<void()> &handler);
    std::optional<int> typedNumber();
    QByteArray fieldName() const;
    void redraw();

    Placement placement_;
    vgfx::LogoFormContext context_;
    vui::LineState &line_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    OpenLoadDialog openLoad_;
    QString workDir_;
    // The logo as it was shown, kept apart from LogoBuffer, which the next read overwrites.
    vlink::LogoBuffer shown_;

    vui::UpDownBox *number_ = nullptr;
    vui::UpDownBox *row_ = nullptr;
    vui::UpDownBox *column_ = nullptr;
    QGroupBox *coordinates_ = nullptr;
    QLineEdit *kind_ = nullptr;
    QCheckBox *change_ = nullptr;
    QLineEdit *name_ = nullptr;
    QPushButton *show_ = nullptr;
    QPushButton *paste_ = nullptr;
    QPushButton *rename_ = nullptr;
    QPushButton *clear_ = nullptr;
    QWidget *copies_ = nullptr;
    QHBoxLayout *actions_ = nullptr;
    vgfx::DepotBankBox *bankBox_ = nullptr;
    QLabel *size_ = nullptr;
    QLabel *image_ = nullptr;
    bool started_ = false;
    bool closed_ = false;
    bool closeRequested_ = false;
};

} // namespace vcompose
