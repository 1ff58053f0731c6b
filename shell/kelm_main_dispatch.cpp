#include "shell/kelm_main.h"

#include "link/printer_select.h"
#include "shell/logo_files.h"
#include "shell/station_settings.h"
#include "ui/busy_cursor.h"

#include <QCloseEvent>

namespace vshell
{

bool TAutoControl::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && state_.firstInstance && !closed_)
        port_.activated();
    if (const std::optional<vui::Message> message = vui::messageOf(event->type())) {
        const vui::BusyCursor busy;
        handlers_.guarded([this, m = *message] { dispatch(m); });
    }
    return QMainWindow::event(event);
}

// The messages the main window acts on, in the order it compares them; the first match runs, in
// the workflow whose message it is. Those whose windows are not built yet are listed in their
// place and do nothing until then.
void TAutoControl::dispatch(vui::Message message)
{
    using M = vui::Message;
    static constexpr M order[] = {
        M::LogoListRequest,      M::ShowStamp,       M::ReadError,        M::CloseShowStamp,
        M::LogoReadOK,           M::MultiLoadOK,     M::MultiLoadClose,   M::DPMultiLoadOK,
        M::LogoReadOKSmallnotDP, M::LogoReadOKSmall, M::DPFormClose,      M::DPImageCompressOK,
        M::ImageCompressOK,      M::ImageNotLoadOK,  M::DPImageNotLoadOK, M::ReadClpBoard_,
    };
    for (M m : order) {
        if (m != message)
            continue;
        if (m == M::ReadError) {
            // An editor could not read or write its cell: the station ends, through its close
            // steps.
            close();
            return;
        }
        for (Workflow *workflow : workflows())
            if (workflow->dispatch(m))
                return;
        return;
    }
    // "SendToPrinter", "PrinterFound" and the messages nobody sends: default handling only.
}

void TAutoControl::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (!state_.firstInstance || closed_)
        return;
    closed_ = true;
    closeSteps();
    if (env_.endApplication)
        env_.endApplication();
}

void TAutoControl::closeSteps()
{
    const QString failure = writeComInteger(env_.settingsPath, state_.line.currentPort);
    if (!failure.isEmpty())
        gate_.error(failure);
    lock_.release();
    deleteLogoFiles(env_.workDir);
    // The line's RTS pulse tells the printers the station is gone.
    if (state_.line.portOpen)
        vlink::RtsPulse(state_.line.port);
}

} // namespace vshell
