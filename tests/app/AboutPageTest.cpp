// The About page as drawn: the frame's caption on the frame's own edge, the description clear
// of that edge, and the link over the description's last words without a patch of another
// colour behind it.

#include <QImage>

#include "WindowTestSupport.h"
#include "app/FrameBox.h"

using namespace apptest;

TEST_F(WindowTest, AboutFrameHoldsItsCaptionAndTheLinkBlendsIntoTheFrame) {
    auto* frame = window->findChild<FrameBox*>(QStringLiteral("Frame1"));
    auto* description = window->findChild<QLabel*>(QStringLiteral("Label6"));
    auto* link = window->findChild<QLabel*>(QStringLiteral("Label9"));
    ASSERT_TRUE(frame && description && link);

    const QRect caption = frame->CaptionRect();
    EXPECT_TRUE(frame->rect().contains(caption));
    EXPECT_LT(caption.top(), frame->LineTop());
    EXPECT_GT(caption.bottom(), frame->LineTop()) << "the line runs through the caption";
    EXPECT_GE(description->y(), caption.bottom() + 2) << "the text stands clear of the caption and the line";
    EXPECT_GE(description->x(), 4);

    const QImage page = frame->grab().toImage();
    const QPoint inLink = link->geometry().topLeft() + QPoint(1, 1);  // above the words
    const QPoint bareFrame(frame->width() - 4, frame->height() - 4);  // inside, beside every label
    EXPECT_EQ(page.pixel(inLink), page.pixel(bareFrame));
}
