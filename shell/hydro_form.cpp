#include "shell/hydro_form.h"

#include "link/command_table.h"
#include "shell/hydro_value_dialogs.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

using vlink::PrinterCommand;
constexpr int ValueColumn = 2;
constexpr int RefreshMs = 500;

} // namespace

THydroForm::THydroForm(vui::LineState &line, vui::HydroValues &hydro, vui::Prompts &prompts,
                       vui::ModalRunner &modal, QWidget *parent)
    : QDialog(parent), line_(line), hydro_(hydro), prompts_(prompts), modal_(modal)
{
    setObjectName(QStringLiteral("HydroForm"));
    setWindowTitle(QStringLiteral("HydroSystem"));
    ListView2 = vui::named<QTreeWidget>(this, "ListView2");
    ListView2->setHeaderLabels({QStringLiteral("№ "), QStringLiteral("Params"),
                                QStringLiteral("Value"), QStringLiteral("Range")});
    ListView2->setRootIsDecorated(false);
    ListView2->setAllColumnsShowFocus(true);
    ListView2->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView2->header()->resizeSection(1, 220);
    connect(ListView2, &QTreeWidget::itemDoubleClicked, this, [this] { ListView2DblClick(); });
    auto *label = vui::named<QLabel>(this, "Label1", QStringLiteral("UnContiniusRead"));
    Button2 = vui::actionButton(*this, "Button2", QStringLiteral("Start"));
    QPushButton *cancel = vui::pushButton(this, "Button1", QStringLiteral("Cancel"));
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(label);
    bottom->addStretch();
    bottom->addWidget(Button2);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListView2);
    layout->addLayout(bottom);
    resize(520, 430);
    vui::keepOnScreen(*this);
    Timer1.setInterval(RefreshMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

std::optional<vlink::HydroValues> THydroForm::read()
{
    QByteArray text;
    std::optional<vlink::HydroValues> values;
    if (vlink::HydroParamsRead(line_.port, text))
        values = vlink::DecodeHydroText(text);
    if (!values)
        prompts_.error(vlink::failureText(PrinterCommand::HydroParamsRead));
    return values;
}

void THydroForm::closeChannel()
{
    if (!vlink::KeyBoardChanelClose(line_.port))
        prompts_.error(vlink::failureText(PrinterCommand::KeyBoardChanelClose));
}

void THydroForm::FormCreate()
{
    if (!vlink::KeyBoardChanelOpen(line_.port)) {
        prompts_.error(vlink::failureText(PrinterCommand::KeyBoardChanelOpen));
        return;
    }
    if (const std::optional<vlink::HydroValues> values = read()) {
        fillRows(*values);
        remember(*values);
    }
    closeChannel();
}

void THydroForm::fillRows(const vlink::HydroValues &values)
{
    ListView2->clear();
    for (int r = 0; r < vlink::HydroRowCount; ++r) {
        const vlink::HydroRow &row = vlink::hydroRows()[std::size_t(r)];
        auto *item = new QTreeWidgetItem(ListView2);
        item->setText(0, QString::fromLatin1(row.number));
        item->setText(1, QString::fromLatin1(row.name));
        item->setText(ValueColumn, QString::number(values[std::size_t(r)]));
        item->setText(3, QString::fromLatin1(row.range));
    }
}

void THydroForm::updateRows(const vlink::HydroValues &values)
{
    if (ListView2->topLevelItemCount() != vlink::HydroRowCount) {
        fillRows(values);
        return;
    }
    for (int r = 0; r < vlink::HydroRowCount; ++r) {
        QTreeWidgetItem *item = ListView2->topLevelItem(r);
        const QString text = QString::number(values[std::size_t(r)]);
        // Only a changed value is redrawn, so the list does not flicker twice a second.
        if (item->text(ValueColumn) != text)
            item->setText(ValueColumn, text);
    }
}

void THydroForm::remember(const vlink::HydroValues &values)
{
    hydro_.pressureBias = values[vlink::BiasRow];
    hydro_.liquidThreshold = values[vlink::ThresholdRow];
    hydro_.workPressure = values[vlink::WorkPressureRow];
}

void THydroForm::Button2Click()
{
    if (running()) {
        stop();
        return;
    }
    if (!vlink::KeyBoardChanelOpen(line_.port)) {
        prompts_.error(vlink::failureText(PrinterCommand::KeyBoardChanelOpen));
        return;
    }
    refreshAllowed_ = true;
    Timer1.start();
    Button2->setText(QStringLiteral("Stop"));
}

void THydroForm::stop()
{
    Timer1.stop();
    Button2->setText(QStringLiteral("Start"));
    if (refreshing_)
        closeAfterRefresh_ = true;
    else
        closeChannel();
}

void THydroForm::Timer1Timer()
{
    QCoreApplication::processEvents();
    // The panel may have stopped meanwhile, and an earlier refresh may still be waiting.
    if (!running() || !refreshAllowed_)
        return;
    refreshAllowed_ = false;
    refreshing_ = true;
    const std::optional<vlink::HydroValues> values = read();
    refreshing_ = false;
    if (values) {
        updateRows(*values);
        remember(*values);
        refreshAllowed_ = true;
    } else {
        Timer1.stop();
        Button2->setText(QStringLiteral("Start"));
        closeAfterRefresh_ = true;
    }
    if (closeAfterRefresh_) {
        closeAfterRefresh_ = false;
        closeChannel();
    }
}

void THydroForm::done(int result)
{
    if (running())
        stop();
    QDialog::done(result);
}

void THydroForm::ListView2DblClick()
{
    QTreeWidgetItem *item = ListView2->currentItem();
    if (!item || !item->isSelected())
        return;
    if (running())
        stop();
    openDialog(ListView2->indexOfTopLevelItem(item));
}

void THydroForm::openDialog(int row)
{
    QTreeWidgetItem *item = ListView2->topLevelItem(row);
    const int shown = item->text(ValueColumn).toInt();
    int vui::HydroValues::*field = nullptr;
    std::unique_ptr<THydroValueDialog> dialog;
    if (row == vlink::BiasRow) {
        field = &vui::HydroValues::pressureBias;
        dialog = std::make_unique<THydro1>(line_, hydro_, prompts_, this);
    } else if (row == vlink::ThresholdRow) {
        field = &vui::HydroValues::liquidThreshold;
        dialog = std::make_unique<THydro2Form>(line_, hydro_, prompts_, this);
    } else if (row == vlink::WorkPressureRow) {
        field = &vui::HydroValues::workPressure;
        dialog = std::make_unique<THydro3Form>(line_, hydro_, prompts_, this);
    } else {
        return;
    }
    hydro_.*field = shown;
    modal_.exec(*dialog);
    item->setText(ValueColumn, QString::number(hydro_.*field));
}

} // namespace vshell
