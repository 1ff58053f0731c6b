#include "compose/logo_to_mark_form.h"

#include "compose/cell_reader.h"
#include "graphics/depot_bank_box.h"
#include "graphics/dp_logo_read_write_form.h"
#include "graphics/model/logo_name.h"
#include "graphics/model/logo_preview.h"
#include "link/command_table.h"
#include "link/logo_commands.h"
#include "link/mark_commands.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"
#include "ui/up_down_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace vcompose
{

using vgfx::LogoStore;

namespace
{

constexpr int LastRow = 4;
constexpr int LastColumn = 8;
// The probe's counter starts at the column and gives up when it reaches this.
constexpr int ProbeLimit = 50;

} // namespace

QString placementFormName(Placement placement)
{
    const bool depot = placement.store == LogoStore::Depot;
    QString name = depot ? QStringLiteral("TDPLogoToMarkForm") : QStringLiteral("TLogoToMarkForm");
    return placement.compact ? name + QStringLiteral("Small") : name;
}

vui::Message placementCloseMessage(Placement placement)
{
    if (!placement.compact)
        return vui::Message::LogoReadOK;
    return placement.store == LogoStore::Depot ? vui::Message::LogoReadOKSmall
                                               : vui::Message::LogoReadOKSmallnotDP;
}

std::optional<int> boxedLogoNumber(const QString &text, int last)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return int(std::clamp<qlonglong>(value, 0, last));
}

LogoToMarkForm::LogoToMarkForm(Placement placement, const vgfx::LogoFormContext &context,
                               OpenLoadDialog openLoad, QString workDir, QWidget *parent)
    : QDialog(parent), placement_(placement), context_(context), line_(context.line),
      logos_(context.logos), prompts_(context.prompts), openLoad_(std::move(openLoad)),
      workDir_(std::move(workDir))
{
    setObjectName(placementFormName(placement));
    setWindowTitle(placement.compact
                       ? (placement.store == LogoStore::Depot ? QStringLiteral("DepotLogo")
                                                              : QStringLiteral("PrinterLogo"))
                       : QStringLiteral("LogoToMark"));
    buildControls();
    connectControls();
    vui::keepOnScreen(*this);
}

void LogoToMarkForm::buildControls()
{
    using vui::named;
    const bool depot = placement_.store == LogoStore::Depot;
    size_ = named<QLabel>(this, "LSize", QStringLiteral("Size"));
    image_ = named<QLabel>(this, "Image");
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(image_);
    scroll->setMinimumSize(320, 140);

    // Any text may be typed: what is not a number is refused with a beep when it is used.
    number_ = new vui::UpDownBox(QStringLiteral("LogoNum"), this);
    number_->edit()->setValidator(nullptr);
    // Enter pastes in the placement form and shows the typed logo in the compact one.
    show_ = placement_.compact ? vui::actionButton(*this, "BtShow", QStringLiteral("Show"))
                               : vui::pushButton(this, "BtShow", QStringLiteral("Show"));
    name_ = named<QLineEdit>(this, "LogoName");
    name_->setReadOnly(!placement_.compact);
    auto *fields = new QGridLayout;
    fields->addWidget(
        new QLabel(depot ? QStringLiteral("Logo № 0..249") : QStringLiteral("Fragment № 0..255"),
                   this),
        0, 0);
    fields->addWidget(number_, 0, 1);
    fields->addWidget(show_, 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("Logo Name"), this), 1, 0);
    fields->addWidget(name_, 1, 1, 1, 2);
    fields->setColumnStretch(3, 1);

    auto *main = new QVBoxLayout(this);
    main->addWidget(size_);
    main->addWidget(scroll, 1);
    main->addLayout(fields);
    buildCoordinates();
    main->addWidget(coordinates_);
    buildActions();
    main->addWidget(copies_);
    main->addLayout(actions_);
    main->addWidget(bankBox_);
}

