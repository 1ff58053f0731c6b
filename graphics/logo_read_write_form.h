#pragma once

#include "graphics/logo_form_base.h"

namespace vgfx
{

// The printer's logo dialog: loads a bitmap file into the printer's logo memory, or reads a logo
// out of it to show, save, rename or delete.
class TLogoReadWriteForm : public LogoFormBase
{
    Q_OBJECT

public:
    explicit TLogoReadWriteForm(const LogoFormContext &context, QWidget *parent = nullptr);

protected:
    void showStore() override;
    bool readLogo(int number) override;
    void numberArrow(int delta) override;

private:
    void clearClick();
    void renameClick();
    void filterName();

    QPushButton *clear_ = nullptr;
    QPushButton *rename_ = nullptr;
};

} // namespace vgfx
