// The File menu's GAF commands on the real window: opening a GAF file in the viewer (from the
// menu, the keyboard and a drop), the reasons for a refused file, and exporting the unit's two
// files into a mod's folder.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <filesystem>

#include "GafViewerSupport.h"
#include "WindowTestSupport.h"
#include "app/GafViewer.h"
#include "gaf/GafFile.h"
#include "imagefiles/PcxWriter.h"
#include "picture/UnitExport.h"
#include "support/GafBuilder.h"

using namespace apptest;
using namespace gafviewertest;

namespace {

class FileMenuTest : public WindowTest {
protected:
    QList<GafViewer*> Viewers() const { return window->findChildren<GafViewer*>(); }
    void OpenGaf(const std::string& file) {
        dialog->Choose(file);
        MenuCommand("File", "Open GAF...")->trigger();
        QApplication::processEvents();
    }
    void ExportUnit(const std::string& name, const std::string& folder = {}) {
        prompts->InputAnswers = {name};
        if (!folder.empty()) dialog->Choose(folder);
        MenuCommand("File", "Export unit...")->trigger();
    }
    // Drags file over a page (the current one by default) and drops it there, as Qt hands the
    // events on: to the page, and up to the window when the page does not take them. Whether
    // the drag was taken.
    bool Drop(const std::string& file, int page = -1) {
        QWidget* target = window->SSTab1()->widget(page < 0 ? window->SSTab1()->currentIndex() : page);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        const QPoint at(200, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QApplication::processEvents();  // the file is opened once the drop has finished
        return drop.isAccepted();
    }
    std::string WrittenGadget(const std::string& name) {
        classUnitGAF unit;
        unit.AddBlackCross(0, 3), unit.AddGrid(1), unit.MakePicGrey(2), unit.AddCavedogLikeBorder(2);
        const std::string file = dir.file(name + "_GADGET.GAF");
        EXPECT_TRUE(unit.SaveGadget(file, name));
        return file;
    }
};

TEST_F(FileMenuTest, OpenGafShowsTheFileInAViewerAndLeavesTheGenerationItsPicture) {
    const std::string picture = dir.file("normal.bmp");
    WritePatternBmp(picture, 96, 96, 52);
    Click("Command1", picture);
    const std::string gadget = WrittenGadget("corkrog");

    OpenGaf(gadget);
    EXPECT_EQ(dialog->OfferedFilters.back(), "GAF files (*.gaf)|*.gaf");
    EXPECT_EQ(dialog->ProposedNames.back(), "");
    ASSERT_EQ(Viewers().size(), 1);
    GafViewer* viewer = Viewers().front();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->Filename(), gadget);
    auto* entries = viewer->findChild<QListWidget*>(QStringLiteral("Entries"));
    auto* frames = viewer->findChild<QListWidget*>(QStringLiteral("Frames"));
    ASSERT_TRUE(entries && frames);
    EXPECT_EQ(entries->count(), 1);
    EXPECT_EQ(entries->item(0)->text(), "CORKROG");
    EXPECT_EQ(frames->count(), 3);
    frames->setCurrentRow(2);
    EXPECT_EQ(viewer->findChild<QLabel*>(QStringLiteral("FrameWidth"))->text(), "64");
    EXPECT_EQ(viewer->findChild<QLabel*>(QStringLiteral("FrameCompressed"))->text(), "No");
    const gaf::DecodedFrame& third = viewer->Gaf().Entries[0].Frames[2];
    EXPECT_EQ(Drawn(viewer->findChild<GafFrameView*>(QStringLiteral("Frame1x"))), ExpectedDrawing(third, 1));
    EXPECT_TRUE(TakeMessages().empty());

    // The dialog names the picture again: the generation still builds on it.
    EXPECT_EQ(dialog->FileName, picture);
    EXPECT_EQ(dialog->DefaultExt, "bmp");
    Click("Command28");
    EXPECT_EQ(Slot(2), Reference(2, [&](classUnitGAF& u) { u.LoadBMPPicture(picture, 2), u.MakePicGrey(2); }));

