// The window as it opens: page, status bar, boxes, enabled states, captions, geometry, links.

#include <QGroupBox>
#include <QGuiApplication>
#include <QStatusBar>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "app/CaptionButton.h"

namespace apptest {
namespace {

using FreshWindow = WindowTest;

TEST_F(FreshWindow, OpensOnAboutWithReadyEmptyProgressAndNoPictureSet) {
    EXPECT_EQ(window->windowTitle(), "Iconwright by ORBIT");
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_EQ(Message(), "Ready");
    EXPECT_LT(Progress(), window->ProgressPanel()->minimum()) << "the progress panel starts empty";
    EXPECT_EQ(Label("Panel4")->text(), AppTexts::kCopyright);
    EXPECT_EQ(Label("Panel4")->text(), Label("Label5")->text());
    EXPECT_EQ(Label("Panel3")->text(), "");
    EXPECT_FALSE(window->HasUnitGAF()) << "the picture set is made by the first command that needs it";

    EXPECT_EQ(window->FileDialog().Flags, 0x80004);
    EXPECT_EQ(window->FileDialog().InitDir, QCoreApplication::applicationDirPath().toStdString());

    const char* tabs[5] = {"&Normal Picture", "&Highlighted Picture", "&Disabled Picture", "&Operations", "&About"};
    ASSERT_EQ(window->SSTab1()->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(window->SSTab1()->tabText(i), tabs[i]);
}

TEST_F(FreshWindow, StatusPanelsHaveTheirWidthsInOrder) {
    const char* names[4] = {"Panel1", "Panel2", "Panel3", "Panel4"};
    const int widths[4] = {200, 100, 100, 100};
    int previousRight = -1;
    for (int i = 0; i < 4; ++i) {
        auto* panel = window->findChild<QWidget*>(names[i]);
        ASSERT_NE(panel, nullptr) << names[i];
        EXPECT_EQ(panel->width(), widths[i]) << names[i];
        EXPECT_GT(panel->x(), previousRight) << names[i] << " lies right of the panel before it";
        previousRight = panel->x() + panel->width() - 1;
    }
    EXPECT_EQ(window->ProgressPanel()->palette().color(QPalette::Highlight), QColor(255, 0, 0));
}

TEST_F(FreshWindow, PictureBoxesAreEmptyAndBordered) {
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(Box(k)->HasBorder()) << k;
        EXPECT_EQ(Box(k)->size(), QSize(97, 97)) << k;
        const QImage& canvas = Box(k)->Canvas();
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                ASSERT_EQ(canvas.pixelColor(x, y), Box(k)->BackgroundColour()) << k << " at " << x << "," << y;
            }
        }
        EXPECT_FALSE(window->Picture1(k)->HasBorder());
        EXPECT_EQ(window->Picture1(k)->InnerWidth(), 81);
        EXPECT_EQ(window->Picture1(k)->InnerHeight(), 73);
    }
}

TEST_F(FreshWindow, OnlyLightOnPageOneAndGreyOnPageTwoAreEnabled) {
    EXPECT_FALSE(Button("Command12")->isEnabled());
    EXPECT_FALSE(Button("Command15")->isEnabled());
    EXPECT_FALSE(Button("Command29")->isEnabled());
    EXPECT_FALSE(Button("Command35")->isEnabled());
    EXPECT_TRUE(Button("Command23")->isEnabled());
    EXPECT_TRUE(Button("Command34")->isEnabled());
    for (const char* name : {"Command1", "Command9", "Command17", "Command4", "Command20", "cmdAddGrid", "Command28",
                             "Command26", "Command27", "Command5", "Command6"}) {
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
    }
}

