// Importing into the window: the File menu's Import picture... and drops onto the picture pages,
// with scripted file and options dialogs; the automatic generation from an imported file; failed
// imports; the options kept from one run to the next.

#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

#include <random>

#include "WindowTestSupport.h"
#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"
#include "support/PictureEncoders.h"

using namespace apptest;

namespace {

ImportChoices Chosen() {
    ImportChoices choices;
    import::ImportSettings& s = choices.Settings;
    s.Fit = import::FitMode::Stretch, s.Background = {200, 10, 90}, s.Match = import::MatchRule::Perceptual;
    s.Dither = import::DitherMode::FloydSteinberg, s.Avoid.set(0);
    return choices;
}

class ImportWindowTest : public WindowTest {
protected:
    // A 50 x 30 photo of random colours with a transparent band, so that fit, background and
    // match all matter.
    void SetUp() override {
        WindowTest::SetUp();
        imagefiles::RgbaPicture picture{50, 30, {}};
        std::mt19937 random(1);
        for (int i = 0; i < 50 * 30 * 4; ++i)
            picture.Pixels.push_back(i % 4 != 3 ? static_cast<uint8_t>(random()) : i / 4 % 50 < 5 ? 0 : 255);
        testsupport::WriteBytes(photo, pictureencode::EncodeRgbaPng(picture));
    }
    // Imports file through the menu; the options dialog, if choices are given, answers OK with them.
    void Import(const std::string& file, std::optional<ImportChoices> choices = Chosen()) {
        dialog->Choose(file);
        if (choices) importOptions->Ok(*choices);
        Command("Import picture...")->trigger();
    }
    Picture Imported(int TAPic) {
        return Reference(TAPic,
                         [&](classUnitGAF& u) { ASSERT_TRUE(u.ImportPicture(photo, TAPic, Chosen().Settings)); });
    }
    int Steps() const { return window->UndoStack()->count(); }
    const std::string photo = dir.file("photo.png");
};

}  // namespace

TEST_F(ImportWindowTest, MenuImportFillsTheShownPageExactlyAsTheImportDoesAndIsOneUndoStep) {
    ShowPage(frmMain::kHighlightedPage);
    dialog->Cancel();  // a cancel in either dialog changes nothing
    Command("Import picture...")->trigger();
    importOptions->Cancel();
    Import(photo, std::nullopt);
    EXPECT_EQ(importOptions->Asked.size(), 1u);
    EXPECT_TRUE(Slot(1) == Reference(1) && Box(1)->HasBorder() && Steps() == 0);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "");

    Import(photo);
    ASSERT_EQ(importOptions->Asked.size(), 2u);
    EXPECT_EQ(importOptions->Asked[1].File, photo);
    EXPECT_EQ(importOptions->Asked[1].PictureSize, QSize(50, 30)) << "the decoded picture is what the dialog shows";
    const Picture expected = Imported(1);
    ASSERT_NE(expected, Reference(1));
    EXPECT_TRUE(Slot(0) == Reference(0) && Slot(1) == expected && Slot(2) == Reference(2));
    EXPECT_FALSE(Box(1)->HasBorder());
    EXPECT_EQ(Box(1)->ReadColours({0, 0, 96, 96}), ColoursOf(expected));
    import::ConversionReport report;
    ASSERT_TRUE(classUnitGAF().ImportPicture(photo, 1, Chosen().Settings, &report));
    EXPECT_EQ(window->StatusBar()->currentMessage().toStdString(),
              "Imported photo.png: " + import::DescribeReport(report));
    EXPECT_EQ(Box(1)->toolTip().toStdString(), photo);
    EXPECT_TRUE(TakeMessages().empty());

    EXPECT_EQ(Caption(Command("Undo")), "Undo Import picture");
    Command("Undo")->trigger();
    EXPECT_EQ(Slot(1), Reference(1));
    Command("Redo")->trigger();
    EXPECT_TRUE(Slot(1) == expected && Steps() == 1);
}

TEST_F(ImportWindowTest, ImportIsGreyedOutOffThePicturePagesAndCtrlIOpensItOnThem) {
    EXPECT_FALSE(Command("Import picture...")->isEnabled()) << "the window opens on About";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (int page : {0, 3, 1, 4, 2}) {
        ShowPage(page);
        const bool picturePage = page <= frmMain::kDisabledPage;
        EXPECT_EQ(Command("Import picture...")->isEnabled(), picturePage) << page;
        // A file dialog shown off the picture pages would find no answer and fail the test.
        if (picturePage) dialog->Cancel();
        QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
        EXPECT_TRUE(dialog->Answers.empty()) << page;
    }
    EXPECT_EQ(dialog->ProposedNames.size(), 3u);
}

