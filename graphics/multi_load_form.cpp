#include "graphics/multi_load_form.h"
#include "graphics/model/logo_copy.h"

#include "graphics/model/logo_bmp.h"
#include "link/depot_commands.h"
#include "link/exchange.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"
#include "ui/repaint_now.h"
#include "ui/up_down_box.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vgfx
{

namespace
{

// The arrows of the first number stop at the Depot's last logo, whichever store is loaded.
constexpr int LastArrowNumber = vlink::DepotLogos - 1;

const QString LogoWriteError = QStringLiteral("Logo Write Error");

// The first number past the end of a store.
int storeEnd(LogoStore store)
{
    return maxLogoNumber(store) + 1;
}

} // namespace

QString logoNameOfFile(const QString &path)
{
    return QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0);
}

TMultiLoadForm::TMultiLoadForm(const LogoFormContext &context, QStringList files, QWidget *parent)
    : QDialog(parent), line_(context.line), logos_(context.logos), prompts_(context.prompts),
      codePage_(context.codePage), files_(std::move(files))
{
    setObjectName(QStringLiteral("TMultiLoadForm"));
    setWindowTitle(QStringLiteral("MultiLogoLoad"));

    auto *selected = vui::named<QLabel>(
        this, "LSelected", QStringLiteral("Selected Image Quantaty : %1").arg(files_.size()));
    first_ = new vui::UpDownBox(QStringLiteral("FirstLogoNum"), this);
    first_->setNumber(0);
    auto *load = vui::actionButton(*this, "BtLoad", QStringLiteral("Load"));
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    progress_ = vui::named<QProgressBar>(this, "ProgressBar");
    progress_->hide();

    auto *number = new QHBoxLayout;
    number->addWidget(new QLabel(QStringLiteral("First Logo № 0..255"), this));
    number->addWidget(first_);
    auto *main = new QVBoxLayout(this);
    main->addWidget(selected);
    main->addLayout(number);
    main->addWidget(progress_);
    main->addWidget(vui::actionRow(load, cancel, this));

    connect(first_, &vui::UpDownBox::arrow, this, [this](int delta) { stepFirst(delta); });
    connect(load, &QPushButton::clicked, this, [this] { loadClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

LogoStore TMultiLoadForm::currentStore() const
{
    return logos_.depotTarget ? LogoStore::Depot : LogoStore::Printer;
}

void TMultiLoadForm::stepFirst(int delta)
{
    first_->setNumber(std::clamp(first_->number().value_or(0) + delta, 0, LastArrowNumber));
}

void TMultiLoadForm::loadClick()
{
    const LogoStore store = currentStore();
    const std::optional<int> first = first_->number();
    const int count = int(files_.size());
    // The last file must still land within the store.
    if (!first || *first + count > storeEnd(store)) {
        prompts_.beep();
        first_->edit()->setFocus();
        return;
    }
    const vui::BusyCursor busy;
    progress_->setRange(0, count);
    progress_->setValue(0);
    progress_->show();
    vui::repaintNow();
    for (int i = 0; i < count; ++i) {
        if (!loadFile(store, *first + i, files_[i])) {
            progress_->hide();
            prompts_.error(LogoWriteError);
            return;
        }
        progress_->setValue(i + 1);
        vui::repaintNow();
    }
    progress_->hide();
    prompts_.ok();
}

bool TMultiLoadForm::loadFile(LogoStore store, int number, const QString &path)
{
    // A file that changed or vanished since it was chosen is reported and not written.
    const BmpLoad result = convertBmpToLogo(path, logos_.logo);
    if (result != BmpLoad::Loaded) {
        prompts_.message(bmpLoadText(result), QString::fromLatin1(ImageNoticeCaption));
        return false;
    }
    if (store == LogoStore::Printer)
        vlink::Delay(PrinterPauseMs);
    return writeComposedLogo(line_.port, store, number, logos_.logo,
                             codePage_.encode(logoNameOfFile(path)));
}

} // namespace vgfx
