#include "compose/spec_func_form.h"

#include "compose/cell_editor_form.h"
#include "compose/small_dialog_parts.h"
#include "compose/spec_script.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "ui/busy_cursor.h"
#include "ui/enter_action.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vcompose
{

namespace
{

using vlink::PrinterCommand;

QByteArray fieldText(const QLineEdit *field)
{
    return field->text().toLatin1();
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace

TSpecFuncForm::TSpecFuncForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts)
{
    setObjectName(QStringLiteral("TSpecFuncForm"));
    setWindowTitle(QStringLiteral("Special Functions"));
    buildLayout();
}

void TSpecFuncForm::buildLayout()
{
    pages_ = vui::named<QTabWidget>(this, "PageControl1");
    pages_->addTab(counterPage(), QStringLiteral("SpecExpandCounter"));
    pages_->addTab(groupPage(), QStringLiteral("MarkGroupPrint"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    // Enter is the Ok of the page in front.
    const auto enterFollowsPage = [this](int index) {
        const char *ok = index == 0 ? "BtWriteText" : "Button1";
        vui::setEnterAction(*this, *findChild<QPushButton *>(QLatin1String(ok)));
    };
    connect(pages_, &QTabWidget::currentChanged, this, enterFollowsPage);
    enterFollowsPage(0);
}

QWidget *TSpecFuncForm::counterPage()
{
    auto *page = vui::named<QWidget>(nullptr, "SpecExpandCounter");
    initValue_ = vui::named<QLineEdit>(page, "InitValue");
    finishValue_ = vui::named<QLineEdit>(page, "FinishValue");
    counStep_ = vui::named<QLineEdit>(page, "CounStep");
    discret_ = vui::named<QLineEdit>(page, "Discret");
    fragmNum_ = vui::named<QLineEdit>(page, "FragmNum");
    fontSize_ = readOnlyNumber(page, "EFontSize", QStringLiteral("0"));
    auto *grid = new QGridLayout;
    addFieldRow(*grid, 0, QStringLiteral("Counter Initial Value"), initValue_);
    addFieldRow(*grid, 1, QStringLiteral("Counter Finish Value"), finishValue_);
    addFieldRow(*grid, 2, QStringLiteral("Counter Step"), counStep_);
    addFieldRow(*grid, 3, QStringLiteral("Counter Discret Step"), discret_);
    addFieldRow(*grid, 4, QStringLiteral("Fragment Number"), fragmNum_);
    addFieldRow(*grid, 5, QStringLiteral("Font Size"), fontSize_, "Font");
    auto *ok = vui::pushButton(page, "BtWriteText", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(page, "CancelBtn", QStringLiteral("Cancel"));
    auto *remove = vui::pushButton(page, "Button3", QStringLiteral("Delete Counter"));
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addLayout(buttonRow({ok, cancel, remove}));
    connect(ok, &QPushButton::clicked, this, &TSpecFuncForm::BtWriteTextClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(remove, &QPushButton::clicked, this, &TSpecFuncForm::Button3Click);
    connect(page->findChild<QToolButton *>(QStringLiteral("FontUp")), &QToolButton::clicked, this,
            [this] { fontStep(+1); });
    connect(page->findChild<QToolButton *>(QStringLiteral("FontDown")), &QToolButton::clicked, this,
            [this] { fontStep(-1); });
    return page;
}

QWidget *TSpecFuncForm::groupPage()
{
    auto *page = vui::named<QWidget>(nullptr, "MarkGroupPrint");
    markQuantaty_ = vui::named<QLineEdit>(page, "MarkQuantaty");
    markQuantaty_->setMaxLength(8);
    auto *grid = new QGridLayout;
    addFieldRow(*grid, 0, QStringLiteral("Printed Mark Quantaty"), markQuantaty_);
    auto *ok = vui::pushButton(page, "Button1", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(page, "Button2", QStringLiteral("Cancel"));
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttonRow({ok, cancel}));
    connect(ok, &QPushButton::clicked, this, &TSpecFuncForm::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return page;
}

void TSpecFuncForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TSpecFuncForm::FormActivate()
{
    const vui::BusyCursor busy;
    if (!readScript(script_))
        return;
    const ScriptValues values = valuesByLetter(script_);
    const auto fill = [this](QLineEdit *field, char letter, const QByteArray &value) {
        if (script_.contains(letter))
            field->setText(QString::fromLatin1(value));
    };
    fill(fragmNum_, 'Q', values.fragment);
    fill(initValue_, 'N', values.initial);
    fill(finishValue_, 'E', values.finish);
    fill(counStep_, 'S', values.step);
    fill(discret_, 'P', values.discrete);
    if (script_.contains('G')) {
        groupLetter_ = groupLetter(script_);
        markQuantaty_->setText(QString::fromLatin1(groupLetter_));
    }
}

bool TSpecFuncForm::readScript(QByteArray &script)
{
    return vlink::SpecFuncRead(line_.port, script);
}

// The group the printer holds, so that a counter write keeps it.
void TSpecFuncForm::takeGroupLetter()
{
    groupLetter_.clear();
    QByteArray script;
    if (readScript(script))
        groupLetter_ = groupLetter(script);
}

// A zero is cleared: it goes out as an empty value.
bool TSpecFuncForm::numberField(QLineEdit *field, vlink::SpecNumber which)
{
    QString kept;
    if (fieldRefused(vlink::specNumberRefusal(which, field->text(), kept), field, prompts_))
        return false;
    if (kept.isEmpty())
        field->clear();
    return true;
}

bool TSpecFuncForm::fragmentNumber()
{
    return !fieldRefused(vlink::fragmentNumberRefusal(fragmNum_->text()), fragmNum_, prompts_);
}

void TSpecFuncForm::BtWriteTextClick()
{
    const vui::BusyCursor busy;
    using vlink::SpecNumber;
    if (!numberField(initValue_, SpecNumber::Initial) ||
        !numberField(finishValue_, SpecNumber::Finish) ||
        !numberField(counStep_, SpecNumber::Step) || !numberField(discret_, SpecNumber::Discrete) ||
        !fragmentNumber())
        return;
    takeGroupLetter();
    if (!vlink::RunningNumberForward(line_.port)) {
        prompts_.error(vlink::failureText(PrinterCommand::RunningNumberForward));
        return;
    }
    const QByteArray cell = fragmNum_->text().trimmed().toLatin1();
    const int row = cell[0] - '0';
    const int column = cell[1] - '0';
    if (!vlink::CounterSet(line_.port, row, column,
                           counterValueText(fieldText(initValue_), fieldText(finishValue_)))) {
        prompts_.error(vlink::failureText(PrinterCommand::CounterSet));
        return;
    }
    const vlink::SpecFuncTexts texts{
        groupLetter_,         fieldText(initValue_), fieldText(finishValue_),
        fieldText(counStep_), fieldText(discret_),   cell};
    if (!vlink::SpecFuncWrite(line_.port, texts)) {
        prompts_.error(vlink::failureText(PrinterCommand::SpecFuncWrite));
        return;
    }
    if (vlink::FontSet(line_.port, fontSize_->text().toInt(), row, column))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(PrinterCommand::FontSet));
}

// The group count travels with the counter the printer holds, cut from its script.
void TSpecFuncForm::Button1Click()
{
    const vui::BusyCursor busy;
    if (fieldRefused(vlink::groupCountRefusal(markQuantaty_->text()), markQuantaty_, prompts_))
        return;
    const QString group = markQuantaty_->text().trimmed();
    QByteArray script;
    const ScriptValues values = readScript(script) ? valuesByPosition(script) : ScriptValues{};
    const vlink::SpecFuncTexts texts{group.toLatin1(), values.initial,  values.finish,
                                     values.step,      values.discrete, values.fragment};
    if (vlink::SpecFuncWrite(line_.port, texts))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(PrinterCommand::SpecFuncWrite));
}

void TSpecFuncForm::Button3Click()
{
    if (!fragmentNumber() ||
        !prompts_.question(QStringLiteral("Are you sure?"), QStringLiteral("Question")))
        return;
    const vui::BusyCursor busy;
    takeGroupLetter();
    const QByteArray cell = fragmNum_->text().trimmed().toLatin1();
    if (!vlink::SpecFuncWrite(line_.port, {groupLetter_, {}, {}, {}, {}, cell})) {
        prompts_.error(vlink::failureText(PrinterCommand::SpecFuncWrite));
        return;
    }
    if (vlink::TextFragmentDelete(line_.port, cell[0] - '0', cell[1] - '0'))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(PrinterCommand::TextFragmentDelete));
}

void TSpecFuncForm::fontStep(int step)
{
    int font = fontSize_->text().toInt() + step;
    if (step > 0) {
        const vui::BusyCursor busy;
        refreshFontCount(line_);
        font = qMin(font, int(line_.fontCount) - 1);
    }
    fontSize_->setText(QString::number(qMax(font, 0)));
}

} // namespace vcompose
