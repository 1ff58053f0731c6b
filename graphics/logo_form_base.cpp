#include "graphics/logo_form_base.h"

#include "graphics/logo_save_to_file.h"
#include "graphics/model/logo_bmp.h"
#include "graphics/model/logo_preview.h"
#include "graphics/model/logo_zoom.h"
#include "link/command_table.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/up_down_box.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace vgfx
{

LogoFormBase::LogoFormBase(LogoStore store, const LogoFormContext &context, QWidget *parent)
    : QDialog(parent), store_(store), line_(context.line), logos_(context.logos),
      prompts_(context.prompts), codePage_(context.codePage), mainWindow_(context.mainWindow),
      refreshLibrary_(context.refreshLibrary)
{
    setWindowTitle(QStringLiteral("Logo"));
    buildControls();
}

void LogoFormBase::buildControls()
{
    using vui::named;
    zoomIn_ = vui::toolButton(this, "BtZoomIn", QStringLiteral("Zoom +"), QStringLiteral("ZoomIn"));
    zoomOut_ =
        vui::toolButton(this, "BtZoomOut", QStringLiteral("Zoom -"), QStringLiteral("ZoomOut"));
    save_ =
        vui::toolButton(this, "BtSaveToFile", QStringLiteral("Save"), QStringLiteral("SaveToFile"));
    grids_ = named<QCheckBox>(this, "CBDrawGrids", QStringLiteral("DrawGrids"));
    size_ = named<QLabel>(this, "LSize");
    auto *tools = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(zoomIn_), static_cast<QWidget *>(zoomOut_),
                       static_cast<QWidget *>(save_), static_cast<QWidget *>(grids_)})
        tools->addWidget(w);
    tools->addStretch();
    tools->addWidget(size_);

    // The preview sits on white, so the margin right of and below the image reads as paper.
    image_ = named<QLabel>(this, "Image");
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(image_);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Base);
    QPalette paper = scroll_->palette();
    paper.setColor(QPalette::Base, Qt::white);
    scroll_->setPalette(paper);

    const int last = maxLogoNumber(store_);
    number_ = new vui::UpDownBox(QStringLiteral("LogoNum"), this);
    number_->setNumber(0);
    name_ = named<QLineEdit>(this, "LogoName");
    name_->setMaximumWidth(120);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Logo № 0..%1").arg(last), this), 0, 0);
    fields->addWidget(number_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Logo Name"), this), 1, 0);
    fields->addWidget(name_, 1, 1);
    fields->setColumnStretch(2, 1);

    // Enter loads or reads, as the button says.
    ok_ = vui::actionButton(*this, "BtOk", QStringLiteral("Load"));
    cancel_ = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    buttons_ = new QHBoxLayout;
    buttons_->addWidget(ok_);
    buttons_->addWidget(cancel_);
    extra_ = new QHBoxLayout;

    auto *main = new QVBoxLayout(this);
    main->addLayout(tools);
    main->addWidget(scroll_, 1);
    main->addLayout(fields);
    main->addLayout(extra_);
    main->addLayout(buttons_);

    connect(ok_, &QPushButton::clicked, this, [this] { run([this] { okClick(); }); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
    connect(zoomIn_, &QToolButton::clicked, this, [this] { run([this] { zoomClick(true); }); });
    connect(zoomOut_, &QToolButton::clicked, this, [this] { run([this] { zoomClick(false); }); });
    connect(save_, &QToolButton::clicked, this, [this] { run([this] { saveToFileClick(); }); });
    connect(grids_, &QCheckBox::toggled, this, [this](bool on) { gridsClick(on); });
    connect(number_, &vui::UpDownBox::arrow, this,
            [this](int delta) { run([this, delta] { numberArrow(delta); }); });
}

void LogoFormBase::run(const std::function<void()> &handler)
{
    {
        const vui::BusyCursor busy;
        handler();
    }
    if (std::exchange(closeRequested_, false))
        reject();
}

void LogoFormBase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (std::exchange(shown_, true))
        return;
    formShow();
}

void LogoFormBase::formShow()
{
    name_->clear();
    name_->setReadOnly(false);
    if (const std::optional<QString> pending = std::exchange(logos_.pendingName, std::nullopt)) {
        name_->setText(*pending);
        logos_.logo.name = fieldName();
    }
    save_->setVisible(readMode());
    showStore();
    if (readMode())
        showReadMode();
    else
        showLoadMode();
    if (logos_.grid)
        grids_->setChecked(true);
    afterShow();
}

void LogoFormBase::showLoadMode()
{
    ok_->setText(modeWord());
    if (std::exchange(logos_.redraw, false)) {
        loaded_ = true;
        redraw(logos_.zoomCurrent);
        return;
    }
    const BmpLoad result = convertBmpToLogo(logos_.logoFileName, logos_.logo);
    if (result != BmpLoad::Loaded) {
        prompts_.message(bmpLoadText(result), QString::fromLatin1(ImageNoticeCaption));
        vui::postMessage(mainWindow_, store_ == LogoStore::Printer
                                          ? vui::Message::ImageNotLoadOK
                                          : vui::Message::DPImageNotLoadOK);
        return;
    }
    loaded_ = true;
    redraw(logos_.zoomBase);
    setNameField(logos_.logo.name);
}

void LogoFormBase::showReadMode()
{
    ok_->setText(modeWord());
    // The logo a read or a zoom left in the buffer, with the name it came with.
    const bool again =
        std::exchange(logos_.redraw, false) || std::exchange(logos_.readRequested, false);
    if (!again)
        return;
    number_->setNumber(logos_.logo.number);
    redraw(logos_.zoomCurrent);
    setNameField(logos_.logo.name);
}

void LogoFormBase::okClick()
{
    const std::optional<int> number = number_->number();
    if (!number) {
        prompts_.beep();
        number_->edit()->setFocus();
        return;
    }
    if (*number > maxLogoNumber(store_)) {
        prompts_.error(maxFragmentText(store_));
        return;
    }
    logos_.errorFlag = false;
    if (readMode())
        readWithRetry(*number);
    else
        loadClick(*number);
}

void LogoFormBase::loadClick(int number)
{
    // A file that vanished or would not load leaves nothing to write.
    if (!loaded_)
        return;
    if (writeComposedLogo(line_.port, store_, number, logos_.logo, fieldName())) {
        loadWritten();
        return;
    }
    logos_.errorFlag = true;
    prompts_.error(loadFailureText());
}

QString LogoFormBase::loadFailureText() const
{
    return vlink::logoFailure(vlink::LogoCall::Write, store_);
}

void LogoFormBase::loadWritten()
{
    prompts_.ok();
    const bool listsThisStore = logos_.depotView == (store_ == LogoStore::Depot);
    if (!refreshLibrary_ || !listsThisStore)
        return;
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (readLogoNames(line_.port, store_, names, &result))
        refreshLibrary_(names);
    else
        prompts_.error(vlink::namesFailureText(result));
}

void LogoFormBase::readWithRetry(int number)
{
    logos_.readRequested = true;
    logos_.logo.number = number;
    if (readLogo(number)) {
        setNameField(logos_.logo.name);
        return;
    }
    logos_.readRequested = true;
    if (readLogo(number)) {
        setNameField(logos_.logo.name);
        return;
    }
    logos_.errorFlag = true;
    prompts_.error(vlink::logoFailure(vlink::LogoCall::Read, store_));
}

void LogoFormBase::numberArrow(int delta)
{
    number_->setNumber(steppedNumber(delta));
}

int LogoFormBase::steppedNumber(int delta) const
{
    return std::clamp(number_->number().value_or(0) + delta, 0, maxLogoNumber(store_));
}

void LogoFormBase::zoomClick(bool in)
{
    const bool empty = logos_.logo.isEmpty();
    const ZoomStep step = in ? zoomIn(logos_.zoomCurrent, empty)
                             : zoomOut(logos_.zoomCurrent, logos_.zoomBase, empty);
    if (step.beep)
        prompts_.beep();
    if (!step.changed)
        return;
    logos_.zoomCurrent = step.zoom;
    logos_.redraw = true;
    requestClose();
}

void LogoFormBase::saveToFileClick()
{
    saveLogoToChosenFile(logos_.logo, logos_, prompts_);
}

void LogoFormBase::gridsClick(bool checked)
{
    logos_.grid = checked;
    // Clearing the box leaves the lines until the next redraw.
    if (!checked || preview_.isNull())
        return;
    drawDotGrid(preview_, logos_.logo, drawnZoom_);
    placePreview();
}

void LogoFormBase::setNameField(const QByteArray &name)
{
    name_->setText(codePage_.decode(name));
}

QByteArray LogoFormBase::fieldName() const
{
    return codePage_.encode(name_->text());
}

void LogoFormBase::redraw(int zoom)
{
    drawnZoom_ = zoom;
    preview_ = drawPreview(logos_.logo, zoom);
    if (logos_.grid)
        drawDotGrid(preview_, logos_.logo, zoom);
    size_->setText(sizeLabel(logos_.logo));
    placePreview();
}

void LogoFormBase::placePreview()
{
    image_->setPixmap(preview_.isNull() ? QPixmap() : QPixmap::fromImage(preview_));
    image_->adjustSize();
    // The dialog grows with the preview until it would leave the screen; then it scrolls.
    QSize room(1024, 700);
    if (const QScreen *s = screen())
        room = s->availableGeometry().size() * 0.8;
    // The controls below the preview need about this much of the height.
    constexpr int ControlsHeight = 200;
    const int frame = 2 * scroll_->frameWidth() + 4;
    scroll_->setMinimumSize(std::min(image_->width() + frame, room.width()),
                            std::min(image_->height() + frame,
                                     std::max(ControlsHeight, room.height() - ControlsHeight)));
}

QString LogoFormBase::modeWord() const
{
    return readMode() ? QStringLiteral("Read") : QStringLiteral("Load");
}

void LogoFormBase::formClose()
{
    if (logos_.errorFlag || !asksToReopen())
        return;
    if (readMode() && logos_.logo.isEmpty())
        return;
    ok_->setText(modeWord());
    hide();
    vui::sendMessage(mainWindow_, store_ == LogoStore::Printer ? vui::Message::ImageCompressOK
                                                               : vui::Message::DPImageCompressOK);
}

void LogoFormBase::done(int result)
{
    if (!std::exchange(closed_, true))
        formClose();
    QDialog::done(result);
}

} // namespace vgfx
