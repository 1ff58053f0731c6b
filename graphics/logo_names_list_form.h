#pragma once

#include "graphics/logo_form_base.h"

#include <QDialog>

class QTreeWidget;

namespace vgfx
{

// "LogoNamesList": the printer's names list, read when the window is made.
class TLogoNamesListForm : public QDialog
{
    Q_OBJECT

public:
    explicit TLogoNamesListForm(const LogoFormContext &context, QWidget *parent = nullptr);

private:
    void fill(const LogoFormContext &context);

    QTreeWidget *list_ = nullptr;
};

} // namespace vgfx
