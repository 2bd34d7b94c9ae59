#include "app/ImportChoices.h"

#include <cstdio>

std::string AvoidListText(const std::bitset<256>& Avoid) {
    if (Avoid.none()) return "none";
    std::string text;
    for (std::size_t first = 0; first < Avoid.size(); ++first) {
        if (!Avoid.test(first)) continue;
        std::size_t last = first;
        while (last + 1 < Avoid.size() && Avoid.test(last + 1)) ++last;
        if (!text.empty()) text += ',';
        text += std::to_string(first);
        if (last > first) text += '-' + std::to_string(last);
        first = last;
    }
    return text;
}

std::string ColourText(const import::Colour& Colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", Colour.Red, Colour.Green, Colour.Blue);
    return text;
}

std::string FitModeWord(import::FitMode Fit) {
    switch (Fit) {
        case import::FitMode::Contain: return "contain";
        case import::FitMode::Cover: return "cover";
        case import::FitMode::Stretch: return "stretch";
        case import::FitMode::None: return "none";
    }
    return "contain";
}

std::string DitherModeWord(import::DitherMode Dither) {
    return Dither == import::DitherMode::FloydSteinberg ? "floyd-steinberg" : "none";
}
