#pragma once

#include <QString>

namespace vgfx
{

// A logo name field's text and caret after a key press or release.
struct NameEdit {
    QString text;
    int caret = 0;

    bool operator==(const NameEdit &) const = default;
};

// The full filter: the first 8 characters, less every character below "0" (the space and
// "!" to "/"), caret at the end.
NameEdit filterLogoName(const QString &text);

// The compact dialogs' filter: a text over 8 characters is cut to 8 with the caret after the
// eighth; anything shorter is left as typed, caret included. Nothing is removed.
NameEdit cutLogoName(const QString &text, int caret);

} // namespace vgfx
