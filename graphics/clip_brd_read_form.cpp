#include "graphics/clip_brd_read_form.h"

#include "graphics/clip_sheet.h"
#include "graphics/expand_rect_form.h"
#include "graphics/model/clip_store.h"
#include "graphics/select_logos_num.h"
#include "ui/busy_cursor.h"
#include "ui/messages.h"
#include "ui/modal_runner.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vgfx
{

namespace
{

constexpr int ToolBarTarget = 24;

} // namespace

TClipBrdReadForm::TClipBrdReadForm(ClipContext context, QWidget *parent)
    : QDialog(parent), context_(std::move(context)), logos_(context_.logoContext.logos),
      prompts_(context_.logoContext.prompts), grid_(context_.grid)
{
    setObjectName(QStringLiteral("TClipBrdReadForm"));
    setWindowTitle(QStringLiteral("ClipBoard"));
    auto *layout = new QVBoxLayout(this);
    buildMenus();
    buildToolBar();
    buildHeightRow();
    layout->addWidget(buildImage(), 1);
    // A read is asked for by closing and reopening: it runs once, in the new window.
    readOnShow_ = std::exchange(logos_.clipboardReopen, false);
    const int target = logos_.clipboardWork;
    height_->setCurrentText(QString::number(
        target >= LowestTargetHeight && target <= HighestTargetHeight ? target : ToolBarTarget));
    depotButton_->setVisible(context_.logoContext.line.deviceKind != vlink::DeviceKind::Printer);
    // Tall enough for all 65 rows of the grid at 8 pixels a dot, so nothing scrolls vertically.
    resize(1000, 700);
    vui::keepOnScreen(*this);
}

void TClipBrdReadForm::buildToolBar()
{
    auto *bar = new QHBoxLayout;
    const auto add = [this, bar](const char *name, const QString &text,
                                 std::function<void()> handler) {
        QToolButton *button = vui::toolButton(this, name, text, text);
        bar->addWidget(button);
        connect(button, &QToolButton::clicked, this, std::move(handler));
        return button;
    };
    add("TbClipRead", QStringLiteral("Load MS Word fragment via ClipBoard"),
        [this] { askRead(ToolBarTarget); });
    add("TbPictureEdit", QStringLiteral("Picture Edit"), [this] { edited(); });
    add("TbLoadPrinter", QStringLiteral("Image Load to PrinterMemory"),
        [this] { loadPieces(LogoStore::Printer); });
    depotButton_ = add("TbLoadDepot", QStringLiteral("Image Load to DepotMemory"),
                       [this] { loadPieces(LogoStore::Depot); });
    add("TbSaveFile", QStringLiteral("Save to File"), [this] { saveToFile(); });
    bar->addStretch();
    static_cast<QVBoxLayout *>(layout())->addLayout(bar);
}

QAction *TClipBrdReadForm::menuItem(QMenu *menu, const char *name, const QString &text,
                                    std::function<void()> handler)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, std::move(handler));
    return action;
}

void TClipBrdReadForm::buildMenus()
{
    auto *bar = new QMenuBar(this);
    static_cast<QVBoxLayout *>(layout())->setMenuBar(bar);
    QMenu *file = bar->addMenu(QStringLiteral("File"));
    menuItem(file, "SavetoFile1", QStringLiteral("Save to File"), [this] { saveToFile(); });
    menuItem(file, "SavetoPrinterMemory1", QStringLiteral("Save to PrinterMemory"),
             [this] { saveToStore(LogoStore::Printer); });
    menuItem(file, "SavetoDepotMemory1", QStringLiteral("Save to DepotMemory"),
             [this] { saveToStore(LogoStore::Depot); });
    menuItem(file, "PastefromFile1", QStringLiteral("Paste from File"),
             [this] { pasteFromFile(); });
    QMenu *edit = bar->addMenu(QStringLiteral("Edit"));
    menuItem(edit, "Cut1", QStringLiteral("Cut"),
             [this] { editSelection([this](const DotRect &r) { grid_.cut(r); }); });
    menuItem(edit, "Copy1", QStringLiteral("Copy"),
             [this] { editSelection([this](const DotRect &r) { grid_.copy(r); }); });
    menuItem(edit, "Paste1", QStringLiteral("Paste"), [this] { pasteClick(); });
    menuItem(edit, "Clear1", QStringLiteral("Clear"),
             [this] { editSelection([this](const DotRect &r) { grid_.clearRect(r); }); });
    menuItem(edit, "Expand1", QStringLiteral("Expand"), [this] { expandClick(); });
}

