// DecodeGaf on hand-built files: every packet kind, malformed packets, layers placed by their
// origins, several entries, Windows-1252 names, and hostile files that must be refused with a reason.
#include <gtest/gtest.h>

#include "gaf/GafReader.h"
#include "support/GafBuilder.h"
#include "support/Refusals.h"

namespace {

using namespace gafbuild;
using imagefiles::FailureKind, imagefiles::FileFailure;
using testsupport::Said;
using Bytes = std::vector<uint8_t>;

// The one frame of a one-entry file named "T", or the reason it was refused.
struct OneFrame {
    std::optional<gaf::DecodedFrame> Frame;
    FileFailure Why;
};
OneFrame DecodeOne(const gafbuild::Frame& frame) {
    OneFrame result;
    const auto gaf = gaf::DecodeGaf(Build({{.Name = "T", .Frames = {frame}}}).Bytes, &result.Why);
    if (gaf) result.Frame = gaf->Entries.at(0).Frames.at(0);
    return result;
}
gafbuild::Frame RowsFrame(uint16_t width, const std::vector<Bytes>& rows, uint8_t transparency = 9) {
    return {width, uint16_t(rows.size()), 0, 0, transparency, 1, Rows(rows)};
}
Bytes Counting(int count) {
    Bytes bytes(std::size_t(count), 0);
    for (int k = 0; k < count; ++k) bytes[std::size_t(k)] = uint8_t(k);
    return bytes;
}
Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(DecodeGafRows, EveryPacketKindAndTheTransparentRest) {
    const std::vector<std::tuple<uint16_t, std::vector<Bytes>, Bytes>> cases{
        // Skip, repeat, copy; after the last packet, transparent.
        {10, {{Skip(2), Repeat(3), 7, Copy(2), 1, 2}}, {9, 9, 7, 7, 7, 1, 2, 9, 9, 9}},
        {3, {{Skip(0), Copy(1), 5, Skip(0)}}, {5, 9, 9}},  // a skip of nothing
        // 0xFF skips 127, 0xFE repeats 64 times, 0xFC copies 64 bytes.
        {255, {Joined({{0xFF, 0xFE, 3, 0xFC}, Counting(64)})}, Joined({Bytes(127, 9), Bytes(64, 3), Counting(64)})},
        {4, {{Repeat(4), 200}}, {200, 200, 200, 200}},  // a repeat that ends exactly at the width
        {4, {{Copy(1), 5, Skip(3)}}, {5, 9, 9, 9}},     // a skip that ends exactly at the width
        {2, {{Copy(2), 6, 7}}, {6, 7}},                 // a copy that does
        {3, {{Repeat(3), 1}, {}, {Skip(1), Copy(2), 4, 5}}, {1, 1, 1, 9, 9, 9, 9, 4, 5}},  // rows of any byte count
    };
    for (const auto& [width, rows, expected] : cases) {
        const OneFrame decoded = DecodeOne(RowsFrame(width, rows));
        ASSERT_TRUE(decoded.Frame) << decoded.Why.Detail;
        EXPECT_EQ(std::pair(decoded.Frame->Pixels, decoded.Frame->Compression), std::pair(expected, uint8_t{1}));
    }
    // Skipped pixels take the frame's own transparency index.
    EXPECT_EQ(DecodeOne(RowsFrame(3, {{Skip(1), Copy(1), 9}}, 200)).Frame->Pixels, (Bytes{200, 9, 200}));
}

// Every seed the fuzzer starts from decodes.
TEST(DecodeGafRows, TheSeedsDecode) {
    for (const auto& [name, bytes] : Samples()) {
        FileFailure why;
        EXPECT_TRUE(gaf::DecodeGaf(bytes, &why)) << name << ": " << why.Detail;
    }
}

// The second row always exists, so a packet short of bytes would otherwise read into it.
TEST(DecodeGafRows, APacketPastTheWidthOrTheByteCountIsRefused) {
    const std::string width = "a packet runs past the row's width", bytes = "a packet runs past the row's byte count";
    const std::vector<std::tuple<uint16_t, Bytes, std::string>> cases{{4, {Skip(5)}, width},
                                                                      {4, {Skip(2), Repeat(3), 1}, width},
                                                                      {2, {Copy(3), 1, 2, 3}, width},
                                                                      {4, {Repeat(2)}, bytes},
                                                                      {4, {Copy(3), 1, 2}, bytes}};
    for (const auto& [w, packets, reason] : cases) {
        const OneFrame decoded = DecodeOne(RowsFrame(w, {packets, {Copy(4), 1, 2, 3, 4}}));
        EXPECT_FALSE(decoded.Frame) << reason;
        EXPECT_EQ(Said(decoded.Why), Said({FailureKind::Malformed, "frame 0 of entry T: row 0: " + reason}));
    }
    const OneFrame second = DecodeOne(RowsFrame(4, {{Copy(1), 1}, {Skip(5)}}));
    EXPECT_EQ(Said(second.Why), Said({FailureKind::Malformed, "frame 0 of entry T: row 1: " + width}));
}

// Parent 5 x 4 with its origin at (2, 1), filled with its transparency index 0. Layer pixel
// (px, py) lands on (px - layer.X + 2, py - layer.Y + 1).
TEST(DecodeGafLayers, EachLayerIsPlacedByItsOriginClippedAndSeenThroughWhereTransparent) {
    gafbuild::Frame parent = Raw(5, 4, {}, 2, 1, 0), nested = Raw(2, 1, {}, 0, 0, 0);
    nested.Layers = {Raw(1, 1, {15})};  // {15, 0}
    parent.Layers = {
        Raw(3, 2, {1, 2, 3, 4, 9, 6}),              // at (2..4, 1..2); its 9 lets the fill show
        Compressed(2, 2, {7, 8, 10, 11}, 1, 2, 7),  // at (1..2, -1..0): its top row cut off
        Raw(2, 1, {12, 13}, -3, 0),                 // at (5..6, 1): wholly outside
        Raw(1, 1, {14}),                            // over the first layer's 1
        nested,                                     // its own fill, 0, is transparent here
    };
    const OneFrame decoded = DecodeOne(parent);
    ASSERT_TRUE(decoded.Frame) << decoded.Why.Detail;
    EXPECT_EQ(decoded.Frame->Pixels, (Bytes{0, 10, 11, 0, 0,  //
                                            0, 0,  15, 2, 3,  //
                                            0, 0,  4,  0, 6,  //
                                            0, 0,  0,  0, 0}));
    EXPECT_EQ(std::tuple(decoded.Frame->Width, decoded.Frame->Height, decoded.Frame->X, decoded.Frame->Y,
                         decoded.Frame->Layers),
              std::tuple(5, 4, 2, 1, 5));
}

// Entries in order with their unknown fields, an empty one, a frame shared by two entries, and
// names in Windows-1252 cut at the first zero byte.
TEST(DecodeGafEntries, SeveralEntriesInOrderWithSharedFramesUnknownFieldsAndTheirNames) {
    auto layout =
        Build({{.Name = "ONE",
                .Frames = {Raw(2, 1, {1, 2}, -1, 5, 0), Raw(1, 2, {3, 4})},
                .Unknown1 = 7,
                .Unknown2 = 0xABCDEF01},
               {.Name = std::string("ARM\0CAMP", 8)},
               {.Name = "THREE", .Frames = {Compressed(3, 1, {5, 9, 6}), Raw(1, 1, {8})}},
               {.Name = std::string(32, 'A')},                    // no zero byte at all
               {.Name = "\x80\x8A\x9C\x9F"},                      // € Š œ Ÿ
               {.Name = "\x81\x8D\x8F\x90\x9D\xE9t\xE9\xA0!"}});  // no characters (C1 controls), été, no-break space
    // The third entry's second frame is the first entry's second frame.
    Put32At(layout.Bytes, layout.EntryOffsets[2] + 40 + 8, uint32_t(layout.FrameHeaderOffsets[0][1]));
    FileFailure why;
    const auto gaf = gaf::DecodeGaf(layout.Bytes, &why);
    ASSERT_TRUE(gaf) << why.Detail;
    std::vector<std::string> names;
    for (const auto& entry : gaf->Entries) names.push_back(entry.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"ONE", "ARM", "THREE", std::string(32, 'A'),
                                               "\xE2\x82\xAC\xC5\xA0\xC5\x93\xC5\xB8",
                                               "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC3\xA9t\xC3\xA9\xC2\xA0!"}));
    const auto& one = gaf->Entries[0];
    EXPECT_EQ(std::tuple(one.Unknown1, one.Unknown2, one.Frames.size(), gaf->Entries[1].Frames.size()),
              std::tuple(7, 0xABCDEF01u, std::size_t{2}, std::size_t{0}));
    const auto& first = one.Frames[0];
    EXPECT_EQ(std::tuple(first.Width, first.Height, first.X, first.Y, first.Transparency, first.Pixels),
              std::tuple(2, 1, -1, 5, 0, Bytes{1, 2}));
    const auto& three = gaf->Entries[2];
    ASSERT_EQ(three.Frames.size(), 2u);
    EXPECT_EQ(std::tuple(three.Frames[0].Pixels, three.Frames[1].Pixels, one.Frames[1].Pixels),
              std::tuple(Bytes{5, 9, 6}, Bytes{3, 4}, Bytes{3, 4}));
}

