#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace vui
{
struct LineState;
class Prompts;
} // namespace vui

namespace vshell
{

// The port settings dialog: shows the port name and speed text in use and stores them in the
// settings file as "com" and "Speed". Saving changes neither the open port nor its speed; the two
// keys only seed the names at the next start. A file that cannot be written is named in a box.
class TPortForms : public QDialog
{
    Q_OBJECT

public:
    TPortForms(vui::LineState &line, vui::Prompts &prompts, QString settingsPath,
               QWidget *parent = nullptr);

    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    vui::LineState &line_;
    vui::Prompts &prompts_;
    QString settingsPath_;
    QComboBox *ComPortNum;
    QComboBox *SpeedCB;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
};

} // namespace vshell
