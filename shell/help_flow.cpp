#include "shell/help_flow.h"

#include "shell/help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vshell
{

HelpFlow::HelpFlow(QWidget &mainWindow, vui::Prompts &prompts, vui::ModalRunner &modal,
                   QString workDir)
    : mainWindow_(mainWindow), prompts_(prompts), modal_(modal), workDir_(std::move(workDir))
{
}

void HelpFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.HelpItem, [this] { HelpItemClick(); });
    on.on(c.About1, [this] { About1Click(); });
    on.on(c.FileOpen1, [this] { FileOpen1Click(); });
    // "Save" and "Save As" have nothing to save.
}

void HelpFlow::createWindows()
{
    aboutBox_ = new TAboutBox(&mainWindow_);
}

void HelpFlow::FileOpen1Click()
{
    vui::FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.directory = workDir_;
    request.filter = QStringLiteral("All Files (*)");
    prompts_.openFile(request);
}

void HelpFlow::HelpItemClick()
{
    const QString path = helpPagePath(workDir_, QCoreApplication::applicationDirPath(),
                                      [](const QString &file) { return QFileInfo(file).isFile(); });
    // The viewer may give up after this handler has returned, even after the window is gone.
    prompts_.openDocument(path, [window = QPointer<QWidget>(&mainWindow_), this, path] {
        if (window)
            prompts_.error(QStringLiteral("No program was found to open %1").arg(path));
    });
}

void HelpFlow::About1Click()
{
    if (aboutBox_)
        modal_.exec(*aboutBox_);
}

} // namespace vshell
