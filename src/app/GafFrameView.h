#pragma once
// One decoded GAF frame drawn in the game palette at a whole-number scale, each frame pixel a
// scale x scale square. Where the frame leaves a pixel empty (the transparency index of a
// compressed or layered frame, the pixels its PNG file makes transparent) a checkerboard shows
// through; a raw single-layer frame stores every pixel and is drawn whole.

#include <QImage>
#include <QWidget>

#include "gaf/GafReader.h"

class GafFrameView : public QWidget {
    Q_OBJECT
public:
    // The checkerboard behind empty pixels: squares of kCheckerSquare screen pixels from the
    // view's top-left corner, light first.
    static constexpr int kCheckerSquare = 8;
    static constexpr QRgb kCheckerLight = 0xFFFFFFFF;
    static constexpr QRgb kCheckerDark = 0xFFC0C0C0;
    static QRgb CheckerColour(int x, int y) {
        return (x / kCheckerSquare + y / kCheckerSquare) % 2 == 0 ? kCheckerLight : kCheckerDark;
    }

    explicit GafFrameView(int scale, QWidget* parent = nullptr);

    // Shows frame (copied), or nothing for nullptr; the view takes the frame's size times the
    // scale.
    void ShowFrame(const gaf::DecodedFrame* frame);
    int Scale() const { return scale_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int scale_;
    QImage frame_;  // indexed, the empty pixels' index fully transparent
};
