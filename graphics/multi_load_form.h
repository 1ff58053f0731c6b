#pragma once

#include "graphics/logo_form_base.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QProgressBar;

namespace vui
{
class UpDownBox;
}

namespace vgfx
{

// The logo name a file gives in a multiple-file load: its file name up to the first ".".
QString logoNameOfFile(const QString &path);

// Writes several bitmap files under consecutive numbers to the current logo store (the Depot
// while the Depot target flag is set), stopping at the first failure.
class TMultiLoadForm : public QDialog
{
    Q_OBJECT

public:
    TMultiLoadForm(const LogoFormContext &context, QStringList files, QWidget *parent = nullptr);

private:
    void loadClick();
    bool loadFile(LogoStore store, int number, const QString &path);
    void stepFirst(int delta);
    LogoStore currentStore() const;

    vui::LineState &line_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    vlink::CodePage codePage_;
    QStringList files_;
    vui::UpDownBox *first_ = nullptr;
    QProgressBar *progress_ = nullptr;
};

} // namespace vgfx
