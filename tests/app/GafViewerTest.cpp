// The GAF viewer on its own: entries, frames and fields, the frames drawn in the game palette
// over a checkerboard where the file leaves pixels empty, and exporting the frames as PNG files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>
#include <map>

#include "GafViewerSupport.h"
#include "ScriptedDialogs.h"
#include "app/GafFrameView.h"
#include "app/GafViewer.h"
#include "gaf/GafExtraction.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/GafBuilder.h"
#include "support/TestFiles.h"

using namespace gafviewertest;

namespace {

using Strings = std::vector<std::string>;

class GafViewerTest : public ::testing::Test {
protected:
    void Open(const Bytes& file) {
        testsupport::WriteBytes(dir.file("opened.gaf"), file);
        auto decoded = gaf::ReadGafFile(dir.file("opened.gaf"));
        ASSERT_TRUE(decoded);
        viewer = std::make_unique<GafViewer>(std::move(*decoded), dir.file("opened.gaf"), dialog, prompts);
        viewer->show();
        QApplication::processEvents();
    }
    template <class Widget>
    Widget* Find(const char* name) const {
        auto* widget = viewer->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    Strings Items(const char* list) const {
        Strings items;
        const auto* widget = Find<QListWidget>(list);
        for (int i = 0; i < widget->count(); ++i) items.push_back(widget->item(i)->text().toStdString());
        return items;
    }
    Strings Fields() const {
        Strings texts;
        for (const char* name :
             {"FrameWidth", "FrameHeight", "FrameX", "FrameY", "FrameTransparency", "FrameCompressed", "FrameLayers"}) {
            texts.push_back(Find<QLabel>(name)->text().toStdString());
        }
        return texts;
    }
    void Select(const char* list, int row) { Find<QListWidget>(list)->setCurrentRow(row); }
    Strings TakeMessages() {
        Strings texts;
        for (const ShownMessage& m : prompts.Messages) texts.push_back(m.Text);
        prompts.Messages.clear();
        return texts;
    }

    testsupport::TempDir dir;
    ScriptedCommonDialog dialog;
    ScriptedPrompts prompts;
    std::unique_ptr<GafViewer> viewer;
};

TEST_F(GafViewerTest, BuildMenuFileShowsItsEntryFramesFieldsAndGameColours) {
    classUnitGAF unit;
    for (int k = 0; k < 3; ++k) unit.AddBlackCross(k, static_cast<int16_t>(2 + 3 * k));
    unit.AddCavedogLikeBorder(0);
    unit.AddGrid(2);
    unit.MakePicGrey(1);
    ASSERT_TRUE(unit.SaveGadget(dir.file("armcamp_GADGET.GAF"), "armcamp"));
    Open(testsupport::ReadBytes(dir.file("armcamp_GADGET.GAF")));

    EXPECT_EQ(viewer->windowTitle(), "opened.gaf - GAF file");
    EXPECT_EQ(Items("Entries"), Strings{"ARMCAMP"});
    EXPECT_EQ(Items("Frames"), (Strings{"Frame 0 (64 x 64)", "Frame 1 (64 x 64)", "Frame 2 (64 x 64)"}));
    EXPECT_EQ(Fields(), (Strings{"64", "64", "0", "0", "9", "No", "0"}));
    for (int k = 0; k < 3; ++k) {
        Select("Frames", k);
        const auto reduced = unit.ReducedFrame(k);
        const gaf::DecodedFrame* shown = viewer->CurrentFrame();
        ASSERT_NE(shown, nullptr);
        ASSERT_EQ(shown->Pixels, Bytes(reduced.begin(), reduced.end())) << k;
        EXPECT_EQ(Drawn(Find<GafFrameView>("Frame1x")), ExpectedDrawing(*shown, 1)) << k;
        EXPECT_EQ(Drawn(Find<GafFrameView>("Frame2x")), ExpectedDrawing(*shown, 2)) << k;
        EXPECT_EQ(Find<GafFrameView>("Frame2x")->size(), QSize(128, 128));
    }
}

TEST_F(GafViewerTest, CompressedAndLayeredFramesShowTheirFieldsAndTheCheckerboardWhereEmpty) {
    using gafbuild::Compressed;
    using gafbuild::Raw;
    Bytes runs(20 * 12);
    for (std::size_t k = 0; k < runs.size(); ++k)
        runs[k] = (k / 5 + k / 20) % 3 == 0 ? 200 : static_cast<uint8_t>(k * 7);
    const Bytes nine{9, 1, 9, 2, 9, 3};
    const auto file = gafbuild::Build({
        {.Name = "FX", .Frames = {Compressed(20, 12, runs, 3, -2, 200), Raw(3, 2, nine, -7, 5)}},
        {.Name = ""},
        {.Name = "LAYERS",
         .Frames = {{.Width = 24,
                     .Height = 18,
                     .X = 12,
                     .Y = 9,
                     .Transparency = 0,
                     .Layers = {Compressed(10, 10, Bytes(100, 44), 4, 4, 9), Raw(4, 4, Bytes(16, 77), -8, -6)}}}},
    });
    Open(file.Bytes);
    EXPECT_EQ(Items("Entries"), (Strings{"FX", "(no name)", "LAYERS"}));
    EXPECT_EQ(Items("Frames"), (Strings{"Frame 0 (20 x 12)", "Frame 1 (3 x 2)"}));
    EXPECT_EQ(Fields(), (Strings{"20", "12", "3", "-2", "200", "Yes", "0"}));
    const gaf::DecodedFrame& compressed = viewer->Gaf().Entries[0].Frames[0];
    ASSERT_EQ(viewer->CurrentFrame(), &compressed);
    const std::vector<uint32_t> drawn2x = Drawn(Find<GafFrameView>("Frame2x"));
    EXPECT_EQ(Drawn(Find<GafFrameView>("Frame1x")), ExpectedDrawing(compressed, 1));
    EXPECT_EQ(drawn2x, ExpectedDrawing(compressed, 2));
    // Both checkerboard colours show through at twice the size (squares of 8 view pixels).
    EXPECT_NE(std::count(drawn2x.begin(), drawn2x.end(), GafFrameView::kCheckerLight & 0xFFFFFFu), 0);
    EXPECT_NE(std::count(drawn2x.begin(), drawn2x.end(), GafFrameView::kCheckerDark & 0xFFFFFFu), 0);

    Select("Frames", 1);  // raw: index 9 is a colour
    EXPECT_EQ(Fields(), (Strings{"3", "2", "-7", "5", "9", "No", "0"}));
    EXPECT_EQ(Drawn(Find<GafFrameView>("Frame1x")), ExpectedDrawing(viewer->Gaf().Entries[0].Frames[1], 1));

    Select("Entries", 1);  // an entry without frames shows nothing
    EXPECT_TRUE(Items("Frames").empty());
    EXPECT_EQ(Fields(), Strings(7, ""));
    EXPECT_EQ(viewer->CurrentFrame(), nullptr);
    EXPECT_EQ(Find<GafFrameView>("Frame1x")->size(), QSize(0, 0));

    Select("Entries", 2);
    EXPECT_EQ(Fields(), (Strings{"24", "18", "12", "9", "0", "No", "2"}));
    const gaf::DecodedFrame& layered = viewer->Gaf().Entries[2].Frames[0];
    EXPECT_EQ(Drawn(Find<GafFrameView>("Frame1x")), ExpectedDrawing(layered, 1));
    EXPECT_EQ(Drawn(Find<GafFrameView>("Frame2x")), ExpectedDrawing(layered, 2));
}

TEST_F(GafViewerTest, ExportWritesWhatExtractionWritesAndSaysHowManyAndWhere) {
    using gafbuild::Raw;
    const auto file = gafbuild::Build({
        {.Name = "ARMCAMP",
         .Frames = {Raw(4, 4, Bytes(16, 9)), gafbuild::Compressed(3, 2, {1, 9, 2, 200, 200, 200}, 0, 0, 200)}},
        {.Name = "ARMCAMP", .Frames = {{.Width = 2, .Height = 2, .Transparency = 0, .Layers = {Raw(1, 1, {5})}}}},
        {.Name = "EMPTY"},
        {.Name = "a/b", .Frames = {Raw(1, 1, {7})}},
    });
    Open(file.Bytes);
    const std::filesystem::path reference = dir.path() / "reference";
    ASSERT_TRUE(gaf::ExtractGafFrames(viewer->Gaf(), reference.string(), {}));

    dialog.Choose(dir.file("exported"));
    Find<QPushButton>("ExportFrames")->click();
    EXPECT_EQ(dialog.FolderTitles, Strings{"Choose a folder for the frames"});
    EXPECT_EQ(FilesUnder(dir.path() / "exported"), FilesUnder(reference));
    EXPECT_EQ(FilesUnder(reference).size(), 4u);
    EXPECT_EQ(TakeMessages(), Strings{"4 PNG files were written to " + dir.file("exported") + "."});

    dialog.Cancel();
    Find<QPushButton>("ExportFrames")->click();
    EXPECT_TRUE(TakeMessages().empty());

    // The second entry's folder is taken by a file: the first entry's two files are written,
    // then the export stops with the reason.
    std::filesystem::create_directories(dir.path() / "blocked");
    testsupport::WriteBytes(dir.path() / "blocked" / "ARMCAMP~2", {1});
    dialog.Choose(dir.file("blocked"));
    Find<QPushButton>("ExportFrames")->click();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Informative,
              "The folder " + dir.file("blocked") + "/ARMCAMP~2 cannot be made. 2 PNG files were written before it.");
    EXPECT_EQ(TakeMessages(), Strings{"The frames could not all be written."});
    EXPECT_EQ(FilesUnder(dir.path() / "blocked").size(), 3u);
}

TEST_F(GafViewerTest, OneFrameIsTheSingular) {
    Open(gafbuild::Build({{.Name = "ONE", .Frames = {gafbuild::Raw(1, 1, {7})}}}).Bytes);
    dialog.Choose(dir.file("one"));
    Find<QPushButton>("ExportFrames")->click();
    EXPECT_EQ(TakeMessages(), Strings{"1 PNG file was written to " + dir.file("one") + "."});
}

}  // namespace
