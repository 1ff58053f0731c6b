#pragma once

#include "ui/prompts.h"

#include <QPointer>
#include <QWidget>

namespace vui
{

// The prompts as the operator sees them: QMessageBox, QFileDialog, QApplication::beep().
class QtPrompts : public Prompts
{
public:
    // Boxes open over parent, or over the active window while there is no parent.
    explicit QtPrompts(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    void message(const QString &text, const QString &caption) override;
    bool question(const QString &text, const QString &caption) override;
    void beep() override;
    void tone() override;
    QString openFile(const FileDialogRequest &request) override;
    QStringList openFiles(const FileDialogRequest &request) override;
    QString saveFile(const FileDialogRequest &request) override;
    void openDocument(const QString &path, std::function<void()> notOpened) override;

private:
    QWidget *parentWidget() const;

    QPointer<QWidget> parent_;
};

} // namespace vui
