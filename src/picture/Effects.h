#pragma once
// The drawing behind AddBlackCross and AddCavedogLikeBorder, on one picture.

#include <cstdint>

#include "picture/Picture.h"

// A black X from corner to corner; strokes are 2 x reach + 1 pixels wide along the flat
// index, reach = BorderSize / 2 rounded half to even.
void DrawCross(Picture& pic, int16_t BorderSize);

// A bevel border: right band 87, top band 255, left band 91, bottom band 0, in that order.
void DrawBorder(Picture& pic, int16_t BorderSize);
