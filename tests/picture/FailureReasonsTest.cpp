// The sentences beneath a refused picture or a failed write: the file's own name, what is wrong,
// and what to do, in the words of the interface that asks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/FailureReasons.h"

namespace {

using imagefiles::FailureKind;
using imagefiles::FileFailure;

constexpr ImportCommandWords kWindow{"File > Import picture...", "Import picture", "Load BMP", "Load PCX"};
constexpr ImportCommandWords kCli{"--import", "--import", "--load-bmp", "--load-pcx"};

struct LoadCase {
    FileFailure Failure;
    ImportCommandWords Words;
    std::string Expected;
};

TEST(FailureReasons, ALoadFailureNamesTheFileTheFaultAndTheWayOut) {
    const std::vector<LoadCase> cases{
        {{FailureKind::OtherKind, "PNG"},
         kWindow,
         "armcamp.png is a PNG picture. Use File > Import picture... to bring it in."},
        {{FailureKind::OtherKind, "BMP"}, kWindow, "armcamp.png is a BMP picture. Use Load BMP to load it."},
        {{FailureKind::OtherKind, "PCX"}, kCli, "armcamp.png is a PCX picture. Use --load-pcx to load it."},
        {{FailureKind::OtherKind, "GIF"},
         kWindow,
         "armcamp.png is a GIF picture, which Iconwright cannot read. Save it as PNG, BMP or PCX in your drawing "
         "program."},
        {{FailureKind::WrongSize, "64 x 64"},
         kCli,
         "armcamp.png is 64 x 64 pixels; pictures must be 96 x 96 (--import can fit it)."},
        {{FailureKind::Unsupported, "24-bit colour"},
         kWindow,
         "armcamp.png is stored in a way Load BMP and Load PCX do not take (24-bit colour); they take 256-colour "
         "pictures. Use File > Import picture... to bring it in."},
        {{FailureKind::Truncated, "the pixel rows"},
         kWindow,
         "armcamp.png is cut short (the pixel rows). Save it again in your drawing program."},
        {{FailureKind::Malformed, ""}, kWindow, "armcamp.png is damaged. Save it again in your drawing program."},
        {{FailureKind::CannotOpen, "No such file or directory"},
         kWindow,
         "armcamp.png cannot be opened (No such file or directory). Check that the file is there and readable."},
        {{FailureKind::Unrecognised, ""},
         kWindow,
         "armcamp.png is not a picture file Iconwright knows (BMP, PCX, PNG or JPEG)."},
    };
    for (const LoadCase& c : cases)
        EXPECT_EQ(DescribeLoadFailure("/home/me/art/armcamp.png", c.Failure, c.Words), c.Expected) << c.Expected;
}

// An import names the same causes of an unreadable file with the same words as a load, and its
// own refusals with what the import found.
TEST(FailureReasons, AnImportFailureSpeaksAsALoadForTheSameCause) {
    const FileFailure junk{FailureKind::Unrecognised, ""};
    EXPECT_EQ(DescribeImportFileFailure("/a/junk.png", junk), DescribeLoadFailure("/a/junk.png", junk, kWindow));
    EXPECT_EQ(DescribeImportFileFailure("/a/p.png", {FailureKind::NotExact, "pixel 0,0 is #010203"}),
              "p.png: pixel 0,0 is #010203, which is not a game colour.");
}

TEST(FailureReasons, AWriteFailureSaysWhyAndARefusedNameGivesTheRulesSentence) {
    EXPECT_EQ(DescribeWriteFailure("/nowhere/x.gaf", {FailureKind::CannotWrite, "No such file or directory"}),
              "x.gaf could not be written (No such file or directory). Choose another folder or file name, or free "
              "some space.");
    EXPECT_EQ(DescribeWriteFailure("x.gaf", {FailureKind::BadName, "The unit name has \"/\"."}),
              "The unit name has \"/\".");
}

}  // namespace
