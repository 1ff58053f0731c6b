#pragma once

#include "link/codepage.h"

#include <QByteArray>
#include <QString>

// What the mark's small dialogs refuse in a field, in one place for the dialogs and vuvactl: a
// production line's script is held to what an operator may enter.
namespace vlink
{

// A field's refusal: no text when the entry is taken. A dialog focuses the field and shows or
// beeps as it always has; vuvactl reports the text.
struct FieldRefusal {
    QString text;
    bool shown = false; // the dialog shows the text in a box
    bool beeps = false;
    bool refused() const { return !text.isEmpty(); }
};

inline constexpr int SetFontMax = 9;          // the "Set Font Size" arrows stop there
inline constexpr int FragmentTypedMax = 38;   // characters typed in the text fragment editor
inline constexpr int FragmentTrimmedMax = 37; // bytes of a fragment once trimmed
inline constexpr int GroupCountMax = 8;
inline constexpr char AutoRunPeriodLabel[] = "Period Value (0-255)";

// The formats of a time and date and of a post date: not empty.
FieldRefusal timeFormatRefusal(const QString &entered);
FieldRefusal postDateFormatRefusal(const QString &entered);

// A counter's initial value: not empty, and every character in the printer's code page (else the
// counter would count from "?").
FieldRefusal counterValueRefusal(const QString &entered, const CodePage &page);

// The auto-run period: its blanks taken out, digits 0..255. sent: the text that goes out.
FieldRefusal autoRunPeriodRefusal(const QString &entered, QByteArray &sent);

// A post date's day count: 1 to 4 digits, blanks at its ends ignored. sent: the four digits.
FieldRefusal postDateDaysRefusal(const QString &entered, QByteArray &sent);

// A text fragment as typed, then as its trimmed bytes.
FieldRefusal fragmentTypedRefusal(const QString &typed);
FieldRefusal fragmentBytesRefusal(const QByteArray &encoded);

// The numbers of the special-function counter, in the order of the script.
enum class SpecNumber { Initial, Finish, Step, Discrete };
// One of them: empty, or unsigned with at most 8 digits (4 for the steps). A zero goes out
// empty, so kept is the entry or nothing.
FieldRefusal specNumberRefusal(SpecNumber which, const QString &entered, QString &kept);
// The counter's cell as "RC": row digit 1..4, column digit 1..8.
FieldRefusal fragmentNumberRefusal(const QString &entered);
// The count of marks printed as a group: empty or 0..8.
FieldRefusal groupCountRefusal(const QString &entered);

} // namespace vlink
