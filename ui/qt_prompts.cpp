#include "ui/qt_prompts.h"

#include "ui/file_accept_proxy.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace vui
{

QWidget *QtPrompts::parentWidget() const
{
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

void QtPrompts::message(const QString &text, const QString &caption)
{
    const QMessageBox::Icon icon =
        caption == CaptionError ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parentWidget());
    box.exec();
}

bool QtPrompts::question(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parentWidget());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::beep()
{
    QApplication::beep();
}

void QtPrompts::tone()
{
    QApplication::beep();
}

namespace
{

QStringList runFileDialog(QWidget *parent, const FileDialogRequest &request,
                          QFileDialog::FileMode mode)
{
    QFileDialog dialog(parent, request.caption, request.directory, request.filter);
    dialog.setFileMode(mode);
    if (mode == QFileDialog::AnyFile)
        dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (request.accept) {
        // Only Qt's own dialog lets a model decide which files are listed.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setProxyModel(new FileAcceptProxy(request.accept, &dialog));
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace

QString QtPrompts::openFile(const FileDialogRequest &request)
{
    const QStringList files = runFileDialog(parentWidget(), request, QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.first();
}

QStringList QtPrompts::openFiles(const FileDialogRequest &request)
{
    return runFileDialog(parentWidget(), request, QFileDialog::ExistingFiles);
}

QString QtPrompts::saveFile(const FileDialogRequest &request)
{
    const QStringList files = runFileDialog(parentWidget(), request, QFileDialog::AnyFile);
    return files.isEmpty() ? QString() : files.first();
}

// xdg-open finds the viewer and may run for as long as the viewer does, so it is watched, not
// waited for. Where it is missing, Qt looks for a browser of its own.
void QtPrompts::openDocument(const QString &path, std::function<void()> notOpened)
{
    constexpr int NoProgramForThisFile = 3; // xdg-open: "no method available"
    auto *launcher = new QProcess(QCoreApplication::instance());
    QObject::connect(launcher, &QProcess::finished, launcher,
                     [launcher, notOpened](int code, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && code == NoProgramForThisFile)
                             notOpened();
                         launcher->deleteLater();
                     });
    QObject::connect(launcher, &QProcess::errorOccurred, launcher,
                     [launcher, path, notOpened](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
                             notOpened();
                         launcher->deleteLater();
                     });
    launcher->start(QStringLiteral("xdg-open"), {path});
}

} // namespace vui
