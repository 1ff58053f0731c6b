#pragma once

#include "compose/text_fragment_editor.h"
#include "support/main_window_stand_in.h"
#include "support/memory_port.h"
#include "support/prompt_recorder.h"
#include "support/station_parts.h"
#include "support/test_widgets.h"

#include <QLineEdit>
#include <memory>

// Loses the kind byte, the last of six reads, of the first `losses` reads of an empty cell: the
// printer answered in full, the station missed the tail.
class TailLossPort : public MemoryPort
{
public:
    TailLossPort(vp::Device &device, int losses) : MemoryPort(device), losses_(losses) {}
    bool readByte(quint8 &byte) override
    {
        const bool ok = MemoryPort::readByte(byte);
        if (++reads_ % 6 != 0 || losses_ == 0)
            return ok;
        --losses_;
        return false;
    }

private:
    int losses_;
    int reads_ = 0;
};

// The cell editors on a printer in memory: the one place their tests build the station's state
// and the dialog.
struct EditorRig {
    explicit EditorRig(int losses = 0) : port(device, losses)
    {
        line.fontCount = device.printer().fontCount;
    }
    // Creates and shows the text editor, which reads its cell.
    vcompose::TOKHelpRightDlg &open() { return open(parts.textEditor()); }
    // Shows one of the editors, which reads cell (1, 1).
    template <typename Form> Form &open(std::unique_ptr<Form> made)
    {
        Form &opened = *made;
        form = std::move(made);
        form->show();
        return opened;
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(*form, name); }
    void type(const char *name, const QString &text) { edit(name)->setText(text); }
    void click(const char *name, int times = 1) { ::click(*form, name, times); }
    bool focused(const char *name) { return form->focusWidget() == edit(name); }
    vp::MarkFragment &cell(int row, int column)
    {
        return device.mark().cells[std::size_t(row - 1)][std::size_t(column - 1)];
    }
    // What the station wrote since the last call.
    QByteArray sent() { return port.takeWritten(); }

    vp::Device device;
    TailLossPort port;
    PromptRecorder prompts;
    MainWindowStandIn mainWindow;
    StationParts parts{port, prompts, &mainWindow};
    vui::LineState &line = parts.line;
    std::unique_ptr<QDialog> form;
};
