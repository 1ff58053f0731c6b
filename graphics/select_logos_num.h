#pragma once

#include "graphics/model/clip_grid.h"
#include "graphics/model/logo_store.h"
#include "link/codepage.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vgfx
{

// "LogoNumbers Select": stores the image of the work grid as up to nine logos of 125 columns,
// each under its own number and name, and places each in its column of the mark's first row.
class TSelectLogosNum : public QDialog
{
    Q_OBJECT

public:
    TSelectLogosNum(LogoStore store, vui::LineState &line, vui::LogoWorkflow &logos,
                    vui::Prompts &prompts, vlink::CodePage codePage, const ClipGrid &grid,
                    int verticalOffset, QWidget *parent = nullptr);

    int pieces() const { return int(groups_.size()); }

private:
    struct Group {
        int firstColumn = 0;
        int width = 0;
        QComboBox *number = nullptr;
        QComboBox *column = nullptr;
        QLineEdit *name = nullptr;
    };

    void buildGroup(int index, int width);
    void okClick();
    QString storePiece(const Group &group);

    LogoStore store_;
    vui::LineState &line_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    vlink::CodePage codePage_;
    const ClipGrid &grid_;
    int verticalOffset_;
    std::vector<Group> groups_;
    QProgressBar *progress_ = nullptr;
    QPushButton *ok_ = nullptr;
};

} // namespace vgfx
