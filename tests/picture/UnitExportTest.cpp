// The unit's pictures as PCX and PNG files, and the mod's two files for a unit.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "imagefiles/modPCX.h"
#include "imagefiles/modPalettes.h"
#include "picture/UnitExport.h"
#include "picture/UnitName.h"
#include "picture/classUnitGAF.h"
#include "support/PngDecode.h"
#include "support/TestFiles.h"

namespace {

using modPalettes::GamePalette;
using testsupport::ReadBytes;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// A unit whose three slots differ everywhere and whose rows differ from each other.
struct PatternUnit {
    testsupport::TempDir Dir;
    classUnitGAF Unit;
    explicit PatternUnit(const std::string& name) {
        for (int32_t slot = 0; slot < 3; ++slot) {
            Picture pattern;
            for (std::size_t k = 0; k < pattern.size(); ++k)
                pattern[k] = static_cast<uint8_t>(k * 7 + k / 96 * 13 + slot);
            Unit.SetSlot(slot, pattern);
        }
        Unit.Name(name);
    }
};

TEST(SlotFiles, PcxPngAndFramePngHoldTheSlotOrItsReductionInTheGamePalette) {
    PatternUnit unit("armcamp");
    const auto& u = unit.Unit;
    const std::string pcx = unit.Dir.file("s.pcx"), png = unit.Dir.file("s.png"), frame = unit.Dir.file("f.png");
    ASSERT_TRUE(SaveSlotAsPCX(u, 1, pcx) && SaveSlotAsPNG(u, 2, png) && SaveFrameAsPNG(u, 0, frame));
    const auto pcxPicture = modPCX::DecodePcx(ReadBytes(pcx));
    ASSERT_TRUE(pcxPicture);
    EXPECT_EQ(std::tuple(pcxPicture->LastX, pcxPicture->LastY, pcxPicture->Colours), std::tuple(95, 95, GamePalette));
    EXPECT_EQ(pcxPicture->Pixels, Bytes(u.Slot(1)->begin(), u.Slot(1)->end()));
    const auto reduced = u.ReducedFrame(0);
    const std::tuple<std::string, uint32_t, Bytes> pngs[] = {
        {png, 96, Bytes(u.Slot(2)->begin(), u.Slot(2)->end())},
        {frame, 64, Bytes(reduced.begin(), reduced.end())},
    };
    for (const auto& [path, side, pixels] : pngs) {
        const auto stored = pngdecode::Decode(ReadBytes(path));
        ASSERT_TRUE(stored) << path;
        EXPECT_EQ(std::tuple(stored->Header.width, stored->Header.height, stored->Header.color_type),
                  std::tuple(side, side, uint8_t{3}));
        EXPECT_EQ(stored->Pixels, pixels) << path;
        EXPECT_TRUE(std::equal(stored->Colours.begin(), stored->Colours.end(), GamePalette.begin(), GamePalette.end()));
        EXPECT_FALSE(stored->Alphas) << path;  // no transparency in a slot's picture
    }
    for (const auto& save : {SaveSlotAsPCX, SaveSlotAsPNG, SaveFrameAsPNG}) {
        EXPECT_FALSE(save(u, 3, unit.Dir.file("none"), nullptr));
        EXPECT_FALSE(save(u, -1, unit.Dir.file("none"), nullptr));
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
    for (const std::string name : {"", "arm\xCE\xA9", "../arm", "arm\\camp"}) {  // armΩ
        imagefiles::FileFailure why;
        EXPECT_FALSE(UnitFilePaths("mod", name, &why)) << name;
        EXPECT_EQ(std::pair(why.Kind, why.Detail), std::pair(imagefiles::FailureKind::BadName, *UnitNameProblem(name)));
    }
}

// The GAF's bytes themselves are pinned by SaveGadget's test; here its entry takes the unit's name.
TEST(ExportUnit, WritesTheGadgetFileAndTheNormalSlotAsPcxCreatingTheFolders) {
    PatternUnit unit("armcamp");
    const std::string mod = unit.Dir.file("mods/my mod");
    const auto files = ExportUnit(unit.Unit, mod);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->Gadget, testsupport::Joined(mod, "anims/armcamp_GADGET.GAF"));
    EXPECT_EQ(files->UnitPicture, testsupport::Joined(mod, "unitpics/ARMCAMP.PCX"));
    const Bytes gadget = ReadBytes(files->Gadget);
    ASSERT_EQ(gadget.size(), 12440u);
    EXPECT_EQ(std::string(gadget.begin() + 24, gadget.begin() + 32), std::string("ARMCAMP") + '\0');
    const auto picture = modPCX::DecodePcx(ReadBytes(files->UnitPicture));
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::tuple(picture->LastX, picture->LastY, picture->Colours), std::tuple(95, 95, GamePalette));
    EXPECT_EQ(picture->Pixels, Bytes(unit.Unit.Slot(0)->begin(), unit.Unit.Slot(0)->end()));
}

// The two files are one unit: both are written and on the disk before either is renamed into
// place, so whatever stops one leaves both destinations as they were (and no temporary file). The
// reason names the file that failed, with the cause, and says what became of the other.
TEST(ExportUnit, ABadNameMakesNothingAndWhatStopsOneFileLeavesBothAsTheyWere) {
    PatternUnit unit("a/b");  // (the names refused: UnitFilePaths above)
    const std::string mod = unit.Dir.file("mod");
    imagefiles::FileFailure why;
    EXPECT_FALSE(ExportUnit(unit.Unit, mod, &why));
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::BadName);
    EXPECT_FALSE(fs::exists(mod));
    unit.Unit.Name("armcamp");
    const std::string gaf = mod + "/anims/armcamp_GADGET.GAF", pcx = mod + "/unitpics/ARMCAMP.PCX";
    const std::vector<std::tuple<std::function<void()>, std::string>> cases{
        {[&] { testsupport::WriteBytes(mod, {1}); }, gaf + " could not be written (the folder " + mod +
                                                         "/anims: Not a directory); " + pcx +
                                                         " was not written either"},
        {[&] { fs::create_directories(mod + "/anims"), testsupport::WriteBytes(mod + "/unitpics", {1}); },
         pcx + " could not be written (the folder " + mod + "/unitpics: Not a directory); " + gaf +
             " was not written either"},
        {[&] {
             fs::create_directories(pcx), fs::create_directories(mod + "/anims"),
                 testsupport::WriteBytes(gaf, {1, 2, 3});
         },
         pcx + " could not be written (a folder); " + gaf + " was not written either"},
    };
    for (const auto& [inTheWay, detail] : cases) {
        fs::remove_all(mod);
        inTheWay();
        imagefiles::FileFailure why;
        EXPECT_FALSE(ExportUnit(unit.Unit, mod, &why)) << detail;
        EXPECT_EQ(std::pair(why.Kind, why.Detail), std::pair(imagefiles::FailureKind::CannotWrite, detail));
        if (fs::is_regular_file(gaf)) {
            EXPECT_EQ(ReadBytes(gaf), (Bytes{1, 2, 3})) << detail;
        }
        for (const char* folder : {"/anims", "/unitpics"}) {
            if (!fs::is_directory(mod + folder)) continue;
            for (const auto& entry : fs::directory_iterator(mod + folder))
                EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
        }
    }
}

}  // namespace
