#pragma once

#include <QByteArray>

namespace vcompose
{

// The values of the special-function script, by the printer's letters: fragment number (row
// digit, column digit), initial value, finish value, step, discrete step.
struct ScriptValues {
    QByteArray fragment, initial, finish, step, discrete;
};

// Each letter's value, the characters after its first occurrence up to the value's width; a
// letter the script lacks leaves its value empty.
ScriptValues valuesByLetter(const QByteArray &script);

// The one character after the first "G"; empty when there is none.
QByteArray groupLetter(const QByteArray &script);

// The values cut from the script's fixed layout, counted from its first "Q"; all empty without a
// "Q". A short script gives what it holds and no more.
ScriptValues valuesByPosition(const QByteArray &script);

// The text a counter cell starts with: the longer of the two numbers' decimal texts, the finish
// value's when they are as long; the other's when one is blank, "0" when both are.
QByteArray counterValueText(const QByteArray &initial, const QByteArray &finish);

} // namespace vcompose