// The first local picture among the dropped files is imported into the page it lands on; a web
// address, nothing at all, and the pages that are no picture pages take no drop.
TEST_F(ImportWindowTest, ADroppedPictureOpensTheOptionsForThePageItLandsOn) {
    EXPECT_FALSE(Drop(2, {QUrl(QStringLiteral("https://example.org/photo.png"))}) || Drop(2, {}));
    EXPECT_FALSE(Drop(frmMain::kOperationsPage, {Local(photo)}) || Drop(frmMain::kAboutPage, {Local(photo)}));
    EXPECT_TRUE(importOptions->Asked.empty());
    importOptions->Ok(Chosen());
    EXPECT_TRUE(Drop(2, {Local(dir.file("icon.GAF")), Local(photo)}));
    ASSERT_EQ(importOptions->Asked.size(), 1u);
    EXPECT_EQ(importOptions->Asked[0].File, photo);
    EXPECT_TRUE(Slot(0) == Reference(0) && Slot(2) == Imported(2));
    EXPECT_EQ(Caption(Command("Undo")), "Undo Import picture");
}

TEST_F(ImportWindowTest, GenerationAfterAnImportImportsTheSameFileWithTheSameOptions) {
    const std::string bmp = dir.file("n.bmp");
    WritePatternBmp(bmp, 96, 96, 6);
    ShowPage(frmMain::kNormalPage);
    Import(photo);
    Click("Command28");
    for (int k : {1, 2})
        EXPECT_EQ(Slot(k), Reference(k, [&](classUnitGAF& u) { ASSERT_TRUE(u.AutoImport(photo, Chosen().Settings)); }));
    EXPECT_EQ(Progress(), 100);
    // After a BMP load the generation loads that BMP file, as it always has.
    Click("Command1", bmp);
    Click("Command28");
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) { u.LoadBMPPicture(bmp, 1), u.MakePicLighter(1); }));
    EXPECT_EQ(TakeMessages().size(), 2u);

    // The imported file gone since: the generation fails at its first step and says why.
    Import(photo);
    const Picture before = Slot(1);
    std::filesystem::remove(photo);
    Click("Command28");
    EXPECT_EQ(Progress(), 12);
    const Strings shown = TakeMessages(true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Error whilst processing task | photo.png: the file cannot be opened", 0), 0u) << shown[0];
    EXPECT_EQ(Slot(1), before);
}

TEST_F(ImportWindowTest, AFailedImportWarnsWithItsReasonAndTheOptionsOnOkStartTheNextRun) {
    testsupport::WriteBytes(dir.file("junk.png"), {'h', 'e', 'l', 'l', 'o'});
    ShowPage(frmMain::kNormalPage);
    Import(dir.file("junk.png"), std::nullopt);  // a file that does not decode shows no options
    ImportChoices strict;
    strict.Settings.Strict = true;
    Import(photo, strict);
    imagefiles::FileFailure why;
    ASSERT_FALSE(import::ImportFile(photo, strict.Settings, &why));
    ASSERT_EQ(prompts->Messages.size(), 2u);
    for (const ShownMessage& m : prompts->Messages)
        EXPECT_EQ(std::tuple(m.Text, m.Title, m.Icon),
                  std::tuple("The picture could not be imported.", "Iconwright", MsgIcon::Warning));
    EXPECT_EQ(prompts->Messages[0].Informative, "junk.png: not a PNG, JPEG, BMP or PCX picture.");
    EXPECT_EQ(prompts->Messages[1].Informative, "photo.png: " + import::DescribeImportFailure(why) + ".");
    EXPECT_TRUE(Slot(0) == Reference(0) && Box(0)->HasBorder() && Steps() == 0);

    OpenWindow();
    ShowPage(frmMain::kNormalPage);
    importOptions->Cancel();
    Import(photo, std::nullopt);
    ASSERT_EQ(importOptions->Asked.size(), 1u);
    EXPECT_EQ(Compared(importOptions->Asked[0].Start.Settings), Compared(strict.Settings));
}
