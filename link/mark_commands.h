#pragma once

#include "link/port.h"

#include <QByteArray>

namespace vlink
{

// Mark and fragment opcodes, as they go on the wire.
enum class MarkOp : quint8 {
    Special = 0x01,       // special-function script: write and read
    StoredMark = 0x0C,    // shared with the machine's 0x0C family, told apart by the letter
    FragmentRead = 0x11,  //
    FragmentWrite = 0x18, // also the fragment delete (no text)
    CounterSet = 0x19,    //
    TimeFormatSet = 0x1A, // shared with the clock set, told apart by "T" / "D"
    FontSet = 0x1B,       //
    MarkLoad = 0x1C,      // a logo into a cell
    PostDateSet = 0x1D,   //
    End = 0x0D,
};

enum class MarkArg : quint8 {
    ScriptRead = 0x05,      // after Special
    ScriptWrite = 0x51,     // "Q" after Special
    ScriptItems = 0x49,     // "I"
    Fragment = 0x51,        // "Q" fragment number
    Initial = 0x4E,         // "N"
    Finish = 0x45,          // "E"
    Step = 0x53,            // "S"
    Discrete = 0x50,        // "P"
    Group = 0x47,           // "G"
    PostDateOffset = 0x44,  // "D" after PostDateSet
    MarkRead = 0x4D,        // "M" after StoredMark
    ReadFromStorage = 0x52, // "R"
    WriteToStorage = 0x57,  // "W"
};

// The kind byte of a fragment as the printer reports it.
enum class FragmentKind : quint8 {
    TimeDate = 0x00,
    PostDate = 0x02,
    CounterDown = 0x05,
    CounterUp = 0x06,
    SpecFunc = 0x07,
    TextOrGraphic = 0xFF, // graphic when its number equals the font count
};

// A fragment text never goes out longer than this.
inline constexpr int FragmentTextMax = 38;
// The text a post-date offset carries when the offset is left as it is.
inline constexpr char PostDateOffsetKept[] = "-1";
inline constexpr int StoredMarkCount = 64;

// A cell as the printer reports it: its text, number (font, counter number or graphic marker)
// and kind byte.
struct Fragment {
    QByteArray text;
    quint8 number = 0;
    quint8 kind = quint8(FragmentKind::TextOrGraphic);
};

// The three stored-mark operations, in the order the stored-mark dialog numbers them.
enum class StoredMarkOp { MarkRead = 0, ReadFromStorage = 1, WriteToStorage = 2 };

// Special-function texts by their wire letters: group, initial value, finish value, step,
// discrete step, fragment number (row digit, column digit).
struct SpecFuncTexts {
    QByteArray g, n, e, s, p, q;
};

// Rows, columns, fonts and mark numbers go out as one digit ("0" + n) and are not range-checked.
// Texts are bytes in the printer's code page (link/codepage.h).
bool TextFragmentWrite(Port &port, int row, int column, const QByteArray &text);
bool TextFragmentDelete(Port &port, int row, int column);
bool TextFragmentRead(Port &port, int row, int column, Fragment &fragment);
bool FontSet(Port &port, int font, int row, int column);
bool CounterSet(Port &port, int row, int column, const QByteArray &text);
bool TimeFormatSet(Port &port, int row, int column, const QByteArray &format);
// offset is four digits, or PostDateOffsetKept to send the format frame alone.
bool PostDateSet(Port &port, int row, int column, const QByteArray &offset,
                 const QByteArray &format);
// False without sending anything when the group is not a number.
bool SpecFuncWrite(Port &port, const SpecFuncTexts &texts);
// Same request; SpecFuncRead takes the reply with plain reads, ScriptRead echoes every byte.
bool SpecFuncRead(Port &port, QByteArray &script);
bool ScriptRead(Port &port, QByteArray &script);
bool StoredMark(Port &port, StoredMarkOp operation, int number);
// The logo number goes out as the raw byte.
bool MarkLoad(Port &port, quint8 logo, int column, int row);

} // namespace vlink
