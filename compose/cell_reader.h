#pragma once

#include "link/codepage.h"
#include "link/mark_commands.h"
#include "link/port.h"

#include <QString>
#include <optional>

namespace vcompose
{

// What a cell of the mark holds, as every fragment editor tells it.
enum class CellKind { Text, Graphic, Counter, TimeDate, PostDate, SpecFunc };

// "Text fragment", "Graphic fragment", "Counter fragment", ...
QString cellKindLabel(CellKind kind);

// How a kind-255 fragment is told from a graphic. Most editors compare the number with the
// printer's font count F; the time and date editor and the post-date editor use fixed bounds.
struct GraphicTest {
    // Text below F, graphic at F.
    static GraphicTest fontCount(quint8 count) { return {false, count}; }
    // Text below 7, graphic at 7 or 13.
    static GraphicTest fixedBounds() { return {true, 0}; }

    bool fixed = false;
    quint8 count = 0;
};

// Kind 255 is a text or a graphic by its number; 5 and 6 are counters, 0 a time and date, 2 a
// post date, 7 a special function. Any other combination reads as a text.
CellKind cellKind(const vlink::Fragment &fragment, GraphicTest test);

// A cell read is given this many attempts before the editors give up.
inline constexpr int CellReadAttempts = 10;

// The text fragment read, tried up to CellReadAttempts times; fragment is set on success only.
bool readCell(vlink::Port &port, int row, int column, vlink::Fragment &fragment);

// What an editor's font number shows on a graphic cell.
enum class GraphicFont {
    HighestText, // F - 1
    AsRead,      // the cell's number
    Kept,        // whatever it showed before
    First,       // font 1
};

// How one editor, in one of its handlers, shows the cells it reads. Its own kind shows the cell's
// text (a text, a counter's value, a format), editable; every other kind shows its label, locked
// until "Change" is ticked.
struct CellVariant {
    CellKind own = CellKind::Text;
    GraphicTest graphic;
    GraphicFont graphicFont = GraphicFont::AsRead;

    // The text fragment editor, with the printer's font count F.
    static CellVariant textEditor(quint8 fontCount)
    {
        return {CellKind::Text, GraphicTest::fontCount(fontCount), GraphicFont::HighestText};
    }
};

// What an editor shows for a cell it has read.
struct CellDisplay {
    CellKind kind = CellKind::Text;
    QString text;            // the fragment's own text, or its kind's label
    std::optional<int> font; // none: the font number stays as it was
    bool editable = true;
    bool changeShown = false; // another kind's cell is only overwritten after "Change"
};

CellDisplay displayFor(const vlink::Fragment &fragment, const CellVariant &variant,
                       const vlink::CodePage &codePage);

} // namespace vcompose
