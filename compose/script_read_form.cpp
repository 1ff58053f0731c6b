#include "compose/script_read_form.h"

#include "link/mark_commands.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vcompose
{

TScriptReadForm::TScriptReadForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts)
{
    setObjectName(QStringLiteral("TScriptReadForm"));
    setWindowTitle(QStringLiteral("ScriptRead"));
    fragText_ = vui::named<QLineEdit>(this, "FragText");
    fragText_->setReadOnly(true);
    fragText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fragText_->setMinimumWidth(fragText_->fontMetrics().horizontalAdvance(QString(36, 'W')));
    QPushButton *read = vui::actionButton(*this, "BtWriteText", QStringLiteral("Read"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Script"), this));
    layout->addWidget(fragText_);
    layout->addWidget(vui::actionRow(read, cancel, this));
    connect(read, &QPushButton::clicked, this, [this] {
        const vui::BusyCursor busy;
        readScript();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TScriptReadForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const vui::BusyCursor busy;
    if (!readScript())
        prompts_.error(QStringLiteral("Read Error"));
}

bool TScriptReadForm::readScript()
{
    QByteArray script;
    const bool ok = vlink::ScriptRead(line_.port, script);
    fragText_->setText(QString::fromLatin1(script));
    return ok;
}

} // namespace vcompose
