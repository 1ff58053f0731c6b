#pragma once

#include "link/names_list.h"

#include <QDialog>
#include <QPointer>

class QProgressBar;

namespace vgfx
{

class TShowAllLogoListForm;

// "LogosListReading": lists the names list in the library window, one entry at a time with a
// progress bar, then asks the main window for the library and closes.
class TLogoViewForm : public QDialog
{
    Q_OBJECT

public:
    // The library may be absent: it then lists the names itself when it opens.
    TLogoViewForm(const vlink::LogoNames &names, TShowAllLogoListForm *library, QObject *mainWindow,
                  QWidget *parent = nullptr);

    // The entries it put into the library's list, in list order.
    int listed() const { return listed_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void activate();
    void listAll();

    vlink::LogoNames names_;
    QPointer<TShowAllLogoListForm> library_;
    QPointer<QObject> mainWindow_;
    QProgressBar *progress_ = nullptr;
    int listed_ = 0;
};

} // namespace vgfx
