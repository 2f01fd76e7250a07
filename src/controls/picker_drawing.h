// Drawing the parts of the colour picker onto a canvas. Each operation draws at once and
// invalidates nothing; the dialog decides when each part is drawn.
#pragma once

#include "controls/canvas.h"
#include "controls/picker_geometry.h"

#include <cstdint>
#include <span>

// The shaded strip along the bottom of a client area of the given size: greys from 253 in the
// bottom row to 195 thirty rows up, and an etched line in the button shadow and highlight
// colours above it.
void DrawBackground(Canvas& canvas, std::int32_t clientWidth, std::int32_t clientHeight);

// The field image (190 x 190) and its two frames. This also erases the part of the cross-hair
// that lay on the field.
void DrawField(Canvas& canvas, const CanvasImage& field);

// The bar image (1 x 190) stretched to 20 x 190, and its two frames.
void DrawLumBar(Canvas& canvas, const CanvasImage& bar);

// Clears the field's margins and draws the cross-hair at (cx, cy) relative to the field's
// top-left pixel (held to 0 to 190): four black arms of 8 pixels with the centre and the two
// pixels around it on each axis left clear.
void DrawCrossHair(Canvas& canvas, std::int32_t cx, std::int32_t cy);

// Clears the marker column and draws the black arrow that points at luminance lum on the bar.
void DrawLumMarker(Canvas& canvas, std::uint8_t lum);

// The current and the new colour's swatches.
void DrawCurrentColor(Canvas& canvas, PackedColour colour);
void DrawNewColor(Canvas& canvas, PackedColour colour);

// The twenty custom colour cells, cell i in the table's colour i.
void DrawCustomColors(Canvas& canvas, std::span<const PackedColour, kCustomColourCount> table);
