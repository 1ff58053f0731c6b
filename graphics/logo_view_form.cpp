#include "graphics/logo_view_form.h"

#include "graphics/show_all_logo_list_form.h"
#include "ui/messages.h"
#include "ui/named_controls.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vgfx
{

TLogoViewForm::TLogoViewForm(const vlink::LogoNames &names, TShowAllLogoListForm *library,
                             QObject *mainWindow, QWidget *parent)
    : QDialog(parent), names_(names), library_(library), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("TLogoViewForm"));
    setWindowTitle(QStringLiteral("LogosListReading"));
    progress_ = vui::named<QProgressBar>(this, "ProgressBar");
    auto *main = new QVBoxLayout(this);
    main->addWidget(progress_);
}

void TLogoViewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The listing lets the window repaint, which needs exec()'s loop running: a close before it
    // starts would leave the loop waiting.
    QMetaObject::invokeMethod(this, &TLogoViewForm::activate, Qt::QueuedConnection);
}

void TLogoViewForm::activate()
{
    listAll();
    accept();
    vui::postMessage(mainWindow_, vui::Message::LogoListRequest);
}

void TLogoViewForm::listAll()
{
    progress_->setRange(0, int(names_.size()));
    progress_->setValue(0);
    if (library_)
        library_->clearRows();
    listed_ = 0;
    for (const vlink::LogoName &entry : names_) {
        // A number no store can hold is not a logo of the list.
        if (entry.number < 0 || entry.number > 255)
            continue;
        if (library_)
            library_->addRow(entry);
        progress_->setValue(++listed_);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (library_)
        library_->update();
}

} // namespace vgfx