void LogoToMarkForm::buildCoordinates()
{
    coordinates_ = new QGroupBox(QStringLiteral("Coordinate"), this);
    coordinates_->setObjectName(QStringLiteral("Coordinate"));
    row_ = new vui::UpDownBox(QStringLiteral("Row"), coordinates_);
    column_ = new vui::UpDownBox(QStringLiteral("Column"), coordinates_);
    row_->edit()->setReadOnly(true);
    column_->edit()->setReadOnly(true);
    kind_ = vui::named<QLineEdit>(coordinates_, "FragmentKind");
    change_ = vui::named<QCheckBox>(coordinates_, "CBChange", QStringLiteral("Change"));
    auto *grid = new QGridLayout(coordinates_);
    grid->addWidget(new QLabel(QStringLiteral("Row"), coordinates_), 0, 0);
    grid->addWidget(row_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Column"), coordinates_), 0, 2);
    grid->addWidget(column_, 0, 3);
    grid->addWidget(kind_, 1, 0, 1, 3);
    grid->addWidget(change_, 1, 3);
    // The compact forms view a logo; they place nothing.
    coordinates_->setVisible(!placement_.compact);
    kind_->setVisible(placement_.store == LogoStore::Printer);
    change_->setVisible(placement_.store == LogoStore::Printer);
}

void LogoToMarkForm::buildActions()
{
    const bool compact = placement_.compact;
    paste_ = compact ? vui::pushButton(this, "BtPaste", QStringLiteral("Paste"))
                     : vui::actionButton(*this, "BtPaste", QStringLiteral("Paste"));
    rename_ = vui::pushButton(this, "BtRename", QStringLiteral("Rename"));
    clear_ = vui::pushButton(this, "BtClear", QStringLiteral("Clear"));
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    paste_->setVisible(!compact);
    rename_->setVisible(compact);
    clear_->setVisible(compact);
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

    copies_ = new QWidget(this);
    copies_->setObjectName(QStringLiteral("SaveTo"));
    // The placement forms keep their copy box hidden.
    copies_->setVisible(compact);
    auto *copies = new QHBoxLayout(copies_);
    copies->setContentsMargins(0, 0, 0, 0);
    if (!compact)
        copies->addWidget(new QLabel(placement_.store == LogoStore::Printer
                                         ? QStringLiteral("Save to:")
                                         : QStringLiteral("SaveTo:"),
                                     copies_));
    const auto copyButton = [&](const char *name, const QString &text, auto handler) {
        QPushButton *button = vui::pushButton(copies_, name, text);
        copies->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, handler] { run(handler); });
    };
    copyButton("BtSaveToFile", compact ? QStringLiteral("SaveToFile") : QStringLiteral("File"),
               [this] { copyToFile(); });
    copyButton("BtSaveToPrinter",
               compact ? QStringLiteral("SaveToPrinter") : QStringLiteral("Printer"),
               [this] { copyToStore(LogoStore::Printer); });
    copyButton("BtSaveToDepot", compact ? QStringLiteral("SaveToDepot") : QStringLiteral("Depot"),
               [this] { copyToStore(LogoStore::Depot); });
    copies->addStretch();
    // Apart from the copy buttons, which the placement form enables only on a Depot line.
    actions_ = new QHBoxLayout;
    for (QPushButton *button : {paste_, rename_, clear_})
        actions_->addWidget(button);
    actions_->addStretch();
    actions_->addWidget(cancel);

    bankBox_ =
        new vgfx::DepotBankBox(line_, logos_, prompts_, vgfx::DepotBankBox::Field::ArrowsOnly,
                               vgfx::DepotBankBox::OnSet::Select, this);
    bankBox_->setVisible(placement_.store == LogoStore::Depot);
}