    // A second file opens beside the first; a closed viewer is gone.
    OpenGaf(gadget);
    EXPECT_EQ(Viewers().size(), 2);
    viewer->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Viewers().size(), 1);

    dialog->Cancel();
    MenuCommand("File", "Open GAF...")->trigger();
    EXPECT_EQ(Viewers().size(), 1);
    EXPECT_EQ(dialog->FileName, picture);
}

TEST_F(FileMenuTest, RefusedFilesShowTheirReasonAndOpenNothing) {
    testsupport::WriteBytes(dir.file("short.gaf"), {0x00, 0x01, 0x01});
    auto broken = gafbuild::Build({{.Name = "FX", .Frames = {gafbuild::Compressed(4, 2, {1, 2, 3, 4, 5, 6, 7, 8})}}});
    broken.Bytes.resize(broken.Bytes.size() - 3);
    testsupport::WriteBytes(dir.file("broken.gaf"), broken.Bytes);
    imagefiles::FileFailure why;
    ASSERT_FALSE(gaf::DecodeGaf(broken.Bytes, &why));
    ASSERT_FALSE(why.Detail.empty());
    const std::string brokenReason = static_cast<char>(std::toupper(why.Detail[0])) + why.Detail.substr(1) + ".";

    const std::pair<std::string, std::string> rows[] = {
        {dir.file("short.gaf"), "Not a GAF file: 3 bytes are too few."},
        {dir.file("missing.gaf"), "The file cannot be opened."},
        {dir.file("broken.gaf"), brokenReason},
    };
    for (const auto& [file, reason] : rows) {
        OpenGaf(file);
        ASSERT_EQ(prompts->Messages.size(), 1u) << file;
        EXPECT_EQ(prompts->Messages[0].Text, "The .GAF file could not be opened.");
        EXPECT_EQ(prompts->Messages[0].Informative, reason);
        prompts->Messages.clear();
        EXPECT_TRUE(Viewers().empty()) << file;
    }
}

TEST_F(FileMenuTest, KeyboardAndDropsOpenGafFilesAndOnlyThem) {
    EXPECT_EQ(MenuCommand("File", "Open GAF...")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(MenuCommand("File", "Export unit...")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::string gadget = WrittenGadget("armcamp");
    dialog->Choose(gadget);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Viewers().size(), 1);
    prompts->InputAnswers = {""};
    QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(TakeMessages(), Strings{"You can't save without specifying your units UNITNAME"});

    const std::string upper = dir.file("UPPER.GAF"), picture = dir.file("picture.bmp");
    std::filesystem::copy_file(gadget, upper);
    WritePatternBmp(picture, 96, 96, 53);
    // On a picture page, which imports pictures dropped on it, and on the About page.
    window->SSTab1()->setCurrentIndex(frmMain::kHighlightedPage);
    const Picture before = Slot(1);
    EXPECT_TRUE(Drop(upper));
    ASSERT_EQ(Viewers().size(), 2);
    EXPECT_EQ(Viewers().back()->Filename(), upper);
    EXPECT_EQ(Slot(1), before);
    EXPECT_TRUE(Drop(gadget, frmMain::kAboutPage));
    EXPECT_EQ(Viewers().size(), 3);
    EXPECT_FALSE(Drop(picture, frmMain::kAboutPage)) << "a picture is no GAF file";
    testsupport::WriteBytes(dir.file("bad.gaf"), {1, 2, 3, 4, 5});
    EXPECT_TRUE(Drop(dir.file("bad.gaf")));
    EXPECT_EQ(Viewers().size(), 3);
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Informative,
              "Not a GAF file: it starts with 0x04030201, not the version 0x00010100.");
    EXPECT_TRUE(dialog->Answers.empty());
}

