#include "support/station_parts.h"

StationParts::StationParts(vlink::Port &port, vui::Prompts &prompts, QObject *mainWindow)
    : state(port, logo), prompts_(prompts), mainWindow_(mainWindow)
{
}

vgfx::LogoFormContext StationParts::logoContext()
{
    return {line, logos, prompts_, vlink::CodePage(), mainWindow_, {}};
}

vshell::LogoFlow StationParts::logoFlow(vui::ModalRunner &modal, const QString &workDir)
{
    return vshell::LogoFlow(logoContext(), modal, nullptr, workDir);
}

std::unique_ptr<vcompose::TOKHelpRightDlg> StationParts::textEditor()
{
    return std::make_unique<vcompose::TOKHelpRightDlg>(line, mark, prompts_, vlink::CodePage(),
                                                       mainWindow_);
}
