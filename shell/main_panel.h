#pragma once

#include "shell/main_controls.h"

#include <QWidget>

class QMainWindow;

namespace vshell
{

// The main window's panel: the background picture with the status label LMX, the read-only
// device box and the Depot-only check box, which is kept out of sight.
class MainPanel : public QWidget
{
    Q_OBJECT

public:
    explicit MainPanel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Builds the panel as the window's central widget, and the status bar that shows the hint of the
// control under the mouse.
void buildPanel(QMainWindow &window, MainControls &c);

} // namespace vshell
