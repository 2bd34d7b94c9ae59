#pragma once
// Runs iconwright-cli's steps in the test process and keeps what it printed; the pictures its
// tests start from.

#include <array>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/PcxBuilder.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace clitest {

using Args = std::vector<std::string>;

struct CliRun {
    int Exit;
    std::string Out, Err;
};

inline CliRun RunTool(const Args& args) {
    CliOutput out, err;
    const int exit = RunCli(args, out, err);
    return {exit, out.Text(), err.Text()};
}

// A 96 x 96 picture of many indices as "in.bmp" and, in a palette of its own, as "IN.PCX".
struct Inputs : testsupport::TempDir {
    std::string Bmp = file("in.bmp"), Pcx = file("IN.PCX");
    Inputs() {
        std::vector<uint8_t> pattern;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x) pattern.push_back(static_cast<uint8_t>((x * 7 + y * 13 + x * y) % 256));
        testsupport::WriteBytes(Bmp, modBmp::EncodeBmp(pattern, modPalettes::GamePalette, 96, 96));
        testsupport::WriteBytes(Pcx, pcxbuild::BuildWithPackets(0, 0, 95, 95, pcxbuild::Encode(pattern)));
    }
};

// A PNG file of one colour.
inline void WriteSolidPng(const std::string& file, int width, int height, std::array<uint8_t, 4> rgba) {
    imagefiles::RgbaPicture picture{width, height, {}};
    for (int i = 0; i < width * height; ++i) picture.Pixels.insert(picture.Pixels.end(), rgba.begin(), rgba.end());
    testsupport::WriteBytes(file, pictureencode::EncodeRgbaPng(picture));
}

}  // namespace clitest
