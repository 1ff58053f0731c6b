#pragma once

#include "graphics/model/logo_store.h"
#include "link/codepage.h"
#include "link/command_table.h"
#include "link/names_list.h"
#include "ui/messages.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <functional>
#include <optional>

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace vui
{
class UpDownBox;
}

namespace vgfx
{

// What a logo dialog works with; the main window hands it over when it creates the dialog.
struct LogoFormContext {
    vui::LineState &line;
    vui::LogoWorkflow &logos;
    vui::Prompts &prompts;
    vlink::CodePage codePage;
    // Where the dialog sends and posts its messages.
    QPointer<QObject> mainWindow;
    // Set only while the logo library window exists: gives it a fresh names list. The dialog
    // calls it only when the library lists the dialog's own store.
    std::function<void(const vlink::LogoNames &)> refreshLibrary;
};

// What the printer and the Depot logo dialogs share: the preview with its zoom and grid, the
// number and name fields, OK in Load and Read mode, saving to a file and the close that asks the
// main window to show the dialog again. A dialog never reopens itself: it closes and the main
// window opens a fresh one, which redraws from the one LogoBuffer.
class LogoFormBase : public QDialog
{
    Q_OBJECT

public:
    // The preview as last drawn, grid included.
    const QImage &preview() const { return preview_; }
    LogoStore store() const { return store_; }

    // Every close passes here, whoever asks for it.
    void done(int result) override;

protected:
    LogoFormBase(LogoStore store, const LogoFormContext &context, QWidget *parent);

    void showEvent(QShowEvent *event) override;

    // What the store's own dialog adds to the steps below.
    virtual void showStore() {}
    virtual void afterShow() {}
    virtual bool asksToReopen() const { return true; }
    virtual void loadWritten();
    virtual QString loadFailureText() const;
    // The store's read command; asks for the close the command reports. True on success.
    virtual bool readLogo(int number) = 0;
    virtual void numberArrow(int delta);

    // Runs a control's handler; a close that the handler asked for happens after it returned,
    // as a modal window's close always follows the handler that requested it.
    void run(const std::function<void()> &handler);
    void requestClose() { closeRequested_ = true; }

    bool readMode() const { return logos_.logoMode == vui::LogoMode::Read; }
    void okClick();
    // A read as the OK button does it: tried twice before it is reported.
    void readWithRetry(int number);
    // Changes the number box by one step within the store's range.
    int steppedNumber(int delta) const;

    void setNameField(const QByteArray &name);
    QByteArray fieldName() const;
    void redraw(int zoom);

    // Rows the store's dialog fills: the extra buttons, and a row above them.
    QBoxLayout *buttonRow() const { return buttons_; }
    QBoxLayout *extraRow() const { return extra_; }

    LogoStore store_;
    vui::LineState &line_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    vlink::CodePage codePage_;
    QPointer<QObject> mainWindow_;
    std::function<void(const vlink::LogoNames &)> refreshLibrary_;

    vui::UpDownBox *number_ = nullptr;
    QLineEdit *name_ = nullptr;
    QPushButton *ok_ = nullptr;
    QToolButton *save_ = nullptr;
    // Whether the buffer holds a bitmap this dialog may write.
    bool loaded_ = false;

private:
    void buildControls();
    void formShow();
    void showLoadMode();
    void showReadMode();
    void formClose();
    void loadClick(int number);
    void zoomClick(bool in);
    void saveToFileClick();
    void gridsClick(bool checked);
    void placePreview();
    QString modeWord() const;

    QPushButton *cancel_ = nullptr;
    QToolButton *zoomIn_ = nullptr;
    QToolButton *zoomOut_ = nullptr;
    QCheckBox *grids_ = nullptr;
    QLabel *size_ = nullptr;
    QLabel *image_ = nullptr;
    QScrollArea *scroll_ = nullptr;
    QBoxLayout *buttons_ = nullptr;
    QBoxLayout *extra_ = nullptr;
    QImage preview_;
    int drawnZoom_ = 1;
    bool shown_ = false;
    bool closed_ = false;
    bool closeRequested_ = false;
};

} // namespace vgfx
