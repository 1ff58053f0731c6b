#pragma once

#include "link/logo_buffer.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace vgfx
{

inline constexpr QRgb GridColour = 0xC0C0C0;

// The largest preview drawn; beyond it (an endlessly doubled zoom) there is no preview at all,
// rather than an allocation that cannot succeed.
inline constexpr int MaxPreviewSide = 32767;
inline constexpr qint64 MaxPreviewBytes = qint64(256) * 1024 * 1024;

// The preview's size at a zoom: the logo, one spare column and a margin of two dots across
// (where the dot grid ends), as tall as the dot grid reaches, and at least minimumWidth wide
// (what the dialog's controls need). Empty for a zoom below 1 or beyond the limits above.
QSize previewSize(const vlink::LogoBuffer &logo, int zoom, int minimumWidth = 0);

// The logo on white, one black zoom x zoom square per dot, its top band at the top of the
// image; drawn in the buffer's own dot order. A null image when previewSize() is empty.
QImage drawPreview(const vlink::LogoBuffer &logo, int zoom, int minimumWidth = 0);

// Silver lines every zoom pixels over the preview; nothing for an empty buffer.
void drawDotGrid(QImage &preview, const vlink::LogoBuffer &logo, int zoom);

// "Col:" width "*" "Row:" height, as the dialogs label a logo.
QString sizeLabel(const vlink::LogoBuffer &logo);

} // namespace vgfx
