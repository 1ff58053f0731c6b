#include "support/prompt_recorder.h"

void PromptRecorder::message(const QString &text, const QString &caption)
{
    messages.append({text, caption});
    if (onMessage)
        onMessage(messages.last());
}

bool PromptRecorder::question(const QString &text, const QString &caption)
{
    questions.append({text, caption});
    return !answers_.isEmpty() && answers_.dequeue();
}

QStringList PromptRecorder::nextFiles(const vui::FileDialogRequest &request)
{
    fileRequests.append(request);
    return files_.isEmpty() ? QStringList() : files_.dequeue();
}

QString PromptRecorder::openFile(const vui::FileDialogRequest &request)
{
    const QStringList files = nextFiles(request);
    return files.isEmpty() ? QString() : files.first();
}

QStringList PromptRecorder::openFiles(const vui::FileDialogRequest &request)
{
    return nextFiles(request);
}

QString PromptRecorder::saveFile(const vui::FileDialogRequest &request)
{
    const QStringList files = nextFiles(request);
    return files.isEmpty() ? QString() : files.first();
}

void PromptRecorder::openDocument(const QString &, std::function<void()> notOpened)
{
    if (!documentOpens)
        notOpened();
}

void PromptRecorder::clear()
{
    messages.clear();
    questions.clear();
    beeps = 0;
    tones = 0;
    fileRequests.clear();
    answers_.clear();
    files_.clear();
}
