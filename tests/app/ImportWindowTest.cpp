// Importing into the window: the File menu's Import picture... and drops onto the picture pages,
// with scripted file and options dialogs; the automatic generation from an imported file; failed
// imports; the options kept from one run to the next.

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>
#include <QUrl>

#include <filesystem>
#include <random>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "app/QtCommonDialog.h"
#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"
#include "support/PictureEncoders.h"

using namespace apptest;

namespace {

// 50 x 30 random colours with a transparent band, so that fit, background and match all matter.
void WritePhoto(const std::string& file, uint32_t seed) {
    imagefiles::RgbaPicture picture{50, 30, std::vector<uint8_t>(50 * 30 * 4)};
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) picture.Pixels[i] = static_cast<uint8_t>(random());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x) picture.Pixels[(y * 50 + x) * 4 + 3] = x < 5 ? 0 : 255;
    testsupport::WriteBytes(file, pictureencode::EncodeRgbaPng(picture));
}

ImportChoices Chosen() {
    ImportChoices choices;
    choices.Settings.Fit = import::FitMode::Stretch;
    choices.Settings.Background = {200, 10, 90};
    choices.Settings.Match = import::MatchRule::Perceptual;
    choices.Settings.Dither = import::DitherMode::FloydSteinberg;
    choices.Settings.Avoid.set(0);
    return choices;
}

class ImportWindowTest : public WindowTest {
protected:
    QAction* ImportCommand() const { return MenuCommand(QStringLiteral("File"), QStringLiteral("Import picture...")); }
    // Imports file through the menu with the options dialog answered OK with choices.
    void ImportByMenu(const std::string& file, const ImportChoices& choices) {
        dialog->Choose(file);
        importOptions->Ok(choices);
        ImportCommand()->trigger();
    }
    QWidget* Page(int index) const { return window->SSTab1()->widget(index); }
    // Sends a drop of urls to page, as a drag from a file manager would end; the import runs
    // once the drop has finished.
    bool Drop(int page, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Page(page), &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Page(page), &drop);
        QApplication::processEvents();
        return enter.isAccepted() && drop.isAccepted();
    }
    static QUrl Local(const std::string& file) { return QUrl::fromLocalFile(QString::fromStdString(file)); }
};

Picture Imported(int TAPic, const std::string& file, const ImportChoices& choices) {
    return Reference(TAPic, [&](classUnitGAF& u) { ASSERT_TRUE(u.ImportPicture(file, TAPic, choices.Settings)); });
}

}  // namespace

TEST_F(ImportWindowTest, MenuImportFillsTheShownPageExactlyAsTheImportDoesAndIsOneUndoStep) {
    const std::string photo = dir.file("photo.png");
    WritePhoto(photo, 1);
    window->SSTab1()->setCurrentIndex(frmMain::kHighlightedPage);
    ImportByMenu(photo, Chosen());
    EXPECT_EQ(dialog->Filter, AppTexts::kImportFilter);
    EXPECT_EQ(QtCommonDialog::QtNameFilters(dialog->Filter),
              "PNG files (*.png);;JPEG files (*.jpg *.jpeg);;BMP files (*.bmp);;PCX files (*.pcx);;All files (*)");
    ASSERT_EQ(importOptions->Asked.size(), 1u);
    EXPECT_EQ(importOptions->Asked[0].File, photo);
    EXPECT_EQ(importOptions->Asked[0].PictureSize, QSize(50, 30)) << "the decoded picture is what the dialog shows";

    const Picture expected = Imported(1, photo, Chosen());
    ASSERT_NE(expected, Reference(1));
    EXPECT_EQ(Slot(1), expected);
    EXPECT_TRUE(Slot(0) == Reference(0) && Slot(2) == Reference(2));
    EXPECT_FALSE(Box(1)->HasBorder());
    EXPECT_EQ(Box(1)->ReadColours({0, 0, 96, 96}), ColoursOf(expected));
    import::ConversionReport report;
    classUnitGAF reference;
    ASSERT_TRUE(reference.ImportPicture(photo, 1, Chosen().Settings, &report));
    EXPECT_EQ(window->StatusBar()->currentMessage().toStdString(),
              "Imported photo.png: " + import::DescribeReport(report));
    EXPECT_EQ(Box(1)->toolTip().toStdString(), photo);
    EXPECT_TRUE(TakeMessages().empty());

    EXPECT_EQ(UndoCommand()->text().remove('&'), "Undo Import picture");
    UndoCommand()->trigger();
    EXPECT_EQ(Slot(1), Reference(1));
    RedoCommand()->trigger();
    EXPECT_EQ(Slot(1), expected);
    EXPECT_EQ(window->UndoStack()->count(), 1);
}

