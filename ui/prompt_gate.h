#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QObject>
#include <functional>

namespace vui
{

// Every prompt of the main window and its dialogs passes here on its way to the operator.
// A box that runs its own event loop from inside a menu's aboutToShow crashes Qt's menu code once
// the popup it belonged to is gone, so while a menu opens the boxes, beeps and tones are held and
// shown, in order, once control is back in the event loop; Qt closes the menus as a box opens.
// Whatever is shown gets the normal cursor, also in the middle of a busy exchange.
class PromptGate : public Prompts
{
public:
    explicit PromptGate(Prompts &shown) : shown_(shown) {}

    // Holds from construction to destruction; holds nest, the outermost one releases.
    class Hold
    {
    public:
        explicit Hold(PromptGate &gate) : gate_(gate) { ++gate_.holds_; }
        ~Hold() { gate_.release(); }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        PromptGate &gate_;
    };

    bool holding() const { return holds_ > 0; }
    // Runs step once what is held has been shown; at once when nothing is held.
    void then(std::function<void()> step);

    void message(const QString &text, const QString &caption) override;
    // No menu opening asks anything: a question, a file dialog or a document goes out at once.
    bool question(const QString &text, const QString &caption) override;
    void beep() override;
    void tone() override;
    QString openFile(const FileDialogRequest &request) override;
    QStringList openFiles(const FileDialogRequest &request) override;
    QString saveFile(const FileDialogRequest &request) override;
    void openDocument(const QString &path, std::function<void()> notOpened) override;

private:
    void release();
    void showHeld();

    Prompts &shown_;
    int holds_ = 0;
    QList<std::function<void()>> held_;
    // The queued showing dies with the gate.
    QObject context_;
};

} // namespace vui