void LogoToMarkForm::connectControls()
{
    connect(show_, &QPushButton::clicked, this, [this] { run([this] { numberStep(0, false); }); });
    connect(number_, &vui::UpDownBox::arrow, this,
            [this](int delta) { run([this, delta] { numberStep(delta, true); }); });
    connect(row_, &vui::UpDownBox::arrow, this,
            [this](int delta) { run([this, delta] { cellStep(row_, delta, LastRow); }); });
    connect(column_, &vui::UpDownBox::arrow, this,
            [this](int delta) { run([this, delta] { cellStep(column_, delta, LastColumn); }); });
    connect(change_, &QCheckBox::clicked, this, [this](bool on) { changeClick(on); });
    connect(paste_, &QPushButton::clicked, this, [this] { run([this] { pasteClick(); }); });
    connect(clear_, &QPushButton::clicked, this, [this] { run([this] { clearClick(); }); });
    connect(rename_, &QPushButton::clicked, this, [this] {
        run([this] { placement_.store == LogoStore::Depot ? depotRenameClick() : renameClick(); });
    });
    connect(name_, &QLineEdit::textEdited, this, [this](const QString &text) {
        const vgfx::NameEdit cut = vgfx::cutLogoName(text, name_->cursorPosition());
        if (cut.text == text)
            return;
        name_->setText(cut.text);
        name_->setCursorPosition(cut.caret);
    });
}

void LogoToMarkForm::run(const std::function<void()> &handler)
{
    {
        const vui::BusyCursor busy;
        handler();
    }
    if (std::exchange(closeRequested_, false))
        reject();
}

void LogoToMarkForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!std::exchange(started_, true))
        formShow();
}

bool LogoToMarkForm::fromDepot() const
{
    return logos_.depotSource;
}

void LogoToMarkForm::formShow()
{
    name_->clear();
    // The compact Depot form views the Depot whoever opened it, and is opened again as such.
    if (placement_.compact && placement_.store == LogoStore::Depot)
        logos_.depotSource = true;
    // The cell last used, whichever store the logo comes from.
    row_->setNumber(logos_.placementRow);
    column_->setNumber(logos_.placementColumn);
    if (placement_.store == LogoStore::Printer && !placement_.compact)
        copies_->setEnabled(line_.deviceKind == vlink::DeviceKind::PrinterViaDepot);
    bankBox_->showDepotBank();
    number_->setNumber(logos_.placementLogo);
    shown_ = logos_.logo;
    redraw();
    readNames();
    logos_.placementShown = false;
    const QString suffix = placement_.store == LogoStore::Depot ? QStringLiteral("LogoToMarkForm")
                                                                : QStringLiteral("LogoToMark");
    if (fromDepot()) {
        setWindowTitle(QStringLiteral("Depot") + suffix);
        kind_->setEnabled(false);
        return;
    }
    setWindowTitle(QStringLiteral("Printer") + suffix);
    showPrinterSource();
}

void LogoToMarkForm::showPrinterSource()
{
    kind_->clear();
    // A viewer has no cell to look at.
    if (!placement_.compact)
        probeCell();
    for (QWidget *w : {static_cast<QWidget *>(number_), static_cast<QWidget *>(coordinates_),
                       static_cast<QWidget *>(name_), static_cast<QWidget *>(paste_)})
        w->setEnabled(true);
}

void LogoToMarkForm::readNames()
{
    const bool kind2 = line_.deviceKind == vlink::DeviceKind::PrinterViaDepot;
    const bool depotList =
        fromDepot() || (placement_.store == LogoStore::Depot && kind2 && logos_.depotView);
    vlink::LogoNames names;
    if (!vgfx::readLogoNames(line_.port, depotList ? LogoStore::Depot : LogoStore::Printer, names))
        return;
    logos_.names = names;
    const int number = logos_.placementLogo;
    for (const vlink::LogoName &entry : names)
        if (entry.number == number)
            name_->setText(context_.codePage.decode(entry.name));
}

std::optional<int> LogoToMarkForm::typedNumber()
{
    const std::optional<int> number =
        boxedLogoNumber(number_->text(), vgfx::maxLogoNumber(placement_.store));
    if (!number) {
        prompts_.beep();
        number_->edit()->setFocus();
    }
    return number;
}

