#pragma once
// A frame with its caption on its top edge, as the pages are designed: the etched line runs
// through the middle of the caption, so the caption belongs to the frame it names, and the
// controls placed 16 pixels below the frame's top stand clear of the line. Nothing is filled
// inside the frame: the page's own colour shows through, the same behind every label.

#include <QGroupBox>

class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    FrameBox(const QString& caption, QWidget* parent);

    // Where the caption is drawn, in the frame's own coordinates.
    QRect CaptionRect() const;
    // The top of the etched line.
    int LineTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
