#include "shell/job_logos_form.h"

#include "ui/action_row.h"
#include "ui/named_controls.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vshell
{

TJobLogosForm::TJobLogosForm(const QList<int> &cells, const vlink::LogoNames &names,
                             QWidget *parent)
    : QDialog(parent), cells_(cells)
{
    setObjectName(QStringLiteral("JobLogosForm"));
    setWindowTitle(QStringLiteral("Job Logos"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Which logo does each graphic cell place?"), this));
    // A mark of graphics only has 32 rows, more than a small screen holds.
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *rows = new QWidget(scroll);
    auto *form = new QFormLayout(rows);
    for (const int index : cells) {
        auto *choice = new QComboBox(rows);
        choice->setObjectName(QStringLiteral("Cell%1").arg(index));
        for (const vlink::LogoName &n : names)
            choice->addItem(
                QStringLiteral("%1 %2").arg(n.number).arg(QString::fromLatin1(n.name).trimmed()),
                n.number);
        choice->addItem(QStringLiteral("unknown"), -1);
        const int row = index / vjob::Columns + 1;
        const int column = index % vjob::Columns + 1;
        form->addRow(QStringLiteral("Cell %1").arg(vjob::cellName(row, column)), choice);
        choices_.append(choice);
    }
    scroll->setWidget(rows);
    scroll->setMinimumWidth(rows->sizeHint().width() + 24);
    layout->addWidget(scroll);
    QPushButton *ok = vui::actionButton(*this, "OKBtn", QStringLiteral("Save"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(vui::actionRow(ok, cancel, this));
}

vjob::CellLogos TJobLogosForm::logos() const
{
    vjob::CellLogos out;
    for (int i = 0; i < cells_.size(); ++i)
        if (const int logo = choices_[i]->currentData().toInt(); logo >= 0)
            out[cells_[i]] = logo;
    return out;
}

} // namespace vshell
