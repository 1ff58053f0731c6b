#include "compose/small_dialog_parts.h"

#include "link/machine_commands.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace vcompose
{

QLineEdit *readOnlyNumber(QWidget *parent, const char *name, const QString &value)
{
    auto *edit = vui::named<QLineEdit>(parent, name, value);
    edit->setReadOnly(true);
    edit->setMaximumWidth(48);
    return edit;
}

void addFieldRow(QGridLayout &grid, int row, const QString &label, QLineEdit *field,
                 const char *arrows)
{
    QWidget *parent = field->parentWidget();
    grid.addWidget(new QLabel(label, parent), row, 0);
    grid.addWidget(field, row, 1);
    if (!arrows)
        return;
    const QString base = QString::fromLatin1(arrows);
    grid.addWidget(vui::arrowButton(parent, base + QStringLiteral("Up"), Qt::UpArrow), row, 2);
    grid.addWidget(vui::arrowButton(parent, base + QStringLiteral("Down"), Qt::DownArrow), row, 3);
}

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString blanksRemoved(QString text)
{
    return text.remove(QLatin1Char(' '));
}

bool fieldRefused(const vlink::FieldRefusal &refusal, QLineEdit *field, vui::Prompts &prompts)
{
    if (!refusal.refused())
        return false;
    if (refusal.shown)
        prompts.error(refusal.text);
    if (refusal.beeps)
        prompts.beep();
    if (field)
        field->setFocus();
    return true;
}

} // namespace vcompose
