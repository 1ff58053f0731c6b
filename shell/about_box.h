#pragma once

#include <QDialog>

namespace vshell
{

// The about box: what the program is, its version and where its help lives.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);
};

} // namespace vshell
