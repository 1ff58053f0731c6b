#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vui
{

// The captions and the success text every window uses.
inline const QString CaptionError = QStringLiteral("Error");
inline const QString CaptionInformation = QStringLiteral("Information");
// The port and printer menus say "Info" where the rest of the station says "Information".
inline const QString CaptionInfo = QStringLiteral("Info");
inline const QString CaptionConfirm = QStringLiteral("Confirm");
inline const QString TextOk = QStringLiteral("Ok");

// What a file dialog shows. The filter is in Qt's form, e.g. "Monochrome Bitmaps (*.bmp)".
struct FileDialogRequest {
    QString caption;
    QString directory;
    QString filter;
    // Files for which this answers false are hidden from the list; folders always show.
    std::function<bool(const QString &path)> accept;
};

// Every message box, confirmation, beep and file dialog of the station goes through here, so a
// test can record what the operator would have seen and answer in the operator's place.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A box with one OK button.
    virtual void message(const QString &text, const QString &caption) = 0;
    // Yes and No; true for Yes.
    virtual bool question(const QString &text, const QString &caption) = 0;
    // The system's warning beep.
    virtual void beep() = 0;
    // The short low tone (100 Hz, 100 ms) of a printer that did not echo even the first byte of a
    // logo read or a probe. The platform has one beep for both, so it sounds as the beep.
    virtual void tone() = 0;
    // The chosen file, or empty when the operator cancelled.
    virtual QString openFile(const FileDialogRequest &request) = 0;
    virtual QStringList openFiles(const FileDialogRequest &request) = 0;
    virtual QString saveFile(const FileDialogRequest &request) = 0;
    // Opens a document with the system's default viewer (the help page). notOpened runs, maybe
    // later, when no program was found to open it.
    virtual void openDocument(const QString &path, std::function<void()> notOpened) = 0;

    void error(const QString &text) { message(text, CaptionError); }
    void ok() { message(TextOk, CaptionInformation); }
};

} // namespace vui