TEST_F(FreshWindow, CaptionsCarryTheirAccessKeys) {
    const std::pair<const char*, const char*> captions[] = {
        {"Command1", "Load &BMP"},
        {"Command10", "Load &PCX"},
        {"Command19", "&Save Picture as a BMP file"},
        {"Command4", "Add a &Cavedog style border"},
        {"Command30", "Add a b&lack cross"},
        {"Command23", "Make \"l&ight\" (for highlighted picture)"},
        {"Command34", "Make \"&grey\" (for disabled picture)"},
        {"cmdAddGrid", "Add a grid (for disabled picture)"},
        {"Command28", "&Use this image as the basis for the other two"},
        {"Command26", "&Write the build menu pictures to a .GAF file"},
        {"Command27", "E&xit Iconwright"},
    };
    for (const auto& [name, caption] : captions) EXPECT_EQ(Button(name)->text(), caption) << name;
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame7")->title(), "Opened Image");
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame11")->title(), "Effects to apply to this image");
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame2")->title(), "Preview the build menu icon here");
    EXPECT_EQ(Label("Label9")->text(), "ORBIT Website");
    EXPECT_TRUE(Label("Label6")->text().startsWith("Iconwright is designed to assist you"));
    EXPECT_TRUE(Label("Label7")->text().startsWith("NOTE: Once you have opened the first .BMP or .PCX file"));
    // The two picture buttons carry their 16 x 16 pictures.
    EXPECT_EQ(Button("Command4")->iconSize(), QSize(16, 16));
    EXPECT_FALSE(Button("Command33")->icon().isNull());
}

TEST_F(FreshWindow, ControlsSitAtTheirTwipsPositions) {
    EXPECT_EQ(window->size(), QSize(544, 290));
    EXPECT_EQ(window->SSTab1()->geometry(), QRect(0, 0, 545, 265));
    EXPECT_EQ(window->findChild<QStatusBar*>("StatusBar")->geometry(), QRect(0, 272, 543, 17));

    // Page-level positions count from the tab control's top-left corner, tab row included.
    auto onTabControl = [this](const char* name) {
        auto* widget = window->findChild<QWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return QRect(widget->mapTo(window->SSTab1(), QPoint(0, 0)), widget->size());
    };
    for (int page = 0; page < 5; ++page) {
        window->SSTab1()->setCurrentIndex(page);  // page widgets get their place when shown
        QApplication::processEvents();
    }
    EXPECT_EQ(onTabControl("Frame7"), QRect(8, 48, 521, 121));
    EXPECT_EQ(onTabControl("Frame10"), QRect(8, 176, 521, 81));
    EXPECT_EQ(onTabControl("PicUnitpic(2)"), QRect(16, 64, 97, 97));
    EXPECT_EQ(onTabControl("Command17"), QRect(128, 128, 97, 33));
    EXPECT_EQ(onTabControl("Command28"), QRect(240, 136, 281, 25));
    EXPECT_EQ(onTabControl("Command6"), QRect(440, 192, 81, 57));
    EXPECT_EQ(onTabControl("Frame5"), QRect(224, 64, 97, 97));
    EXPECT_EQ(onTabControl("Picture1(1)"), QRect(128, 80, 81, 73));
    EXPECT_EQ(onTabControl("Command27"), QRect(16, 224, 305, 25));
    EXPECT_EQ(onTabControl("Image2"), QRect(344, 64, 177, 193));
    EXPECT_EQ(onTabControl("Label2"), QRect(152, 48, 337, 65));
    EXPECT_EQ(onTabControl("Label4"), QRect(176, 136, 337, 25));
}

TEST_F(FreshWindow, LinksOpenTheMakersPageAndMailWithoutChangingAnything) {
    for (const char* name : {"Label5", "Label9", "Label1", "Label8"}) {
        QTest::mouseClick(Label(name), Qt::LeftButton);
    }
    ASSERT_EQ(links->Opened.size(), 4u);
    EXPECT_EQ(links->Opened[0], AppTexts::kMakerWebPage);
    EXPECT_EQ(links->Opened[1], AppTexts::kMakerWebPage);
    EXPECT_EQ(links->Opened[2], std::string("mailto:") + AppTexts::kFirstAuthorMail + "?subject=Iconwright");
    EXPECT_EQ(links->Opened[3], std::string("mailto:") + AppTexts::kSecondAuthorMail + "?subject=Iconwright");
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_EQ(Message(), "Ready");
    EXPECT_FALSE(window->HasUnitGAF());
    EXPECT_TRUE(prompts->Messages.empty());
}

}  // namespace
}  // namespace apptest
