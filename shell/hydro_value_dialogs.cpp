#include "shell/hydro_value_dialogs.h"

#include "link/hydro_commands.h"
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

const HydroValueSpec Bias{"Hydro1", "PressurePointerBias",          0, 30, "PressurePointerBias1",
                          1,        &vui::HydroValues::pressureBias};
const HydroValueSpec Threshold{
    "Hydro2Form", "Threshold Level Set", 0, 60, "heshold1", 1, &vui::HydroValues::liquidThreshold};
const HydroValueSpec WorkPressure{
    "Hydro3Form", "Dialog", 80, 200, "WorkPressureSet1", 2, &vui::HydroValues::workPressure};

} // namespace

THydroValueDialog::THydroValueDialog(const HydroValueSpec &spec, vui::LineState &line,
                                     vui::HydroValues &hydro, vui::Prompts &prompts,
                                     QWidget *parent)
    : QDialog(parent), spec_(spec), line_(line), hydro_(hydro), prompts_(prompts)
{
    setObjectName(QString::fromLatin1(spec.objectName));
    setWindowTitle(QString::fromLatin1(spec.caption));
    LDiapazon = vui::named<QLabel>(this, "LDiapazon",
                                   QStringLiteral("[%1..%2]").arg(spec.low).arg(spec.high));
    EdValue = vui::named<QLineEdit>(this, "EdValue");
    QPushButton *ok = vui::actionButton(*this, "OKBtn", QStringLiteral("OK"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *field = new QHBoxLayout;
    field->addWidget(LDiapazon);
    field->addWidget(EdValue);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
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
    bool number = false;
    const int value = EdValue->text().trimmed().toInt(&number);
    if (!number)
        prompts_.error(QStringLiteral("Value Convert Error"));
    else if (value < spec_.low)
        prompts_.error(QStringLiteral("Min value=%1").arg(spec_.low));
    else if (value > spec_.high)
        prompts_.error(QStringLiteral("Max value=%1").arg(spec_.high));
    else
        send(value);
    accept();
}

void THydroValueDialog::send(int value)
{
    const vlink::HydroAction &action = vlink::hydroAction(spec_.item);
    bool written = false;
    const QStringList shown =
        vlink::HydroChannelWrite(line_.port, action.channel, quint8(value / spec_.divisor),
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
