#include "shell/port_params.h"

#include "shell/station_settings.h"
#include "ui/named_controls.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

QComboBox *namedCombo(const char *name, const QStringList &items, QWidget *parent)
{
    auto *box = vui::named<QComboBox>(parent, name);
    // Editable, so a name or speed outside the list (e.g. "Com1", "57600") still shows as it is.
    box->setEditable(true);
    box->addItems(items);
    return box;
}

} // namespace

TPortForms::TPortForms(vui::LineState &line, vui::Prompts &prompts, QString settingsPath,
                       QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), line_(line), prompts_(prompts),
      settingsPath_(std::move(settingsPath))
{
    setObjectName(QStringLiteral("PortForms"));
    setWindowTitle(QStringLiteral("Параметры"));
    ComPortNum = namedCombo("ComPortNum", {"com1", "com2", "com3", "com4"}, this);
    SpeedCB = namedCombo("SpeedCB", {"1200", "2400", "4800", "9600", "19200", "38400"}, this);
    BitBtn1 = vui::actionButton(*this, "BitBtn1", QStringLiteral("Сохранить"));
    BitBtn2 = vui::pushButton(this, "BitBtn2", QStringLiteral("Выйти"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Порт"), ComPortNum);
    fields->addRow(QStringLiteral("Скорость"), SpeedCB);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &TPortForms::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TPortForms::showEvent(QShowEvent *event)
{
    ComPortNum->setCurrentText(line_.portName);
    SpeedCB->setCurrentText(line_.speedText);
    QDialog::showEvent(event);
}

void TPortForms::BitBtn1Click()
{
    line_.portName = ComPortNum->currentText();
    line_.speedText = SpeedCB->currentText();
    const QString failure = writePortParams(settingsPath_, line_.portName, line_.speedText);
    if (!failure.isEmpty())
        prompts_.error(failure);
    accept();
}

} // namespace vshell