TEST_F(FileMenuTest, ExportUnitWritesTheGafAndThePcxIntoTheModAndSaysWhere) {
    const std::string picture = dir.file("normal.bmp"), mod = dir.file("mymod");
    WritePatternBmp(picture, 96, 96, 54);
    Click("Command1", picture);
    Click("Command4");
    Click("Command28");
    ASSERT_EQ(TakeMessages().size(), 1u);  // the generation's "Done!"

    ExportUnit("armcamp", mod);
    EXPECT_EQ(dialog->FolderTitles, Strings{"Choose the mod's folder (the files go into its anims and unitpics)"});
    const std::string gadget = mod + "/anims/armcamp_GADGET.GAF", unitpic = mod + "/unitpics/ARMCAMP.PCX";
    EXPECT_EQ(TakeMessages(), Strings{"The unit's files were written:\n" + gadget + "\n" + unitpic});
    EXPECT_EQ(window->MessagePanel()->text(), "Completed");
    EXPECT_EQ(window->UnitGAF().Name(), "armcamp");

    // The same bytes as the export itself gives, which are SaveGadget's file and the normal
    // picture as a PCX file.
    testsupport::TempDir reference;
    ASSERT_TRUE(::ExportUnit(window->UnitGAF(), reference.path().string()));
    EXPECT_EQ(FilesUnder(mod), FilesUnder(reference.path()));
    EXPECT_EQ(FilesUnder(mod).size(), 2u);
    const classUnitGAF& unit = window->UnitGAF();
    EXPECT_EQ(testsupport::ReadBytes(gadget),
              gaf::BuildGadgetFile("ARMCAMP", {unit.ReducedFrame(0), unit.ReducedFrame(1), unit.ReducedFrame(2)}));
    EXPECT_EQ(testsupport::ReadBytes(unitpic), modPCX::EncodePcx(Slot(0), modPalettes::GamePalette, 96, 96));

    // The next export opens where the last one went; a cancelled folder writes nothing.
    prompts->InputAnswers = {"corkrog"};
    dialog->Cancel();
    MenuCommand("File", "Export unit...")->trigger();
    EXPECT_EQ(dialog->StartFolders.back(), mod);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(FilesUnder(mod).size(), 2u);
}

TEST_F(FileMenuTest, NamesTheFilesCannotCarryAreRefusedBeforeTheFolderDialog) {
    const struct {
        std::string Name;
        std::string Text;
        std::string Informative;
    } rows[] = {
        {"", "You can't save without specifying your units UNITNAME", ""},
        {"Tank€éΩ", "The unit's files could not be written.",
         "The unit name has \"Ω\", a character the game cannot store. Use only Western European letters, digits and "
         "signs (Windows-1252)."},
        {"arm/camp", "The unit's files could not be written.",
         "The unit name holds a '/', which cannot be part of a file name."},
    };
    for (const auto& row : rows) {
        ExportUnit(row.Name);  // no folder is scripted: a folder dialog would fail the test
        ASSERT_EQ(prompts->Messages.size(), 1u) << row.Name;
        EXPECT_EQ(prompts->Messages[0].Text, row.Text) << row.Name;
        EXPECT_EQ(prompts->Messages[0].Informative, row.Informative) << row.Name;
        prompts->Messages.clear();
    }
    EXPECT_TRUE(dialog->FolderTitles.empty());
    EXPECT_TRUE(FilesUnder(dir.path()).empty());
}

TEST_F(FileMenuTest, AnExportThatCannotWriteSaysWhy) {
    testsupport::WriteBytes(dir.file("taken"), {1});  // a file where the mod's folder should be
    ExportUnit("armcamp", dir.file("taken"));
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "The unit's files could not be written.");
    EXPECT_EQ(prompts->Messages[0].Informative, "The folder " + dir.file("taken") + "/anims cannot be made.");
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
}

}  // namespace
