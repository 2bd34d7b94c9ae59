#pragma once
// The lower layers' reasons as the window shows them: a sentence of their own below the
// command's message.

#include <string>

#include "imagefiles/FileFailure.h"

// "row 7: a packet runs past the row's width" -> "Row 7: a packet runs past the row's width."; the
// system's words follow the detail ("The folder out: Permission denied.").
// An empty reason gives "".
std::string ReasonSentence(const imagefiles::FileFailure& Why);
