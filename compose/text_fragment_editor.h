#pragma once

#include "link/codepage.h"
#include "link/mark_commands.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vcompose
{

// Unit NewTextFragmentInsertUnit_1: the text fragment editor. It walks the printer's mark cell by
// cell, reads each cell as it arrives there, shows what the cell holds, and writes a text and a
// font into it. The main window keeps one for the whole run, so the cell stays where the operator
// left it between showings.
class TOKHelpRightDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxRow = 4;
    static constexpr int MaxColumn = 8;
    // The font count without a printer to ask.
    static constexpr quint8 DepotFontCount = 16;

    // Messages go to mainWindow.
    TOKHelpRightDlg(vui::LineState &line, vui::MarkEditing &mark, vui::Prompts &prompts,
                    vlink::CodePage codePage, QObject *mainWindow, QWidget *parent = nullptr);

    // The cell routine in read mode for the cell the coordinates name; the tool button runs it on
    // a dialog that is already shown.
    void readCurrentCell();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();

    // The cell routine; in write mode with the text to write.
    void cellRoutine(vui::CellRoutine mode, const QByteArray &text = {});
    bool coordinates(int &row, int &column);
    void writeCell(int row, int column, const QByteArray &text);
    void readCell(int row, int column);
    void showFragment(const vlink::Fragment &fragment);
    void readError(const QString &text);

    void writeSequence();
    void navigate(int rowStep, int columnStep);
    bool textChanged() const;
    void fontStep(int step);
    void refreshFontCount();
    void changeClicked(bool checked);

    vui::LineState &line_;
    vui::MarkEditing &mark_;
    vui::Prompts &prompts_;
    vlink::CodePage codePage_;
    QPointer<QObject> mainWindow_;

    QGroupBox *coordPanel_ = nullptr;
    QLineEdit *rowStr_ = nullptr;
    QLineEdit *colStr_ = nullptr;
    QLineEdit *fontSize_ = nullptr;
    QLineEdit *fragText_ = nullptr;
    QCheckBox *change_ = nullptr;
    QPushButton *writeText_ = nullptr;
    QPushButton *cancel_ = nullptr;

    // A cell read filled the edit; the change test compares the edit with loadedText_.
    bool loaded_ = false;
    QByteArray loadedText_;
};

} // namespace vcompose
