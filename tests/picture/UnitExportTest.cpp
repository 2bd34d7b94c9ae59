// The unit's pictures as PCX and PNG files, and the mod's two files for a unit.
#include <gtest/gtest.h>

#include <filesystem>

#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPCX.h"
#include "imagefiles/modPalettes.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace {

using modPalettes::GamePalette;
using testsupport::ReadBytes;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// A unit whose three slots differ everywhere: a pattern, then lighter, then grey.
struct PatternUnit {
    testsupport::TempDir Dir;
    classUnitGAF Unit;
    explicit PatternUnit(const std::string& name) {
        Bytes pattern(96 * 96);
        for (std::size_t k = 0; k < pattern.size(); ++k) pattern[k] = static_cast<uint8_t>(k * 7 + k / 96 * 13);
        testsupport::WriteBytes(Dir.file("in.bmp"), modBmp::EncodeBmp(pattern, GamePalette, 96, 96));
        for (int32_t slot = 0; slot < 3; ++slot) EXPECT_TRUE(Unit.LoadBMPPicture(Dir.file("in.bmp"), slot));
        Unit.MakePicLighter(1), Unit.MakePicGrey(2), Unit.Name(name);
    }
};

TEST(SlotFiles, PcxPngAndFramePngHoldTheSlotOrItsReductionInTheGamePalette) {
    PatternUnit unit("armcamp");
    const auto& u = unit.Unit;
    const std::string pcx = unit.Dir.file("s.pcx"), png = unit.Dir.file("s.png"), frame = unit.Dir.file("f.png");
    ASSERT_TRUE(SaveSlotAsPCX(u, 1, pcx) && SaveSlotAsPNG(u, 2, png) && SaveFrameAsPNG(u, 0, frame));
    EXPECT_EQ(ReadBytes(pcx), modPCX::EncodePcx(*u.Slot(1), GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(png), modPNG::EncodePng(*u.Slot(2), GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(frame), modPNG::EncodePng(u.ReducedFrame(0), GamePalette, 64, 64));
    for (const auto& save : {SaveSlotAsPCX, SaveSlotAsPNG, SaveFrameAsPNG}) {
        EXPECT_FALSE(save(u, 3, unit.Dir.file("none")));
        EXPECT_FALSE(save(u, -1, unit.Dir.file("none")));
    }
    EXPECT_FALSE(fs::exists(unit.Dir.file("none")));
}

TEST(UnitFilePaths, TheNameAsGivenForTheGafAndUpperCasedForThePicture) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"armcamp", "mod/anims/armcamp_GADGET.GAF", "mod/unitpics/ARMCAMP.PCX"},
        {"\xC5\xA1\xC3\xBF-1", "mod/anims/\xC5\xA1\xC3\xBF-1_GADGET.GAF",
         "mod/unitpics/\xC5\xA0\xC5\xB8-1.PCX"},  // šÿ-1
        {"..", "mod/anims/.._GADGET.GAF", "mod/unitpics/...PCX"},
    };
    for (const auto& [name, gadget, picture] : cases) {
        const auto files = UnitFilePaths("mod", name);
        ASSERT_TRUE(files) << name;
        EXPECT_EQ(
            std::pair(files->Gadget, files->UnitPicture),
            std::pair(testsupport::Joined("mod", gadget.substr(4)), testsupport::Joined("mod", picture.substr(4))));
    }
    const std::vector<std::pair<std::string, std::string>> refused{
        {"", "the unit name is empty"},
        {"arm\xCE\xA9", "the unit name has a character that Windows-1252 has no code for"},  // armΩ
        {"../arm", "the unit name holds a '/', which cannot be part of a file name"},
    };
    for (const auto& [name, detail] : refused) {
        imagefiles::FileFailure why;
        EXPECT_FALSE(UnitFilePaths("mod", name, &why)) << name;
        EXPECT_EQ(std::pair(why.Kind, why.Detail), std::pair(imagefiles::FailureKind::BadName, detail));
    }
}

TEST(ExportUnit, WritesTheGadgetFileAndTheNormalSlotAsPcxCreatingTheFolders) {
    PatternUnit unit("armcamp");
    const std::string mod = unit.Dir.file("mods/my mod");
    const auto files = ExportUnit(unit.Unit, mod);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->Gadget, testsupport::Joined(mod, "anims/armcamp_GADGET.GAF"));
    EXPECT_EQ(files->UnitPicture, testsupport::Joined(mod, "unitpics/ARMCAMP.PCX"));
    ASSERT_TRUE(unit.Unit.SaveGadget(unit.Dir.file("direct.GAF")));
    EXPECT_EQ(ReadBytes(files->Gadget), ReadBytes(unit.Dir.file("direct.GAF")));
    const auto picture = modPCX::DecodePcx(ReadBytes(files->UnitPicture));
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::pair(picture->LastX, picture->LastY), std::pair(95, 95));
    EXPECT_EQ(picture->Pixels, Bytes(unit.Unit.Slot(0)->begin(), unit.Unit.Slot(0)->end()));
    EXPECT_EQ(picture->Colours, GamePalette);
}

TEST(ExportUnit, ABadNameMakesNothingAndAFolderOrFileInTheWayIsNamed) {
    PatternUnit unit("a/b");  // (the names refused: UnitFilePaths above)
    const std::string mod = unit.Dir.file("mod");
    imagefiles::FileFailure why;
    EXPECT_FALSE(ExportUnit(unit.Unit, mod, &why));
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::BadName);
    EXPECT_FALSE(fs::exists(mod));
    unit.Unit.Name("armcamp");
    const std::vector<std::tuple<std::function<void()>, std::string, bool>> cases{
        {[&] { testsupport::WriteBytes(mod, {1}); },
         "the folder " + testsupport::Joined(mod, "anims") + " cannot be made", false},
        {[&] { fs::create_directories(mod + "/anims"), testsupport::WriteBytes(mod + "/unitpics", {1}); },
         "the folder " + testsupport::Joined(mod, "unitpics") + " cannot be made", false},
        {[&] { fs::create_directories(mod + "/anims/armcamp_GADGET.GAF"); },
         testsupport::Joined(mod, "anims/armcamp_GADGET.GAF") + " cannot be written", false},
        // The GAF file is written first and stays when the picture cannot be.
        {[&] { fs::create_directories(mod + "/unitpics/ARMCAMP.PCX"); },
         testsupport::Joined(mod, "unitpics/ARMCAMP.PCX") + " cannot be written", true},
    };
    for (const auto& [inTheWay, detail, gadgetWritten] : cases) {
        fs::remove_all(mod);
        inTheWay();
        imagefiles::FileFailure why;
        EXPECT_FALSE(ExportUnit(unit.Unit, mod, &why)) << detail;
        EXPECT_EQ(std::pair(why.Kind, why.Detail), std::pair(imagefiles::FailureKind::CannotWrite, detail));
        EXPECT_EQ(fs::is_regular_file(mod + "/anims/armcamp_GADGET.GAF"), gadgetWritten) << detail;
    }
}

}  // namespace
