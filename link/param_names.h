#pragma once

#include <array>

namespace vlink
{

// The 13 printing parameters as the parameter window lists them: its number is the position
// plus one, the letter is the address sent to the printer.
struct ParamName {
    char letter;
    const char *name; // the first two hold a double quote where an apostrophe would stand
};

inline constexpr std::array<ParamName, 13> ParamNames{{
    {'C', "Charge\"s correction"},
    {'D', "Mark\"s delay"},
    {'F', "Drop generation freq"},
    {'H', "Vertical size"},
    {'J', "Line spacing"},
    {'K', "Horizontal size"},
    {'L', "Delay multiplier"},
    {'Q', "Protect drops guant"},
    {'S', "Quant. of lines in a mark"},
    {'T', "Testing limit"},
    {'U', "The point of splitting"},
    {'Y', "The Step"},
    {'Z', "The vert. size, gradually"},
}};

inline constexpr int ParamPauseMs = 50;

} // namespace vlink
