#pragma once

#include <QApplication>
#include <functional>

namespace vshell
{

// The application object. No exception may cross Qt's event loop, so whatever a handler lets
// through (a port that cannot be opened, or any other failure) ends here: its text is shown in a
// box and the station goes on running.
class StationApplication : public QApplication
{
    Q_OBJECT

public:
    StationApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // How the text reaches the operator; a box captioned with the application title by default.
    void setReporter(std::function<void(const QString &)> reporter)
    {
        reporter_ = std::move(reporter);
    }

private:
    void report(const QString &text);

    std::function<void(const QString &)> reporter_;
};

} // namespace vshell
