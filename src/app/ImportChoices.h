#pragma once
// The import options as the window keeps them between imports and runs: the import settings,
// and the picture file the background frame was made from, which the settings themselves do not
// name. Also the words the window shows and stores for the settings that have no word of their
// own in the import's vocabulary.

#include <bitset>
#include <string>

#include "import/ImportSettings.h"

struct ImportChoices {
    import::ImportSettings Settings;
    // The file Settings.BackgroundFrame was made from; empty when the background is the colour.
    std::string BackgroundFile;
};

// The set as the shortest list ParseAvoidList reads back to it: "none", "7", "0,240-255".
std::string AvoidListText(const std::bitset<256>& Avoid);

// "#RRGGBB" in upper case, which ParseHexColour reads back.
std::string ColourText(const import::Colour& Colour);

// The words of fit, match and dither as iconwright-cli takes them ("contain", "rgb", "none", ...).
std::string FitModeWord(import::FitMode Fit);
std::string DitherModeWord(import::DitherMode Dither);