// A refusal names the entry by its name, or by its number when the name holds a character that
// would break the one-line message: a C0 or C1 control character or DEL.
TEST(DecodeGafEntries, ARefusalNamesTheEntryUnlessItsNameHoldsAControlCharacter) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"ARM~", "entry ARM~"}, {"ARM\x7F", "entry 0"}, {"ARM\x1F", "entry 0"}, {"ARM\x81", "entry 0"}};
    for (const auto& [name, place] : cases) {
        FileFailure why;
        EXPECT_FALSE(gaf::DecodeGaf(Build({{.Name = name, .Frames = {RowsFrame(0, {{}})}}}).Bytes, &why));
        EXPECT_EQ(Said(why), Said({FailureKind::Malformed, "frame 0 of " + place + ": a frame of 0 x 1 pixels"}));
    }
}

// A base file of three frames (raw, run-length, two layers), each case changing it in one place;
// then every shorter prefix of it.
TEST(DecodeGafHostile, EveryOutOfPlaceOffsetCountOrSizeIsRefusedWithItsPlace) {
    gafbuild::Frame layered = Raw(4, 4, {}, 0, 0, 0), inner;
    inner.Layers = {Raw(1, 1, {6})};
    layered.Layers = {Raw(1, 1, {5}), inner};
    const Layout base =
        Build({{.Name = "BASE", .Frames = {Raw(2, 2, {1, 2, 3, 4}), Compressed(3, 2, {1, 9, 2, 3, 3, 3}), layered}}});
    const std::size_t size = base.Bytes.size(), entry = base.EntryOffsets[0];
    const std::size_t raw = base.FrameHeaderOffsets[0][0], rows = base.FrameHeaderOffsets[0][1],
                      layers = base.FrameHeaderOffsets[0][2] + 24, innerLayers = layers + 8 + 24 + 1 + 24;
    const auto at = [](std::size_t offset) { return " at offset " + std::to_string(offset); };
    const std::string end = " past the end of the file (" + std::to_string(size) + " bytes)";
    const std::string frame0 = "frame 0 of entry BASE: ", frame1 = "frame 1 of entry BASE: ";
    const std::string loop = " is the frame itself or a frame that holds it";
    using Change = std::function<void(Bytes&)>;
    using enum FailureKind;
    const std::vector<std::tuple<Change, FailureKind, std::string>> cases{
        {[](Bytes& b) { Put32At(b, 0, 0x00010200); }, Unrecognised,
         "not a GAF file: it starts with 0x00010200, not the version 0x00010100"},
        {[](Bytes& b) { Put32At(b, 4, 0xFFFFFFFF); }, Truncated,
         "the offsets of its 4294967295 entries at offset 12 run" + end},
        {[&](Bytes& b) { Put32At(b, 12, uint32_t(size - 39)); }, Truncated,
         "entry 0: its header" + at(size - 39) + " runs" + end},
        {[&](Bytes& b) { Put16At(b, entry, 0xFFFF); }, Truncated,
         "entry BASE: the offsets of its 65535 frames" + at(entry + 40) + " run" + end},
        {[&](Bytes& b) { Put32At(b, entry + 48, 0xFFFFFFF0); }, Truncated,
         frame1 + "its header at offset 4294967280 runs" + end},
        {[&](Bytes& b) { Put32At(b, raw + 16, uint32_t(size - 3)); }, Truncated,
         frame0 + "its 4 pixels" + at(size - 3) + " run" + end},
        {[&](Bytes& b) { Put16At(b, raw + 2, 0); }, Malformed, frame0 + "a frame of 2 x 0 pixels"},
        {[&](Bytes& b) { Put16At(b, rows, 0xFFFF), Put16At(b, rows + 2, 0xFFFF); }, TooManyPixels,
         frame1 + "65535 x 65535 pixels, more than the 16 Mi a frame may have"},
        {[&](Bytes& b) { Put32At(b, rows + 16, uint32_t(size - 1)); }, Truncated,
         frame1 + "row 0: its byte count" + at(size - 1) + " runs" + end},
        // Row 0 holds 5 bytes of packets (copy 1, skip 1, copy 1), so row 1's count is at +31.
        {[&](Bytes& b) { Put16At(b, rows + 31, 0xFFFF); }, Truncated,
         frame1 + "row 1: its 65535 bytes" + at(rows + 33) + " run" + end},
        {[&](Bytes& b) { b[rows + 9] = 2; }, Unsupported,
         frame1 + "compression 2 (known: 0, raw pixels, and 1, run-length rows)"},
        {[&](Bytes& b) { Put16At(b, layers - 14, 0xFFFF); }, Truncated,
         "frame 2 of entry BASE: the offsets of its 65535 layers" + at(layers) + " run" + end},
        {[&](Bytes& b) { Put32At(b, layers, uint32_t(layers - 24)); }, Malformed,
         "layer 0 of frame 2 of entry BASE: the layer" + at(layers - 24) + loop},
        {[&](Bytes& b) { Put32At(b, innerLayers, uint32_t(layers - 24)); }, Malformed,
         "layer 0 of layer 1 of frame 2 of entry BASE: the layer" + at(layers - 24) + loop},
    };
    for (const auto& [change, kind, detail] : cases) {
        Bytes bytes = base.Bytes;
        change(bytes);
        FileFailure why;
        EXPECT_FALSE(gaf::DecodeGaf(bytes, &why)) << detail;
        EXPECT_EQ(Said(why), Said({kind, detail}));
    }
    ASSERT_TRUE(gaf::DecodeGaf(base.Bytes));
    for (std::size_t length = 0; length < size; ++length) {
        FileFailure why;
        ASSERT_FALSE(gaf::DecodeGaf(std::span(base.Bytes).first(length), &why)) << length;
        EXPECT_EQ(why.Kind, length < 4 ? Unrecognised : Truncated) << length << ": " << why.Detail;
    }
}

