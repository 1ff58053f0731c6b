#include "shell/params_form.h"

#include "link/command_table.h"
#include "link/exchange.h"
#include "link/machine_commands.h"
#include "link/param_names.h"
#include "ui/enter_action.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

constexpr int LetterColumn = 3;

} // namespace

TParamsForm::TParamsForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts)
{
    setObjectName(QStringLiteral("ParamsForm"));
    setWindowTitle(QStringLiteral("Parameters"));
    pages_ = vui::named<QStackedWidget>(this, "PageControl1");
    pages_->addWidget(listPage());
    pages_->addWidget(changePage());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    resize(460, 420);
    vui::keepOnScreen(*this);
    showList();
}

QWidget *TParamsForm::listPage()
{
    auto *page = new QWidget;
    ListView2 = vui::named<QTreeWidget>(page, "ListView2");
    ListView2->setColumnCount(4);
    ListView2->setHeaderLabels(
        {QStringLiteral("№ "), QStringLiteral("Params"), QStringLiteral("Value"), QString()});
    ListView2->setColumnHidden(LetterColumn, true);
    ListView2->setRootIsDecorated(false);
    ListView2->setAllColumnsShowFocus(true);
    ListView2->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView2->header()->resizeSection(1, 240);
    connect(ListView2, &QTreeWidget::itemDoubleClicked, this, [this] { Button3Click(); });
    Button3 = vui::pushButton(page, "Button3", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(page, "Button1", QStringLiteral("Cancel"));
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(ListView2);
    layout->addLayout(buttons);
    return page;
}

QWidget *TParamsForm::changePage()
{
    auto *page = new QWidget;
    group_ = vui::named<QGroupBox>(page, "GroupBox1");
    Edit1 = vui::named<QLineEdit>(group_, "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setInputMask(QStringLiteral("999;_"));
    Edit1->setMaximumWidth(80);
    auto *inc = vui::arrowButton(group_, "LogoNumInc", Qt::UpArrow);
    auto *dec = vui::arrowButton(group_, "LogoNumDec", Qt::DownArrow);
    connect(inc, &QToolButton::clicked, this, [this] { LogoNumIncClick(); });
    connect(dec, &QToolButton::clicked, this, [this] { LogoNumDecClick(); });
    auto *row = new QHBoxLayout(group_);
    row->addWidget(Edit1);
    row->addWidget(inc);
    row->addWidget(dec);
    row->addStretch();
    Button2 = vui::pushButton(page, "Button2", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(page, "Button4", QStringLiteral("Cancel"));
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Button4Click(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(group_);
    layout->addStretch();
    layout->addLayout(buttons);
    return page;
}

void TParamsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    buildList();
}

void TParamsForm::showList()
{
    pages_->setCurrentIndex(0);
    vui::setEnterAction(*this, *Button3);
}

void TParamsForm::buildList()
{
    showList();
    ListView2->clear();
    int number = 0;
    for (const vlink::ParamName &p : vlink::ParamNames) {
        quint8 value = 0;
        const bool read = vlink::ParamsRead(line_.port, quint8(p.letter), value);
        auto *item = new QTreeWidgetItem(ListView2);
        item->setText(0, QString::number(++number));
        item->setText(1, QString::fromLatin1(p.name));
        item->setText(2, read ? QString::number(value) : QString());
        item->setText(LetterColumn, QString(QLatin1Char(p.letter)));
        // The list fills visibly while the printer takes its pause between two reads; a click
        // now would start a second reading inside this one.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        vlink::Delay(vlink::ParamPauseMs);
    }
}

void TParamsForm::Button3Click()
{
    const QTreeWidgetItem *row = ListView2->currentItem();
    if (!row || !row->isSelected())
        return;
    pages_->setCurrentIndex(1);
    vui::setEnterAction(*this, *Button2);
    group_->setTitle(row->text(1));
    letter_ = quint8(row->text(LetterColumn).at(0).toLatin1());
    quint8 value = 0;
    if (!vlink::ParamsRead(line_.port, letter_, value)) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::ParamsRead));
        showList();
        return;
    }
    Edit1->setText(QString::number(value).rightJustified(3, u'0'));
    start_ = value;
}

void TParamsForm::step(bool up)
{
    quint8 value = 0;
    const bool ok = up ? vlink::ParamsIncrease(line_.port, letter_, value)
                       : vlink::ParamsDecrease(line_.port, letter_, value);
    if (ok)
        Edit1->setText(QString::number(value).rightJustified(3, u'0'));
}

void TParamsForm::LogoNumIncClick()
{
    step(true);
}

void TParamsForm::LogoNumDecClick()
{
    step(false);
}

void TParamsForm::Button2Click()
{
    buildList();
}

// Every failed step is reported and the list shown as the printer has it; the steps left still
// run, so as much as can be is undone.
void TParamsForm::undo(bool up, int times)
{
    const auto command =
        up ? vlink::PrinterCommand::ParamsIncrease : vlink::PrinterCommand::ParamsDecrease;
    for (int i = 0; i < times; ++i) {
        quint8 value = 0;
        const bool ok = up ? vlink::ParamsIncrease(line_.port, letter_, value)
                           : vlink::ParamsDecrease(line_.port, letter_, value);
        if (!ok) {
            prompts_.error(vlink::failureText(command));
            buildList();
        }
    }
}

void TParamsForm::Button4Click()
{
    const int v = Edit1->text().trimmed().toInt();
    if (v >= start_)
        undo(false, v - start_);
    else
        undo(true, start_ - v);
    buildList();
}

} // namespace vshell
