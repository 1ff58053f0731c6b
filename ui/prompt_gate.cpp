#include "ui/prompt_gate.h"

#include "ui/busy_cursor.h"

#include <utility>

namespace vui
{

void PromptGate::then(std::function<void()> step)
{
    // Behind what still waits to be shown, so the operator sees everything in order.
    if (holding() || !held_.isEmpty())
        held_.append(std::move(step));
    else
        step();
}

void PromptGate::release()
{
    if (--holds_ > 0 || held_.isEmpty())
        return;
    QMetaObject::invokeMethod(
        &context_, [this] { showHeld(); }, Qt::QueuedConnection);
}

void PromptGate::showHeld()
{
    if (holding())
        return; // a new hold began meanwhile; its release shows everything
    for (const std::function<void()> &step : std::exchange(held_, {}))
        step();
}

void PromptGate::message(const QString &text, const QString &caption)
{
    then([this, text, caption] {
        const NormalCursor normal;
        shown_.message(text, caption);
    });
}

bool PromptGate::question(const QString &text, const QString &caption)
{
    const NormalCursor normal;
    return shown_.question(text, caption);
}

void PromptGate::beep()
{
    then([this] { shown_.beep(); });
}

void PromptGate::tone()
{
    then([this] { shown_.tone(); });
}

QString PromptGate::openFile(const FileDialogRequest &request)
{
    const NormalCursor normal;
    return shown_.openFile(request);
}

QStringList PromptGate::openFiles(const FileDialogRequest &request)
{
    const NormalCursor normal;
    return shown_.openFiles(request);
}

QString PromptGate::saveFile(const FileDialogRequest &request)
{
    const NormalCursor normal;
    return shown_.saveFile(request);
}

void PromptGate::openDocument(const QString &path, std::function<void()> notOpened)
{
    shown_.openDocument(path, std::move(notOpened));
}

} // namespace vui
