#include "graphics/select_logos_num.h"

#include "graphics/depot_bank_box.h"
#include "graphics/dp_logo_read_write_form.h"
#include "graphics/model/clip_store.h"
#include "graphics/model/logo_name.h"
#include "link/command_table.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/mark_commands.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vgfx
{

namespace
{

constexpr int FirstPieceNumber = 32;
constexpr int LastLogoNumber = 255;
constexpr int MarkColumns = 9;
// Between a logo's write and its placement, and after each piece.
constexpr int PieceDelayMs = 50;

QString ordinal(int n)
{
    const char *suffix = n == 1 ? "st" : n == 2 ? "nd" : n == 3 ? "rd" : "th";
    return QStringLiteral("%1-%2 LogoNum").arg(n).arg(QLatin1String(suffix));
}

} // namespace

TSelectLogosNum::TSelectLogosNum(LogoStore store, vui::LineState &line, vui::LogoWorkflow &logos,
                                 vui::Prompts &prompts, vlink::CodePage codePage,
                                 const ClipGrid &grid, int verticalOffset, QWidget *parent)
    : QDialog(parent), store_(store), line_(line), logos_(logos), prompts_(prompts),
      codePage_(std::move(codePage)), grid_(grid), verticalOffset_(verticalOffset)
{
    setObjectName(QStringLiteral("TSelectLogosNum"));
    setWindowTitle(QStringLiteral("LogoNumbers Select"));
    auto *layout = new QVBoxLayout(this);
    auto *boxes = new QGridLayout;
    layout->addLayout(boxes);
    for (int width : pieceWidths(grid.imageWidth)) {
        buildGroup(int(groups_.size()), width);
        const int i = int(groups_.size()) - 1;
        boxes->addWidget(groups_.back().number->parentWidget(), i / 3, i % 3);
    }
    if (store_ == LogoStore::Depot) {
        auto *bank = new DepotBankBox(line_, logos_, prompts_, DepotBankBox::Field::Typed,
                                      DepotBankBox::OnSet::Select, this);
        bank->showDepotBank();
        layout->addWidget(bank);
    }
    progress_ = vui::named<QProgressBar>(this, "ProgressBar1");
    progress_->setRange(0, std::max(pieces(), 1));
    progress_->setValue(0);
    progress_->hide();
    layout->addWidget(progress_);
    ok_ = vui::actionButton(*this, "BtOk", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    layout->addWidget(vui::actionRow(ok_, cancel, this));
    connect(ok_, &QPushButton::clicked, this, &TSelectLogosNum::okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    vui::keepOnScreen(*this);
}

void TSelectLogosNum::buildGroup(int index, int width)
{
    const int n = index + 1;
    auto *box = new QGroupBox(ordinal(n), this);
    box->setObjectName(QStringLiteral("LogoGroup%1").arg(n));
    Group group{index * PieceColumns, width, nullptr, nullptr, nullptr};
    group.number = vui::named<QComboBox>(box, QStringLiteral("LogoNum%1").arg(n));
    for (int number = FirstPieceNumber; number <= LastLogoNumber; ++number)
        group.number->addItem(QString::number(number));
    group.number->setCurrentIndex(index);
    group.column = vui::named<QComboBox>(box, QStringLiteral("Column%1").arg(n));
    for (int column = 1; column <= MarkColumns; ++column)
        group.column->addItem(QString::number(column));
    group.column->setCurrentIndex(index);
    group.name = vui::named<QLineEdit>(box, QStringLiteral("LogoName%1").arg(n));
    QLineEdit *name = group.name;
    connect(name, &QLineEdit::textEdited, this, [name] {
        const NameEdit edit = filterLogoName(name->text());
        name->setText(edit.text);
        name->setCursorPosition(edit.caret);
    });
    auto *form = new QGridLayout(box);
    form->addWidget(group.number, 0, 0);
    form->addWidget(new QLabel(QStringLiteral("Column"), box), 0, 1);
    form->addWidget(group.column, 0, 2);
    form->addWidget(group.name, 1, 0, 1, 3);
    groups_.push_back(group);
}

// The failure text of a piece that did not go in; empty when it did.
QString TSelectLogosNum::storePiece(const Group &group)
{
    vlink::LogoBuffer logo = pieceLogo(grid_, group.firstColumn, group.width, verticalOffset_);
    const int number = group.number->currentText().toInt();
    logo.number = number;
    logo.name = codePage_.encode(group.name->text());
    if (!vlink::LogoWrite(line_.port, store_, number, logo))
        return QStringLiteral("Write Error");
    vlink::Delay(PieceDelayMs);
    if (!vlink::MarkLoad(line_.port, quint8(number), group.column->currentText().toInt(), 1))
        return vlink::failureText(vlink::PrinterCommand::MarkLoad);
    return {};
}

void TSelectLogosNum::okClick()
{
    // The bar repaints between pieces; a second click then must not start a second run.
    ok_->setEnabled(false);
    progress_->setVisible(pieces() > 1);
    QString failure;
    {
        const vui::BusyCursor busy;
        for (const Group &group : groups_) {
            failure = storePiece(group);
            if (!failure.isEmpty())
                break;
            progress_->setValue(progress_->value() + 1);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            vlink::Delay(PieceDelayMs);
        }
    }
    progress_->setValue(0);
    ok_->setEnabled(true);
    if (failure.isEmpty())
        prompts_.ok();
    else
        prompts_.error(failure);
}

} // namespace vgfx