void TClipBrdReadForm::buildHeightRow()
{
    auto *row = new QHBoxLayout;
    height_ = vui::named<QComboBox>(this, "MaxTextHeight");
    for (int h = LowestTargetHeight; h <= HighestTargetHeight; ++h)
        height_->addItem(QString::number(h));
    height_->installEventFilter(this);
    auto *reread = vui::pushButton(this, "BtReRead", QStringLiteral("ReRead ClipBoard"));
    connect(reread, &QPushButton::clicked, this,
            [this] { askRead(height_->currentText().toInt()); });
    row->addWidget(new QLabel(QStringLiteral("MaxTextHeight"), this));
    row->addWidget(height_);
    row->addWidget(new QLabel(QStringLiteral("+/- 1"), this));
    row->addWidget(reread);
    row->addStretch();
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

QWidget *TClipBrdReadForm::buildImage()
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(new ClipRuler(content));
    sheet_ = new ClipSheet(grid_, content);
    column->addWidget(sheet_);
    scroll_ = vui::named<QScrollArea>(this, "ClipImage");
    scroll_->setWidget(content);
    return scroll_;
}

void TClipBrdReadForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!std::exchange(readOnShow_, false))
        return;
    // The read runs once the window is up, so that its messages come from inside it.
    QTimer::singleShot(0, this, [this] { readClipboard(); });
}

void TClipBrdReadForm::askRead(int target)
{
    logos_.clipboardWork = target;
    vui::postMessage(context_.logoContext.mainWindow, vui::Message::ReadClpBoard_);
    reject();
}

// Each rendering goes through the bitmap file in the Logo folder and is read back from it.
PictureSource TClipBrdReadForm::renderedThroughFile(QImage picture) const
{
    const QString path = QDir(context_.workDir).filePath(QStringLiteral("Logo/tmp.bmp"));
    return [scaled = scaledPicture(std::move(picture)), path](int height) {
        const QImage drawn = scaled(height);
        if (!drawn.save(path, "BMP"))
            return drawn;
        const QImage back(path);
        return back.isNull() ? drawn : back;
    };
}

void TClipBrdReadForm::readClipboard()
{
    const QImage picture = clipboardPicture(QGuiApplication::clipboard()->mimeData());
    if (picture.isNull()) {
        prompts_.error(QStringLiteral("not SupportsClipboardFormat"));
        return;
    }
    const vui::BusyCursor busy;
    grid_.clear();
    QDir(context_.workDir).mkpath(QStringLiteral("Logo"));
    const HeightSearch search =
        searchRenderHeight(renderedThroughFile(picture), height_->currentText().toInt());
    const bool placed = placeSample(search, verticalOffset_, grid_);
    sheet_->setSelection(std::nullopt);
    edited();
    if (!placed)
        prompts_.error(QStringLiteral("ClipBoardImage convert error"));
}

void TClipBrdReadForm::edited()
{
    sheet_->update();
}

std::optional<DotRect> TClipBrdReadForm::selectionOrBeep()
{
    const std::optional<DotRect> selection = sheet_->selection();
    if (!selection)
        prompts_.beep();
    return selection;
}

void TClipBrdReadForm::editSelection(const std::function<void(const DotRect &)> &edit)
{
    if (const std::optional<DotRect> selection = selectionOrBeep()) {
        edit(*selection);
        edited();
    }
}

void TClipBrdReadForm::pasteClick()
{
    const std::optional<DotRect> selection = selectionOrBeep();
    if (!selection)
        return;
    if (!grid_.paste(*selection)) {
        prompts_.beep();
        return;
    }
    edited();
    // The floating block is steered from the height box.
    height_->setFocus();
}

bool TClipBrdReadForm::floatingKey(int key)
{
    if (!grid_.floating())
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        grid_.commit();
        break;
    case Qt::Key_Delete:
        grid_.deleteFloating();
        break;
    case Qt::Key_Escape:
        grid_.escape();
        break;
    default:
        return false;
    }
    edited();
    return true;
}

bool TClipBrdReadForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == height_ && event->type() == QEvent::KeyPress &&
        floatingKey(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TClipBrdReadForm::expandClick()
{
    const std::optional<DotRect> selection = selectionOrBeep();
    if (!selection)
        return;
    TExpandRectForm form(this);
    if (context_.modal.exec(form) != QDialog::Accepted)
        return;
    grid_.expand(*selection, form.horizontal(), form.vertical());
    edited();
}

void TClipBrdReadForm::loadPieces(LogoStore store)
{
    if (grid_.imageWidth < 1) {
        prompts_.beep();
        return;
    }
    const LogoFormContext &c = context_.logoContext;
    TSelectLogosNum form(store, c.line, c.logos, c.prompts, c.codePage, grid_, verticalOffset_,
                         this);
    context_.modal.exec(form);
}

} // namespace vgfx
