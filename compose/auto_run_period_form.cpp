#include "compose/auto_run_period_form.h"

#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_field_checks.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vcompose
{

namespace
{

// Where the time parameters carry the period and the two bytes of A x L (high, low).
constexpr int PeriodByte = 10;
constexpr int AxLHighByte = 11;
constexpr int AxLLowByte = 12;

} // namespace

TAutoRunPeriodForm::TAutoRunPeriodForm(vui::LineState &line, vui::Prompts &prompts,
                                       AutoRunStopper stop, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts), stop_(std::move(stop))
{
    setObjectName(QStringLiteral("TAutoRunPeriodForm"));
    setWindowTitle(QStringLiteral("AutoRunPeriod"));
    buildLayout();
}

void TAutoRunPeriodForm::buildLayout()
{
    auto *group = vui::named<QGroupBox>(this, "GroupBox1", QStringLiteral("AutoRunPeriod Set"));
    markNum_ = vui::named<QLineEdit>(group, "MarkNum");
    al_ = vui::named<QLineEdit>(group, "AL");
    al_->setReadOnly(true);
    auto *grid = new QGridLayout(group);
    addFieldRow(*grid, 0, QString::fromLatin1(vlink::AutoRunPeriodLabel), markNum_);
    addFieldRow(*grid, 1, QStringLiteral("A x L="), al_);
    QPushButton *ok = vui::actionButton(*this, "BtOk", QStringLiteral("Ok"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(vui::actionRow(ok, cancel, this));
    connect(ok, &QPushButton::clicked, this, &TAutoRunPeriodForm::BtOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TAutoRunPeriodForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TAutoRunPeriodForm::FormActivate()
{
    const vui::BusyCursor busy;
    if (stopAutoRun())
        readPeriod();
}

bool TAutoRunPeriodForm::stopAutoRun()
{
    if (stop_(line_.port))
        return true;
    prompts_.error(vlink::failureText(vlink::PrinterCommand::AutoRunStop));
    return false;
}

// After a failed read both fields stay empty: the station shows no value it did not read.
void TAutoRunPeriodForm::readPeriod()
{
    markNum_->clear();
    al_->clear();
    vlink::TimeParams params = line_.timeParams;
    if (!vlink::TimeParamsRead(line_.port, params)) {
        prompts_.error(QStringLiteral("AutoRunPeriod Read Error"));
        return;
    }
    line_.timeParams = params;
    markNum_->setText(QString::number(params[PeriodByte]));
    al_->setText(QString::number(params[AxLHighByte] * 256 + params[AxLLowByte]));
}

void TAutoRunPeriodForm::BtOkClick()
{
    const vui::BusyCursor busy;
    QByteArray period;
    if (fieldRefused(vlink::autoRunPeriodRefusal(markNum_->text(), period), markNum_, prompts_))
        return;
    if (!stopAutoRun())
        return;
    if (!vlink::AutoRunPeriodSet(line_.port, period)) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::AutoRunPeriodSet));
        return;
    }
    readPeriod();
    prompts_.ok();
}

} // namespace vcompose
