#pragma once

#include "graphics/logo_form_base.h"

namespace vgfx
{

class DepotBankBox;

// The Depot unit's logo dialog: loads a bitmap file into the current bank, or reads a logo out
// of it to show or save; sets the bank. Opened in rename mode it writes the logo again under its
// new name at once.
class TDPLogoReadWriteForm : public LogoFormBase
{
    Q_OBJECT

public:
    explicit TDPLogoReadWriteForm(const LogoFormContext &context, QWidget *parent = nullptr);

protected:
    void showStore() override;
    void afterShow() override;
    bool asksToReopen() const override { return !renameNumber_; }
    void loadWritten() override;
    QString loadFailureText() const override;
    bool readLogo(int number) override;

private:
    DepotBankBox *bank_ = nullptr;
    // Set when this opening writes that logo again under its new name.
    std::optional<int> renameNumber_;
};

} // namespace vgfx
