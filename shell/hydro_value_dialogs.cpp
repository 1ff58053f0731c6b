#include "shell/hydro_value_dialogs.h"

#include "link/hydro_commands.h"
#include "ui/action_row.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

using vlink::HydroEntered;
const HydroValueSpec Bias{"Hydro1", "PressurePointerBias", HydroEntered::Bias,
                          &vui::HydroValues::pressureBias};
const HydroValueSpec Threshold{"Hydro2Form", "Threshold Level Set", HydroEntered::Threshold,
                               &vui::HydroValues::liquidThreshold};
const HydroValueSpec WorkPressure{"Hydro3Form", "Dialog", HydroEntered::WorkPressure,
                                  &vui::HydroValues::workPressure};

} // namespace

THydroValueDialog::THydroValueDialog(const HydroValueSpec &spec, vui::LineState &line,
                                     vui::HydroValues &hydro, vui::Prompts &prompts,
                                     QWidget *parent)
    : QDialog(parent), spec_(spec), line_(line), hydro_(hydro), prompts_(prompts)
{
    setObjectName(QString::fromLatin1(spec.objectName));
    setWindowTitle(QString::fromLatin1(spec.caption));
    const vlink::HydroSetting &range = vlink::hydroSetting(spec.setting);
    LDiapazon = vui::named<QLabel>(this, "LDiapazon",
                                   QStringLiteral("[%1..%2]").arg(range.low).arg(range.high));
    EdValue = vui::named<QLineEdit>(this, "EdValue");
    QPushButton *ok = vui::actionButton(*this, "OKBtn", QStringLiteral("OK"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *field = new QHBoxLayout;
    field->addWidget(LDiapazon);
    field->addWidget(EdValue);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addWidget(vui::actionRow(ok, cancel, this));
    vui::keepOnScreen(*this);
}

void THydroValueDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    EdValue->setText(QString::number(hydro_.*spec_.remembered));
    EdValue->setFocus();
}

void THydroValueDialog::OKClick()
{
    int value = 0;
    const QString refusal =
        vlink::hydroValueRefusal(vlink::hydroSetting(spec_.setting), EdValue->text(), value);
    if (!refusal.isEmpty())
        prompts_.error(refusal);
    else
        send(value);
    accept();
}

void THydroValueDialog::send(int value)
{
    const vlink::HydroSetting &setting = vlink::hydroSetting(spec_.setting);
    const vlink::HydroAction &action = vlink::hydroAction(setting.action);
    bool written = false;
    const QStringList shown =
        vlink::HydroChannelWrite(line_.port, action.channel, vlink::hydroValueByte(setting, value),
                                 QString::fromLatin1(action.failureText), written);
    // The value is the printer's once the write went through, whatever the close did.
    if (written)
        hydro_.*spec_.remembered = value;
    for (const QString &text : shown)
        prompts_.error(text);
}

THydro1::THydro1(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
                 QWidget *parent)
    : THydroValueDialog(Bias, line, hydro, prompts, parent)
{
}

THydro2Form::THydro2Form(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
                         QWidget *parent)
    : THydroValueDialog(Threshold, line, hydro, prompts, parent)
{
}

THydro3Form::THydro3Form(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
                         QWidget *parent)
    : THydroValueDialog(WorkPressure, line, hydro, prompts, parent)
{
}

} // namespace vshell
