#pragma once

#include <QString>

namespace vgfx
{

// The name, without ".bmp", a logo is saved under in a folder: its name with surrounding blanks
// removed, or "logo" and its number when that is empty, "." or "..", or holds a path separator or
// a character a file name cannot hold on the memory sticks the files travel on.
QString logoFileBase(const QString &name, int number);

// folder/base.bmp, or when that exists the first free of "base (2).bmp", "base (3).bmp", ...: a
// file already there is never overwritten.
QString freeBmpPath(const QString &folder, const QString &base);

} // namespace vgfx