TEST_F(ImportWindowTest, CancelInEitherDialogChangesNothing) {
    const std::string photo = dir.file("photo.png");
    WritePhoto(photo, 2);
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    dialog->Cancel();
    ImportCommand()->trigger();
    EXPECT_TRUE(importOptions->Asked.empty());
    dialog->Choose(photo);
    importOptions->Cancel();
    ImportCommand()->trigger();
    EXPECT_EQ(importOptions->Asked.size(), 1u);
    EXPECT_EQ(Slot(0), Reference(0));
    EXPECT_TRUE(Box(0)->HasBorder());
    EXPECT_EQ(window->UndoStack()->count(), 0);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(window->StatusBar()->currentMessage(), "");
}

TEST_F(ImportWindowTest, ImportIsGreyedOutOffThePicturePagesAndCtrlIOpensItOnThem) {
    EXPECT_FALSE(ImportCommand()->isEnabled()) << "the window opens on About";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (int page : {0, 3, 1, 4, 2}) {
        window->SSTab1()->setCurrentIndex(page);
        const bool picturePage = page <= frmMain::kDisabledPage;
        EXPECT_EQ(ImportCommand()->isEnabled(), picturePage) << page;
        // A file dialog shown off the picture pages would find no answer and fail the test.
        if (picturePage) dialog->Cancel();
        QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
        EXPECT_TRUE(dialog->Answers.empty()) << page;
    }
    EXPECT_EQ(dialog->ProposedNames.size(), 3u);
    EXPECT_EQ(window->UndoStack()->count(), 0);
}

TEST_F(ImportWindowTest, ADroppedPictureOpensTheOptionsForThePageItLandsOn) {
    const std::string photo = dir.file("photo.png"), gaf = dir.file("icon.GAF");
    WritePhoto(photo, 3);
    testsupport::WriteBytes(gaf, {1, 2, 3});
    window->SSTab1()->setCurrentIndex(frmMain::kDisabledPage);
    // Nothing to import: a web address, no file at all; nor on the other pages. A GAF file is
    // not imported either: it goes on to the window, which opens it in the GAF viewer (this one
    // it refuses).
    EXPECT_TRUE(Drop(2, {Local(gaf)}));
    EXPECT_EQ(TakeMessages(), Strings{"The .GAF file could not be opened."});
    EXPECT_FALSE(Drop(2, {QUrl(QStringLiteral("https://example.org/photo.png"))}));
    EXPECT_FALSE(Drop(2, {}));
    for (int page : {frmMain::kOperationsPage, frmMain::kAboutPage}) EXPECT_FALSE(Page(page)->acceptDrops()) << page;
    EXPECT_TRUE(importOptions->Asked.empty());

    importOptions->Ok(Chosen());
    EXPECT_TRUE(Drop(2, {Local(gaf), Local(photo)}));
    ASSERT_EQ(importOptions->Asked.size(), 1u);
    EXPECT_EQ(importOptions->Asked[0].File, photo);
    EXPECT_EQ(Slot(2), Imported(2, photo, Chosen()));
    EXPECT_EQ(Slot(0), Reference(0));
    EXPECT_EQ(UndoCommand()->text().remove('&'), "Undo Import picture");

    importOptions->Cancel();
    EXPECT_TRUE(Drop(0, {Local(photo)}));
    EXPECT_EQ(Slot(0), Reference(0));
    EXPECT_EQ(window->UndoStack()->count(), 1);
}

