#include "ui/up_down_box.h"

#include "link/depot_commands.h"
#include "ui/named_controls.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vui
{

QString bankBoxStep(const QString &text, int delta)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("0");
    return QString::number(std::clamp(trimmed.toInt() + delta, 0, vlink::DepotBanks - 1));
}

namespace
{

// Small and flat, so that the two arrows stack beside the field.
QToolButton *smallArrow(QWidget *parent, const QString &name, Qt::ArrowType direction)
{
    QToolButton *button = vui::arrowButton(parent, name, direction);
    button->setAutoRaise(true);
    button->setFixedSize(18, 12);
    return button;
}

} // namespace

UpDownBox::UpDownBox(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    edit_ = vui::named<QLineEdit>(this, name + QStringLiteral("Edit"));
    // Five digits are more than any store holds and few enough never to overflow an int.
    edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\s*\\d{0,5}\\s*")), edit_));
    edit_->setMaximumWidth(64);
    up_ = smallArrow(this, name + QStringLiteral("Up"), Qt::UpArrow);
    down_ = smallArrow(this, name + QStringLiteral("Down"), Qt::DownArrow);

    auto *arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addLayout(arrows);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);

    connect(up_, &QToolButton::clicked, this, [this] { emit arrow(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit arrow(-1); });
}

QString UpDownBox::text() const
{
    return edit_->text();
}

void UpDownBox::setText(const QString &text)
{
    edit_->setText(text);
}

void UpDownBox::setNumber(int number)
{
    edit_->setText(QString::number(number));
}

std::optional<int> UpDownBox::number() const
{
    bool ok = false;
    const int value = edit_->text().trimmed().toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

} // namespace vui
