#include "graphics/expand_rect_form.h"

#include "ui/action_row.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

namespace vgfx
{

TExpandRectForm::TExpandRectForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TExpandRectForm"));
    setWindowTitle(QStringLiteral("Expand"));
    horizontal_ = vui::named<QLineEdit>(this, "Horizontal", QStringLiteral("100"));
    vertical_ = vui::named<QLineEdit>(this, "Vertical", QStringLiteral("100"));
    for (QLineEdit *field : {horizontal_, vertical_})
        field->setValidator(new QIntValidator(0, 10000, field));
    auto *ok = vui::actionButton(*this, "BtOk", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Horizontal"), horizontal_);
    form->addRow(QStringLiteral("Vertical"), vertical_);
    form->addRow(vui::actionRow(ok, cancel, this));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    vui::keepOnScreen(*this);
}

int TExpandRectForm::horizontal() const
{
    return horizontal_->text().toInt();
}

int TExpandRectForm::vertical() const
{
    return vertical_->text().toInt();
}

} // namespace vgfx
