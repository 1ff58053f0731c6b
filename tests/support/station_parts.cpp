#include "support/station_parts.h"

vgfx::LogoFormContext logoContext(vui::StationState &state, vui::Prompts &prompts,
                                  QObject *mainWindow)
{
    return {state.line, state.logos, prompts, vlink::CodePage(), mainWindow, {}};
}

std::unique_ptr<vcompose::TOKHelpRightDlg>
textEditor(vui::StationState &state, vui::Prompts &prompts, QObject *mainWindow, QWidget *parent)
{
    return std::make_unique<vcompose::TOKHelpRightDlg>(state.line, state.mark, prompts,
                                                       vlink::CodePage(), mainWindow, parent);
}

StationParts::StationParts(vlink::Port &port, vui::Prompts &prompts, QObject *mainWindow)
    : state(port, logo), prompts_(prompts), mainWindow_(mainWindow)
{
}

vshell::LogoFlow StationParts::logoFlow(vui::ModalRunner &modal, const QString &workDir)
{
    return vshell::LogoFlow(logoContext(), modal, nullptr, workDir);
}
