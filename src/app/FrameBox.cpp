#include "app/FrameBox.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

namespace {
constexpr int kCaptionLeft = 8;  // the caption's first letter, from the frame's left edge
constexpr int kCaptionGap = 2;   // bare page on either side of the caption
}  // namespace

FrameBox::FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

QRect FrameBox::CaptionRect() const {
    const QFontMetrics metrics(font());
    return QRect(kCaptionLeft, 0, metrics.horizontalAdvance(title()), metrics.height());
}

int FrameBox::LineTop() const { return QFontMetrics(font()).height() / 2; }

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int top = LineTop();
    // A sunken box one pixel wide: the etched groove of a frame.
    qDrawShadeRect(&painter, 0, top, width(), height() - top, palette(), true, 1, 0);
    if (title().isEmpty()) return;
    const QRect caption = CaptionRect();
    painter.fillRect(caption.adjusted(-kCaptionGap, 0, kCaptionGap, 0), palette().window());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, title());
}
