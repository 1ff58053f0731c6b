#pragma once

#include "graphics/logo_form_base.h"
#include "graphics/model/clip_grid.h"
#include "graphics/model/clip_render.h"
#include "graphics/model/logo_store.h"

#include <QDialog>
#include <functional>

class QAction;
class QComboBox;
class QScrollArea;
class QToolButton;

namespace vui
{
class ModalRunner;
}

namespace vgfx
{

class ClipSheet;

// What the clipboard window works with, from the main window: the logo dialogs' context, the
// work grid that outlives the window, the window's sub-dialogs' runner and the load dialog it
// hands a selection to.
struct ClipContext {
    LogoFormContext logoContext;
    ClipGrid &grid;
    vui::ModalRunner &modal;
    QString workDir;
    std::function<void(LogoStore)> openLoad;
};

// The clipboard import window: the clipboard's picture or text rendered at the chosen height
// into the work grid, shown enlarged for editing, and stored as one logo or as several.
class TClipBrdReadForm : public QDialog
{
    Q_OBJECT

public:
    TClipBrdReadForm(ClipContext context, QWidget *parent = nullptr);

    ClipSheet *sheet() const { return sheet_; }
    int verticalOffset() const { return verticalOffset_; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void buildMenus();
    void buildHeightRow();
    QWidget *buildImage();
    QAction *menuItem(QMenu *menu, const char *name, const QString &text,
                      std::function<void()> handler);

    void askRead(int target);
    void readClipboard();
    PictureSource renderedThroughFile(QImage picture) const;
    void edited();
    std::optional<DotRect> selectionOrBeep();
    void editSelection(const std::function<void(const DotRect &)> &edit);
    void pasteClick();
    bool floatingKey(int key);
    void saveToFile();
    void saveToStore(LogoStore store);
    void loadPieces(LogoStore store);
    void pasteFromFile();
    void expandClick();

    ClipContext context_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    ClipGrid &grid_;
    int verticalOffset_ = ClipDefaultOffset;
    bool readOnShow_ = false;
    QComboBox *height_ = nullptr;
    QToolButton *depotButton_ = nullptr;
    QScrollArea *scroll_ = nullptr;
    ClipSheet *sheet_ = nullptr;
};

} // namespace vgfx
