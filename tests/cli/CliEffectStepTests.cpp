// The steps that change slots: loads, effects and --auto, each compared with the picture set's
// own operation on every slot, so that a wrong operation, a wrong argument, a wrong slot or a
// wrong reader all show.

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "cli/CliTestSupport.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace {

using Slots = std::array<std::vector<uint8_t>, 3>;

struct Inputs {
    std::string Bmp;  // the pattern as BMP, under a name that holds but does not end in ".pcx"
    std::string Pcx;  // the pattern as PCX with its colours at other indices, named in capitals
};

struct SlotCase {
    std::vector<std::string> Steps;  // "BMP" and "PCX" stand for the input files
    std::function<void(classUnitGAF&, const Inputs&)> Direct;
    bool Changes = true;
};

Inputs MakeInputs(const testsupport::TempDir& dir) {
    const Inputs inputs{dir.file("pattern.pcx.bmp"), dir.file("PATTERN.PCX")};
    const Picture pattern = clitest::PatternPicture();
    testsupport::WriteBytes(inputs.Bmp, clitest::BmpFileOf(pattern));
    Palette reversed{};
    for (size_t i = 0; i < 256; ++i) reversed[i] = modPalettes::GamePalette[255 - i];
    testsupport::WriteBytes(inputs.Pcx, clitest::PcxFileOf({pattern.begin(), pattern.end()}, 96, reversed));
    return inputs;
}

// Loads the pattern into every slot, applies Change, and gives the three slots as BMP files.
Slots DirectSlots(const Inputs& inputs, const std::function<void(classUnitGAF&, const Inputs&)>& change) {
    classUnitGAF unit;
    for (int32_t slot = 0; slot < 3; ++slot) EXPECT_TRUE(unit.LoadBMPPicture(inputs.Bmp, slot));
    change(unit, inputs);
    Slots files;
    for (int32_t slot = 0; slot < 3; ++slot) files[static_cast<size_t>(slot)] = clitest::BmpFileOf(*unit.Slot(slot));
    return files;
}

TEST(CliSlotSteps, EachStepEqualsThePictureSetOperation) {
    using U = classUnitGAF;
    using I = Inputs;
    const std::vector<SlotCase> cases{
        {{"--border", "highlighted"}, [](U& u, const I&) { u.AddCavedogLikeBorder(1, 1); }},
        {{"--lighter", "disabled"}, [](U& u, const I&) { u.MakePicLighter(2); }},
        {{"--grey", "normal"}, [](U& u, const I&) { u.MakePicGrey(0); }},
        {{"--grid", "2"}, [](U& u, const I&) { u.AddGrid(2); }},
        {{"--grey", "1", "--lighter", "1"}, [](U& u, const I&) { u.MakePicGrey(1); u.MakePicLighter(1); }},
        // Every slot name, as a word and as a number.
        {{"--fill", "normal", "7"}, [](U& u, const I&) { u.ResetToBackground(0, 7); }},
        {{"--fill", "0", "7"}, [](U& u, const I&) { u.ResetToBackground(0, 7); }},
        {{"--fill", "highlighted", "42"}, [](U& u, const I&) { u.ResetToBackground(1, 42); }},
        {{"--fill", "1", "42"}, [](U& u, const I&) { u.ResetToBackground(1, 42); }},
        {{"--fill", "disabled", "0"}, [](U& u, const I&) { u.ResetToBackground(2, 0); }},
        {{"--fill", "2", "0"}, [](U& u, const I&) { u.ResetToBackground(2, 0); }},
        // A COLOR outside 0 to 255, even beyond 16 bits, changes nothing and is no error.
        {{"--fill", "0", "256"}, [](U&, const I&) {}, false},
        {{"--fill", "1", "-1"}, [](U&, const I&) {}, false},
        {{"--fill", "2", "40000"}, [](U&, const I&) {}, false},
        {{"--fill", "2", "-99999999999999999999"}, [](U&, const I&) {}, false},
        // The SIZE by the cross prompt's rules: spaces, a sign, a fraction rounded half to even.
        {{"--cross", "0", " 2.5 "}, [](U& u, const I&) { u.AddBlackCross(0, 2); }},
        {{"--cross", "0", "3.5"}, [](U& u, const I&) { u.AddBlackCross(0, 4); }},
        {{"--cross", "1", "+7"}, [](U& u, const I&) { u.AddBlackCross(1, 7); }},
        {{"--load-pcx", "1", "PCX"}, [](U& u, const I& in) { EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 1)); }},
        // --auto: PCX reader for a name ending in .pcx in any case, BMP reader otherwise; the
        // normal slot is left alone.
        {{"--fill", "0", "9", "--auto", "PCX"}, [](U& u, const I& in) {
             u.ResetToBackground(0, 9);
             EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 1) && u.LoadPCXPicture(in.Pcx, 2));
             u.MakePicLighter(1); u.MakePicGrey(2);
         }},
        {{"--fill", "1", "9", "--fill", "2", "9", "--auto", "BMP"}, [](U& u, const I&) {
             u.MakePicLighter(1); u.MakePicGrey(2);
         }},
    };

    testsupport::TempDir dir;
    const Inputs inputs = MakeInputs(dir);
    const Slots untouched = DirectSlots(inputs, [](U&, const I&) {});
    for (const SlotCase& c : cases) {
        std::vector<std::string> args;
        for (const char* slot : {"0", "1", "2"}) args.insert(args.end(), {"--load-bmp", slot, inputs.Bmp});
        for (const std::string& word : c.Steps) args.push_back(word == "BMP" ? inputs.Bmp : word == "PCX" ? inputs.Pcx : word);
        for (const char* slot : {"0", "1", "2"}) args.insert(args.end(), {"--save-bmp", slot, dir.file(slot)});
        SCOPED_TRACE(testing::PrintToString(c.Steps));

        const auto run = clitest::RunTool(args);
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const Slots expected = DirectSlots(inputs, c.Direct);
        for (size_t slot = 0; slot < 3; ++slot) {
            EXPECT_EQ(testsupport::ReadBytes(dir.file(std::to_string(slot))), expected[slot]) << "slot " << slot;
        }
        EXPECT_EQ(expected != untouched, c.Changes) << "whether the case changes anything";
    }
}

}  // namespace