// Offsets that all lead to the same large frame, entry or layer describe far more pixels than
// the file holds; the budget stops them before it is spent.
TEST(DecodeGafHostile, SharedOffsetsAndDeepLayersCannotMakeItSpinOrBlowUp) {
    // 2000 frames, all the same 100 x 100 frame of empty rows: 128 + 10,000 + 200 = 10,328 steps each.
    auto shared = Build({{.Name = "SHARED", .Frames = {RowsFrame(100, std::vector<Bytes>(100))}}});
    Bytes bytes(shared.Bytes.begin(), shared.Bytes.begin() + 56);  // the headers; the frame's table follows
    Put16At(bytes, 16, 2000);
    for (int k = 0; k < 2000; ++k) Append32(bytes, 56 + 16000), Append32(bytes, 0);
    bytes.insert(bytes.end(), shared.Bytes.begin() + 64, shared.Bytes.end());  // the frame, behind its new table
    Put32At(bytes, 56 + 16000 + 16, 56 + 16000 + 24);                          // its data follows its header
    FileFailure why;
    EXPECT_FALSE(gaf::DecodeGaf(bytes, &why, {.MaxWork = 1024 * 1024}));
    EXPECT_EQ(Said(why), Said({FailureKind::TooManyPixels,
                               "frame 101 of entry SHARED: decoding the file takes more than 1 Mi steps (one per pixel "
                               "or data byte, counted again for every frame used again)"}));
    EXPECT_TRUE(gaf::DecodeGaf(bytes, &why, {.MaxWork = 128 + 2000 * 10328})) << why.Detail;
    EXPECT_FALSE(gaf::DecodeGaf(bytes, &why, {.MaxWork = 128 + 2000 * 10328 - 1}));
    // The parts visited, the entry and its 2000 frames, are charged before any frame is decoded.
    EXPECT_FALSE(gaf::DecodeGaf(bytes, &why, {.MaxParts = 2000}));
    EXPECT_EQ(Said(why), Said({FailureKind::TooManyPixels,
                               "entry SHARED: the file has more than 2000 entries and frames (counted again for every "
                               "frame used again)"}));
    EXPECT_TRUE(gaf::DecodeGaf(bytes, &why, {.MaxParts = 2001})) << why.Detail;

    // Layers nested one deeper than allowed: 9 frames, each the only layer of the one before.
    gafbuild::Frame deep = Raw(1, 1, {1});
    for (int depth = 0; depth < 9; ++depth) deep = {.Width = 1, .Height = 1, .Layers = {deep}};
    const auto deepFile = Build({{.Name = "D", .Frames = {deep}}});
    EXPECT_FALSE(gaf::DecodeGaf(deepFile.Bytes, &why));
    std::string nesting;
    for (int depth = 0; depth < 8; ++depth) nesting += "layer 0 of ";
    EXPECT_EQ(Said(why),
              Said({FailureKind::Unsupported, nesting + "frame 0 of entry D: layers nested more than 8 deep"}));
    EXPECT_TRUE(gaf::DecodeGaf(deepFile.Bytes, &why, {.MaxLayerDepth = 9})) << why.Detail;
}

// The frame size limit at its value, 16 Mi pixels (a 4096 x 4096 frame of empty rows), and one
// row past it.
TEST(DecodeGafHostile, TheFramePixelLimitHoldsAtItsValue) {
    FileFailure why;
    const auto atLimit =
        gaf::DecodeGaf(Build({{.Name = "BIG", .Frames = {RowsFrame(4096, std::vector<Bytes>(4096))}}}).Bytes, &why);
    ASSERT_TRUE(atLimit) << why.Detail;
    EXPECT_EQ(atLimit->Entries.at(0).Frames.at(0).Pixels.size(), std::size_t{4096} * 4096);
    EXPECT_FALSE(
        gaf::DecodeGaf(Build({{.Name = "BIG", .Frames = {RowsFrame(4096, std::vector<Bytes>(4097))}}}).Bytes, &why));
    EXPECT_EQ(Said(why), Said({FailureKind::TooManyPixels,
                               "frame 0 of entry BIG: 4096 x 4097 pixels, more than the 16 Mi a frame may have"}));
}

}  // namespace
