#include "shell/station_application.h"

#include "link/port.h"
#include "shell/kelm_main.h"

#include <QMessageBox>

namespace vshell
{

StationApplication::StationApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(ApplicationTitle);
    setApplicationDisplayName(ApplicationTitle);
}

bool StationApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const vlink::ExCom &e) {
        report(QString::fromStdString(e.what()));
    } catch (const std::exception &e) {
        report(QString::fromStdString(e.what()));
    }
    return false;
}

void StationApplication::report(const QString &text)
{
    if (reporter_) {
        reporter_(text);
        return;
    }
    QMessageBox::critical(activeWindow(), ApplicationTitle, text);
}

} // namespace vshell
