#include "job/script_texts.h"

namespace vjob
{

namespace
{

constexpr int ItemsLength = 31; // Q + 2, N + 8, E + 8, S + 4, P + 4
constexpr int GroupLength = 2;

bool allDigits(const QByteArray &text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Letter and width of each item in the order they travel.
bool readItems(const QByteArray &items, vlink::SpecFuncTexts &t)
{
    struct Item {
        char letter;
        int width;
        QByteArray *text;
    };
    const Item layout[] = {
        {'Q', 2, &t.q}, {'N', 8, &t.n}, {'E', 8, &t.e}, {'S', 4, &t.s}, {'P', 4, &t.p}};
    int at = 0;
    for (const Item &item : layout) {
        if (items[at] != item.letter)
            return false;
        *item.text = items.mid(at + 1, item.width);
        at += 1 + item.width;
    }
    return true;
}

} // namespace

std::optional<vlink::SpecFuncTexts> scriptTexts(const QByteArray &script)
{
    vlink::SpecFuncTexts t;
    QByteArray group = script;
    if (script.size() >= ItemsLength) {
        if (!readItems(script.left(ItemsLength), t))
            return std::nullopt;
        group = script.mid(ItemsLength);
    }
    if (group.size() == GroupLength && group[0] == 'G' && allDigits(group.mid(1)))
        t.g = group.mid(1);
    else if (!group.isEmpty())
        return std::nullopt;
    return t;
}

} // namespace vjob
