#pragma once
// A picture box for the window: a frame around a persistent canvas that DisplayPicture draws
// into. What is drawn stays on the canvas (also when the window is covered and uncovered)
// until something is drawn over it; painting only copies the canvas to the screen.

#include <QColor>
#include <QFrame>
#include <QImage>

#include "display/PictureBoxPort.h"

class QtPictureBox : public QFrame, public PictureBoxPort {
    Q_OBJECT
public:
    explicit QtPictureBox(bool withBorder, QWidget* parent = nullptr);

    // The sunken border the boxes start with; without it the canvas fills the whole box.
    void SetBorder(bool on);
    bool HasBorder() const;

    // The colour of canvas pixels nothing has drawn on.
    QColor BackgroundColour() const { return background_; }
    const QImage& Canvas() const { return canvas_; }

    double InnerWidth() const override;
    double InnerHeight() const override;
    void DrawIndexed(const IndexedBlock& block, PixelRect Source, PixelRect Dest, bool Stretch) override;
    std::vector<uint32_t> ReadColours(PixelRect Area) const override;
    void Refresh() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Keeps the canvas as large as the inner area; what was drawn keeps its place.
    void FitCanvas();

    QColor background_;
    QImage canvas_;
};
