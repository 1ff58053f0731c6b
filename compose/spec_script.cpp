#include "compose/spec_script.h"

namespace vcompose
{

namespace
{

struct Field {
    char letter;
    int width;
    QByteArray ScriptValues::*value;
};

// In the order the printer stores them, each letter followed by its value.
constexpr Field Fields[] = {
    {'Q', 2, &ScriptValues::fragment}, {'N', 8, &ScriptValues::initial},
    {'E', 8, &ScriptValues::finish},   {'S', 4, &ScriptValues::step},
    {'P', 4, &ScriptValues::discrete},
};

// Layout length from the "Q" to the last digit of the discrete step, and the "G" after it.
constexpr int LayoutLength = 32;

QByteArray after(const QByteArray &script, char letter, int width)
{
    const qsizetype at = script.indexOf(letter);
    return at < 0 ? QByteArray() : script.mid(at + 1, width);
}

QByteArray decimal(const QByteArray &number)
{
    return QByteArray::number(number.trimmed().toLongLong());
}

} // namespace

ScriptValues valuesByLetter(const QByteArray &script)
{
    ScriptValues values;
    for (const Field &f : Fields)
        values.*f.value = after(script, f.letter, f.width);
    return values;
}

QByteArray groupLetter(const QByteArray &script)
{
    return after(script, 'G', 1);
}

ScriptValues valuesByPosition(const QByteArray &script)
{
    ScriptValues values;
    const qsizetype q = script.indexOf('Q');
    if (q < 0)
        return values;
    const QByteArray layout = script.mid(q, LayoutLength);
    int position = 1; // the "Q" itself
    for (const Field &f : Fields) {
        values.*f.value = layout.mid(position, f.width);
        position += f.width + 1;
    }
    return values;
}

QByteArray counterValueText(const QByteArray &initial, const QByteArray &finish)
{
    const bool noInitial = initial.trimmed().isEmpty();
    const bool noFinish = finish.trimmed().isEmpty();
    if (noInitial && noFinish)
        return "0";
    if (noInitial)
        return decimal(finish);
    if (noFinish)
        return decimal(initial);
    const QByteArray i = decimal(initial);
    const QByteArray e = decimal(finish);
    return i.size() > e.size() ? i : e;
}

} // namespace vcompose
