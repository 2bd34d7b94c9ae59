#pragma once
// A small picture stretched to the widget's size with hard pixel edges (no smoothing), for the
// decorative icons of the About and Operations pages.

#include <QImage>
#include <QWidget>

class StretchedImage : public QWidget {
    Q_OBJECT
public:
    StretchedImage(const QImage& picture, QWidget* parent = nullptr);
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
