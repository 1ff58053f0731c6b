#include "compose/cell_reader.h"

namespace vcompose
{

namespace
{

using vlink::FragmentKind;

bool isGraphic(quint8 number, GraphicTest test)
{
    return test.fixed ? number == 7 || number == 13 : number == test.count;
}

bool isText(quint8 number, GraphicTest test)
{
    return number < (test.fixed ? 7 : test.count);
}

} // namespace

QString cellKindLabel(CellKind kind)
{
    switch (kind) {
    case CellKind::Text:
        return QStringLiteral("Text fragment");
    case CellKind::Graphic:
        return QStringLiteral("Graphic fragment");
    case CellKind::Counter:
        return QStringLiteral("Counter fragment");
    case CellKind::TimeDate:
        return QStringLiteral("TimeDate fragment");
    case CellKind::PostDate:
        return QStringLiteral("PostDate fragment");
    case CellKind::SpecFunc:
        return QStringLiteral("SpecFunc fragment");
    }
    return {};
}

CellKind cellKind(const vlink::Fragment &fragment, GraphicTest test)
{
    switch (FragmentKind(fragment.kind)) {
    case FragmentKind::TextOrGraphic:
        if (!isText(fragment.number, test) && isGraphic(fragment.number, test))
            return CellKind::Graphic;
        return CellKind::Text;
    case FragmentKind::CounterDown:
    case FragmentKind::CounterUp:
        return CellKind::Counter;
    case FragmentKind::TimeDate:
        return CellKind::TimeDate;
    case FragmentKind::PostDate:
        return CellKind::PostDate;
    case FragmentKind::SpecFunc:
        return CellKind::SpecFunc;
    }
    return CellKind::Text;
}

bool readCell(vlink::Port &port, int row, int column, vlink::Fragment &fragment)
{
    for (int attempt = 0; attempt < CellReadAttempts; ++attempt)
        if (vlink::TextFragmentRead(port, row, column, fragment))
            return true;
    return false;
}

namespace
{

std::optional<int> graphicFont(GraphicFont rule, const vlink::Fragment &fragment,
                               const GraphicTest &test)
{
    switch (rule) {
    case GraphicFont::HighestText:
        return qMax(0, int(test.count) - 1);
    case GraphicFont::AsRead:
        return fragment.number;
    case GraphicFont::Kept:
        return std::nullopt;
    case GraphicFont::First:
        return 1;
    }
    return fragment.number;
}

} // namespace

CellDisplay displayFor(const vlink::Fragment &fragment, const CellVariant &variant,
                       const vlink::CodePage &codePage)
{
    CellDisplay shown;
    shown.kind = cellKind(fragment, variant.graphic);
    shown.font = fragment.number;
    if (shown.kind == variant.own) {
        shown.text = codePage.decode(fragment.text);
        return shown;
    }
    shown.text = cellKindLabel(shown.kind);
    shown.editable = false;
    shown.changeShown = true;
    if (shown.kind == CellKind::Graphic)
        shown.font = graphicFont(variant.graphicFont, fragment, variant.graphic);
    return shown;
}

} // namespace vcompose
