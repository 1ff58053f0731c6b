#include "shell/about_box.h"

#include "shell/pictures.h"
#include "ui/named_controls.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vshell
{

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    auto *picture = new QLabel(this);
    picture->setPixmap(programPicture(64));
    auto *text = vui::named<QLabel>(this, "ProductName");
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral(
        "<b>VuvaZuvevov</b><br>Version 0.1<br><br>Control station for continuous-inkjet "
        "marking printers and the Depot storage unit.<br>Marks, logos, clock, print options "
        "and printing parameters over one serial line.<br><br>Help: help.html in the working "
        "folder (F7)."));
    text->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto *buttons = vui::named<QDialogButtonBox>(this, "OKButton", QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedWidth(380);
}

} // namespace vshell
