#pragma once

#include "link/logo_buffer.h"

#include <QString>

class QImage;

namespace vgfx
{

// What the caller shows, with the caption below, when a file is refused.
inline constexpr char ImageNotValidText[] = "Image is not valid...";
inline constexpr char ImageNotMonochromeText[] = "Image is not monochrome...";
inline constexpr char ImageNoticeCaption[] = "Information";

// The placement dialogs hand their logo to a load dialog through this file.
inline constexpr char TemporaryBmpName[] = "tmp1.bmp";

// A logo is cut from the top left corner of its bitmap to at most this many rows and dots.
inline constexpr int MaxLogoRows = 32;
inline constexpr int MaxLogoDots = 4000;

enum class BmpLoad {
    Loaded,
    NotValid,      // missing, unreadable, truncated, absurd or not a Windows bitmap at all
    NotMonochrome, // a good bitmap with more than one bit per pixel
};

// The text of the notice for a refused file; empty for a loaded one.
QString bmpLoadText(BmpLoad result);

// Fills the logo's dots from a monochrome BMP file in composed order, bottom row of the bitmap
// as dot 0, and sets its width and height to the extent of the dots (1 x 1 when there are
// none). Any colour but pure white is a dot. The dots are cleared first, so a refused file
// leaves an empty buffer; number and name are kept. The width is not capped to what one
// logo record can announce: callers that write to a printer cap it themselves.
BmpLoad convertBmpToLogo(const QString &path, vlink::LogoBuffer &logo);

// The same conversion from a picture already in memory: any pixel but pure white is a dot.
void convertImageToLogo(const QImage &image, vlink::LogoBuffer &logo);

// Saves the logo as a 1-bit BMP, one pixel per dot, top band first, white background. Nothing
// is written for an empty buffer or the deleted logo. Meant for device order; a composed logo
// is walked in its own order and saves as it shows. The file is replaced only once complete.
bool saveLogoBmp(const vlink::LogoBuffer &logo, const QString &path);

// The same save into directory/tmp1.bmp; skipped for the deleted logo only. False when nothing
// was written: the file left there is then an old one and must not be opened.
bool writeTemporaryBmp(const vlink::LogoBuffer &logo, const QString &directory);

} // namespace vgfx
