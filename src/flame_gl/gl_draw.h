#pragma once

#include <string_view>

#include "draw_path.h"
#include "scene.h"

// One particle: a triangle fan with a yellow centre of opacity `alpha` and a transparent red rim.
void DrawHexagon(float x, float y, float radiusX, float radiusY, float alpha);

// Every visible particle, added onto what is there; blending is on only meanwhile.
void DrawParticles(const Scene& scene, DrawPath path);

// A line of text in the top-left corner of a width x height viewport, from display lists of the
// font's glyphs that start at `listBase` (one list per character code).
void DrawOverlayText(unsigned listBase, std::string_view text, int width, int height);
