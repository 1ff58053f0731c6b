#pragma once

#include "compose/cell_reader.h"
#include "link/codepage.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace vcompose
{

// The arrows and the opening from which an editor reads a cell; some editors tell a graphic
// differently in some of them.
enum class CellStep { Open, RowUp, RowDown, ColumnUp, ColumnDown };

// What the counter, time and date, and post-date editors share: the cell they stand on with its
// arrows, the font with its arrows, the edit that shows the cell, "Change", Ok and Cancel. An
// editor adds its own controls to body() and says how it shows a cell in each step.
class CellEditorForm : public QDialog
{
public:
    static constexpr int MaxRow = 4;
    static constexpr int MaxColumn = 8;
    static constexpr quint8 DepotFontCount = 16;

    CellEditorForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
                   QWidget *parent);

protected:
    // Builds the shared controls around edit (the cell's value); call once from the constructor.
    void build(QLineEdit *edit);
    QGridLayout &body() { return *body_; }

    // How a cell read in this step is shown.
    virtual CellVariant variant(CellStep step) const = 0;
    // Runs before each cell read.
    virtual void beforeRead() {}
    // Runs after a cell read has been shown.
    virtual void cellShown(const vlink::Fragment &) {}
    // The Ok button.
    virtual void writeSequence() = 0;

    // Reads the cell the coordinates name and shows it; false when nothing was read (also in
    // Depot-only mode).
    bool readCell(CellStep step);
    // The "Change" test of every write: true (with the message and the beep) when it refuses.
    bool changeRefused(const QString &what);
    int row() const;
    int column() const;
    int font() const;
    void setFont(int font);
    bool fontSet();

    vui::LineState &line_;
    vui::Prompts &prompts_;
    vlink::CodePage codePage_;
    QLineEdit *edit_ = nullptr;
    QCheckBox *change_ = nullptr;
    QPushButton *writeText_ = nullptr;

private:
    void navigate(CellStep step, int rowStep, int columnStep);
    void fontStep(int step);
    void changeClicked(bool checked);

    QLineEdit *rowStr_ = nullptr;
    QLineEdit *colStr_ = nullptr;
    QLineEdit *fontSize_ = nullptr;
    QGridLayout *body_ = nullptr;
};

// Refreshes F before a font increment: 16 without a printer to ask, else the printer's own from
// the time parameters (kept as it was when that read fails).
void refreshFontCount(vui::LineState &line);

} // namespace vcompose
