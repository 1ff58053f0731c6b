#include "graphics/logo_names_list_form.h"

#include "graphics/model/logo_store.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vgfx
{

TLogoNamesListForm::TLogoNamesListForm(const LogoFormContext &context, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TLogoNamesListForm"));
    setWindowTitle(QStringLiteral("LogoNamesList"));
    list_ = vui::named<QTreeWidget>(this, "ListView");
    list_->setHeaderLabels(
        {QStringLiteral("№ "), QStringLiteral("Number"), QStringLiteral("Name")});
    list_->setRootIsDecorated(false);
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto *main = new QVBoxLayout(this);
    main->addWidget(list_, 1);
    main->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    const vui::BusyCursor busy;
    fill(context);
}

void TLogoNamesListForm::fill(const LogoFormContext &context)
{
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!readLogoNames(context.line.port, LogoStore::Printer, names, &result)) {
        // Nothing of a list that failed or is too long to show is kept.
        context.logos.names.clear();
        context.prompts.error(vlink::namesFailureText(result));
        return;
    }
    context.logos.names = names;
    int row = 0;
    for (const vlink::LogoName &entry : names) {
        auto *item = new QTreeWidgetItem(list_);
        item->setText(0, QString::number(++row));
        item->setText(1, QString::number(entry.number));
        item->setText(2, context.codePage.decode(entry.name));
    }
}

} // namespace vgfx
