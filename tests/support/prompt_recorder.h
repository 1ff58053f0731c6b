#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QQueue>
#include <functional>
#include <utility>

// The prompts a test installs: keeps every (text, caption) pair, counts beeps, and answers
// questions and file dialogs from a script. With no script left a question is answered No and a
// file dialog is cancelled.
class PromptRecorder : public vui::Prompts
{
public:
    using Shown = std::pair<QString, QString>; // text, caption
    using ShownList = QList<Shown>;

    void message(const QString &text, const QString &caption) override;
    bool question(const QString &text, const QString &caption) override;
    void beep() override { ++beeps; }
    void tone() override { ++tones; }
    QString openFile(const vui::FileDialogRequest &request) override;
    QStringList openFiles(const vui::FileDialogRequest &request) override;
    QString saveFile(const vui::FileDialogRequest &request) override;
    void openDocument(const QString &path, std::function<void()> notOpened) override;

    // Answers for the next questions, in order.
    void answer(bool yes) { answers_.enqueue(yes); }
    // The files the next file dialog returns; an empty list cancels it.
    void chooseFiles(const QStringList &files) { files_.enqueue(files); }
    // False: no program is found to open a document.
    bool documentOpens = true;
    // Runs on every message box as it is shown, e.g. to act while the box would be up.
    std::function<void(const Shown &)> onMessage;

    void clear();

    ShownList messages;  // message boxes, in order
    ShownList questions; // confirmations, in order
    int beeps = 0;
    int tones = 0;
    QList<vui::FileDialogRequest> fileRequests;

private:
    QStringList nextFiles(const vui::FileDialogRequest &request);

    QQueue<bool> answers_;
    QQueue<QStringList> files_;
};

// The boxes most tests expect: "Ok" and a failure's text.
inline const PromptRecorder::Shown okShown{"Ok", "Information"};
inline PromptRecorder::Shown errorShown(const QString &text)
{
    return {text, QStringLiteral("Error")};
}
