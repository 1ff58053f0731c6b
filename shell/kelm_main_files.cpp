#include "shell/kelm_main.h"

#include "shell/about_box.h"
#include "shell/port_params.h"

#include <QDir>

namespace vshell
{

// "Open" asks for a file and keeps nothing: the station has no document of its own.
void TAutoControl::FileOpen1Click()
{
    vui::FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.directory = env_.workDir;
    request.filter = QStringLiteral("All Files (*)");
    prompts_.openFile(request);
}

void TAutoControl::HelpItemClick()
{
    const QString path = QDir(env_.workDir).filePath(QStringLiteral("help.html"));
    // The viewer may give up after this handler has returned.
    prompts_.openDocument(path, [window = QPointer<TAutoControl>(this), path] {
        if (window)
            window->prompts_.error(QStringLiteral("No program was found to open %1").arg(path));
    });
}

void TAutoControl::About1Click()
{
    if (aboutBox_)
        modal_.exec(*aboutBox_);
}

void TAutoControl::EditCut1Click()
{
    if (portForms_)
        modal_.show(*portForms_);
}

} // namespace vshell