// True when the logo is read from the printer: by the dialog, the mode and what answers.
bool LogoToMarkForm::printerRead(bool arrow) const
{
    if (placement_.compact)
        return placement_.store == LogoStore::Printer;
    if (line_.depotOnly)
        return false;
    if (!arrow)
        return true;
    const bool kind2 = line_.deviceKind == vlink::DeviceKind::PrinterViaDepot;
    return placement_.store == LogoStore::Printer ? !kind2 : kind2;
}

void LogoToMarkForm::numberStep(int delta, bool arrow)
{
    std::optional<int> number = typedNumber();
    if (!number)
        return;
    *number = std::clamp(*number + delta, 0, vgfx::maxLogoNumber(placement_.store));
    number_->setNumber(*number);
    logos_.placementLogo = quint8(*number);
    logos_.placementShown = true;
    const LogoStore store = printerRead(arrow) ? LogoStore::Printer : LogoStore::Depot;
    if (!vlink::LogoView(line_.port, store, *number, logos_.logo)) {
        // The dialog stays open on the logo it shows.
        logos_.placementShown = false;
        logos_.errorFlag = true;
        prompts_.error(vlink::logoFailure(vlink::LogoCall::View, store));
        return;
    }
    closeRequested_ = true;
}

void LogoToMarkForm::cellStep(vui::UpDownBox *box, int delta, int last)
{
    box->setNumber(std::clamp(box->number().value_or(1) + delta, 1, last));
    // Every cell the arrow lands on is probed: a "Change" ticked for the cell before, or by the
    // graphic found there, must not let a Paste overwrite this one unasked.
    logos_.placementRow = row_->number().value_or(1);
    logos_.placementColumn = column_->number().value_or(1);
    probeCell();
}

void LogoToMarkForm::probeCell()
{
    kind_->clear();
    const int row = row_->number().value_or(1);
    const int column = column_->number().value_or(1);
    vlink::Fragment fragment;
    bool read = false;
    for (int counter = column; counter < ProbeLimit && !read; ++counter)
        read = vlink::TextFragmentRead(line_.port, row, column, fragment);
    if (!read) {
        // A cell of unknown content is guarded as one holding text.
        guardCell(false);
        prompts_.error(vlink::failureText(vlink::PrinterCommand::TextFragmentRead));
        return;
    }
    const CellKind kind = cellKind(fragment, GraphicTest::fontCount(line_.fontCount));
    guardCell(kind == CellKind::Graphic);
    kind_->setEnabled(false);
    kind_->setText(cellKindLabel(kind));
}

// A graphic is overwritten without asking; any other cell only with "Change".
void LogoToMarkForm::guardCell(bool graphic)
{
    change_->setChecked(graphic);
    change_->setVisible(!graphic && placement_.store == LogoStore::Printer);
}

void LogoToMarkForm::changeClick(bool checked)
{
    kind_->setEnabled(checked);
    if (checked)
        kind_->clear();
}

void LogoToMarkForm::pasteClick()
{
    if (!change_->isHidden() && !change_->isChecked()) {
        prompts_.error(QStringLiteral("Select \"Change\" mode, if you want LogoToMark insert"));
        prompts_.beep();
        return;
    }
    const std::optional<int> number = typedNumber();
    if (!number)
        return;
    if (vlink::MarkLoad(line_.port, quint8(*number), column_->number().value_or(1),
                        row_->number().value_or(1)))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::MarkLoad));
}

QByteArray LogoToMarkForm::fieldName() const
{
    return context_.codePage.encode(name_->text());
}

void LogoToMarkForm::redraw()
{
    const QImage preview = vgfx::drawPreview(shown_, std::max(1, logos_.zoomCurrent));
    image_->setPixmap(preview.isNull() ? QPixmap() : QPixmap::fromImage(preview));
    image_->adjustSize();
    size_->setText(vgfx::sizeLabel(shown_));
}

void LogoToMarkForm::done(int result)
{
    if (!std::exchange(closed_, true)) {
        hide();
        if (logos_.placementShown)
            vui::sendMessage(context_.mainWindow, placementCloseMessage(placement_));
    }
    QDialog::done(result);
}

} // namespace vcompose