TEST_F(ImportWindowTest, GenerationAfterAnImportImportsTheSameFileWithTheSameOptions) {
    const std::string photo = dir.file("photo.png"), dropped = dir.file("dropped.png"), bmp = dir.file("n.bmp");
    WritePhoto(photo, 4);
    WritePhoto(dropped, 5);
    WritePatternBmp(bmp, 96, 96, 6);
    const auto generated = [&](const std::string& file, int TAPic) {
        return Reference(TAPic, [&](classUnitGAF& u) { ASSERT_TRUE(u.AutoImport(file, Chosen().Settings)); });
    };
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    ImportByMenu(photo, Chosen());
    Click("Command28");
    EXPECT_EQ(Slot(1), generated(photo, 1));
    EXPECT_EQ(Slot(2), generated(photo, 2));
    EXPECT_EQ(Progress(), 100);
    EXPECT_EQ(TakeMessages(), Strings{AppTexts::kDone});
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");

    importOptions->Ok(Chosen());
    ASSERT_TRUE(Drop(0, {Local(dropped)}));
    Click("Command28");
    EXPECT_EQ(Slot(1), generated(dropped, 1));
    EXPECT_EQ(Slot(2), generated(dropped, 2));
    TakeMessages();

    // After a BMP load the generation loads that BMP file, as it always has.
    Click("Command1", bmp);
    Click("Command28");
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) { u.LoadBMPPicture(bmp, 1), u.MakePicLighter(1); }));
    EXPECT_EQ(TakeMessages(), Strings{AppTexts::kDone});

    // The imported file gone since: the generation fails at its first step and says why.
    ImportByMenu(photo, Chosen());
    const Picture before = Slot(1);
    std::filesystem::remove(photo);
    Click("Command28");
    EXPECT_EQ(Progress(), 12);  // one step of eight, halves to even
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, AppTexts::kTaskFailed);
    EXPECT_EQ(prompts->Messages[0].Informative.rfind("photo.png: the file cannot be opened", 0), 0u)
        << prompts->Messages[0].Informative;
    EXPECT_EQ(Slot(1), before);
}

TEST_F(ImportWindowTest, AFailedImportSaysWhyWithAWarningAndLeavesTheSlot) {
    const std::string junk = dir.file("junk.png"), photo = dir.file("photo.png");
    testsupport::WriteBytes(junk, {'h', 'e', 'l', 'l', 'o'});
    WritePhoto(photo, 7);
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    dialog->Choose(junk);
    ImportCommand()->trigger();
    EXPECT_TRUE(importOptions->Asked.empty()) << "a file that does not decode shows no options";

    ImportChoices strict;
    strict.Settings.Strict = true;
    ImportByMenu(photo, strict);
    imagefiles::FileFailure why;
    ASSERT_FALSE(import::ImportFile(photo, strict.Settings, &why));

    ASSERT_EQ(prompts->Messages.size(), 2u);
    for (const ShownMessage& shown : prompts->Messages) {
        EXPECT_EQ(shown.Text, "The picture could not be imported.");
        EXPECT_EQ(shown.Title, "Iconwright");
        EXPECT_EQ(shown.Icon, MsgIcon::Warning);
    }
    EXPECT_EQ(prompts->Messages[0].Informative, "junk.png: not a PNG, JPEG, BMP or PCX picture.");
    EXPECT_EQ(prompts->Messages[1].Informative, "photo.png: " + import::DescribeImportFailure(why) + ".");
    EXPECT_EQ(Slot(0), Reference(0));
    EXPECT_TRUE(Box(0)->HasBorder());
    EXPECT_EQ(window->UndoStack()->count(), 0);
}

TEST_F(ImportWindowTest, TheOptionsChosenOnOkStartTheNextImportAlsoInTheNextRun) {
    const std::string photo = dir.file("photo.png");
    WritePhoto(photo, 8);
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    ImportByMenu(photo, Chosen());
    dialog->Choose(photo);
    importOptions->Cancel();
    ImportCommand()->trigger();

    OpenWindow();  // the next run
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    dialog->Choose(photo);
    importOptions->Cancel();
    ImportCommand()->trigger();
    ASSERT_EQ(importOptions->Asked.size(), 1u);
    const import::ImportSettings& start = importOptions->Asked[0].Start.Settings;
    const import::ImportSettings chosen = Chosen().Settings;
    EXPECT_TRUE(start.Fit == chosen.Fit && start.Background == chosen.Background && start.Match == chosen.Match &&
                start.Dither == chosen.Dither && start.Avoid == chosen.Avoid && start.Trim == chosen.Trim &&
                start.Strict == chosen.Strict);
}
