#pragma once
// A palette as the colour table of an indexed QImage: the one place where the game's colours
// become Qt's.

#include <QColor>
#include <QList>

#include "imagefiles/PaletteEntry.h"

inline QList<QRgb> QtColourTable(const Palette& Colours) {
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& c = Colours[static_cast<std::size_t>(i)];
        table[i] = qRgb(c.Red, c.Green, c.Blue);
    }
    return table;
}
