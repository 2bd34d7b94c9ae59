// The window as it opens: page, status bar, boxes, enabled states, captions, geometry, links.

#include <QGroupBox>
#include <QStatusBar>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"

namespace apptest {
namespace {

using FreshWindow = WindowTest;

TEST_F(FreshWindow, OpensOnAboutWithReadyEmptyBoxesAndNoPictureSet) {
    EXPECT_EQ(window->windowTitle(), "Iconwright by ORBIT");
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_EQ(Message(), "Ready");
    EXPECT_LT(Progress(), window->ProgressPanel()->minimum()) << "the progress panel starts empty";
    EXPECT_EQ(window->ProgressPanel()->palette().color(QPalette::Highlight), QColor(255, 0, 0));
    EXPECT_EQ(Label("Panel4")->text(), Label("Label5")->text()) << "the copyright notice";
    EXPECT_EQ(Label("Panel3")->text(), "");
    EXPECT_EQ(window->FileDialog().Flags, 0x80004);
    EXPECT_EQ(window->FileDialog().InitDir, QCoreApplication::applicationDirPath().toStdString());
    EXPECT_FALSE(window->HasUnitGAF()) << "the picture set is made by the first command that needs it";

    int previousRight = -1;
    const std::pair<const char*, int> panels[] = {{"Panel1", 200}, {"Panel2", 100}, {"Panel3", 100}, {"Panel4", 100}};
    for (const auto& [name, width] : panels) {
        auto* panel = window->findChild<QWidget*>(name);
        ASSERT_NE(panel, nullptr) << name;
        EXPECT_EQ(panel->width(), width) << name;
        EXPECT_GT(panel->x(), previousRight) << name << " lies right of the panel before it";
        previousRight = panel->x() + panel->width() - 1;
    }

    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(Box(k)->HasBorder()) << k;
        EXPECT_EQ(Box(k)->size(), QSize(97, 97)) << k;
        const QImage& canvas = Box(k)->Canvas();
        QImage empty(canvas.size(), canvas.format());
        empty.fill(Box(k)->BackgroundColour());
        EXPECT_EQ(canvas, empty) << k;
        EXPECT_FALSE(window->Picture1(k)->HasBorder());
    }

    // Make "light" only on the highlighted page, Make "grey" only on the disabled page.
    for (const char* name : {"Command12", "Command15", "Command29", "Command35"}) {
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    }
    for (const char* name : {"Command23", "Command34", "Command1", "Command9", "Command17", "Command4", "Command20",
                             "cmdAddGrid", "Command28", "Command26", "Command27", "Command5", "Command6"}) {
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
    }
}

TEST_F(FreshWindow, CaptionsAreExactWithTheirAccessKeys) {
    const char* tabs[5] = {"&Normal Picture", "&Highlighted Picture", "&Disabled Picture", "&Operations", "&About"};
    ASSERT_EQ(window->SSTab1()->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(window->SSTab1()->tabText(i), tabs[i]);
    const std::pair<const char*, const char*> buttons[] = {
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
    for (const auto& [name, caption] : buttons) EXPECT_EQ(Button(name)->text(), caption) << name;
    const std::pair<const char*, const char*> frames[] = {{"Frame7", "Opened Image"},
                                                          {"Frame11", "Effects to apply to this image"},
                                                          {"Frame2", "Preview the build menu icon here"},
                                                          {"Frame5", "Disabled"},
                                                          {"Frame6", "Actions"},
                                                          {"Frame1", "What the program does"}};
    for (const auto& [name, title] : frames) EXPECT_EQ(window->findChild<QGroupBox*>(name)->title(), title) << name;
    EXPECT_EQ(Label("Label9")->text(), "ORBIT Website");
    EXPECT_EQ(Label("Label6")->text().toStdString(), AppTexts::kDescription);
    EXPECT_EQ(Label("Label7")->text().toStdString(), AppTexts::kNote);
    EXPECT_EQ(Button("Command4")->iconSize(), QSize(16, 16)) << "the two picture buttons carry 16 x 16 pictures";
    EXPECT_FALSE(Button("Command33")->icon().isNull());
}

TEST_F(FreshWindow, ControlsSitAtTheirTwipsPositions) {
    EXPECT_EQ(window->size(), QSize(544, 290));
    EXPECT_EQ(window->SSTab1()->geometry(), QRect(0, 0, 545, 265));
    EXPECT_EQ(window->findChild<QStatusBar*>("StatusBar")->geometry(), QRect(0, 272, 543, 17));
    for (int page = 0; page < 5; ++page) {
        window->SSTab1()->setCurrentIndex(page);  // page widgets get their place when shown
        QApplication::processEvents();
    }
    // Page-level positions count from the tab control's top-left corner, tab row included.
    const std::pair<const char*, QRect> places[] = {
        {"Frame7", {8, 48, 521, 121}},        {"Frame10", {8, 176, 521, 81}},   {"PicUnitpic(2)", {16, 64, 97, 97}},
        {"Command17", {128, 128, 97, 33}},    {"Command28", {240, 136, 281, 25}}, {"Command6", {440, 192, 81, 57}},
        {"Frame5", {224, 64, 97, 97}},        {"Picture1(1)", {128, 80, 81, 73}}, {"Command27", {16, 224, 305, 25}},
        {"Image2", {344, 64, 177, 193}},      {"Label2", {152, 48, 337, 65}},   {"Label4", {176, 136, 337, 25}},
    };
    for (const auto& [name, place] : places) {
        auto* widget = window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(QRect(widget->mapTo(window->SSTab1(), QPoint(0, 0)), widget->size()), place) << name;
    }
}

TEST_F(FreshWindow, LinksOpenTheMakersPageAndMailWithoutChangingAnything) {
    for (const char* name : {"Label5", "Label9", "Label1", "Label8"}) QTest::mouseClick(Label(name), Qt::LeftButton);
    const std::vector<std::string> expected = {
        AppTexts::kMakerWebPage, AppTexts::kMakerWebPage,
        std::string("mailto:") + AppTexts::kFirstAuthorMail + "?subject=Iconwright",
        std::string("mailto:") + AppTexts::kSecondAuthorMail + "?subject=Iconwright"};
    EXPECT_EQ(links->Opened, expected);
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_EQ(Message(), "Ready");
    EXPECT_FALSE(window->HasUnitGAF());
    EXPECT_TRUE(prompts->Messages.empty());
}

}  // namespace
}  // namespace apptest
