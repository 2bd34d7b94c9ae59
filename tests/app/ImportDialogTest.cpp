// The import options dialog off screen: options to widgets and back, the previews and the report
// as the options change, the checks on what the user types, and the options kept across runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <random>

#include "app/ImportDialog.h"
#include "app/ImportPreview.h"
#include "app/QtImportOptionsAsker.h"
#include "app/RememberedImportChoices.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportSettingsText.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace {

using imagefiles::RgbaPicture;
using import::ImportSettings;

// 8 x 4: a fully transparent first column, then random colours, some of them half transparent,
// so that every option changes the outcome.
RgbaPicture TestPicture() {
    RgbaPicture picture{8, 4, std::vector<uint8_t>(8 * 4 * 4)};
    std::mt19937 random(17);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = picture.Pixels.data() + (y * 8 + x) * 4;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(random());
            p[3] = x == 0 ? 0 : (x + y) % 3 == 0 ? 128 : 255;
        }
    return picture;
}

RgbaPicture Solid(int w, int h, std::array<uint8_t, 4> rgba) {
    RgbaPicture p{w, h, {}};
    for (int i = 0; i < w * h; ++i) p.Pixels.insert(p.Pixels.end(), rgba.begin(), rgba.end());
    return p;
}

void ExpectSameSettings(const ImportSettings& a, const ImportSettings& b, const std::string& where) {
    EXPECT_EQ(a.Fit, b.Fit) << where;
    EXPECT_EQ(a.Trim, b.Trim) << where;
    EXPECT_EQ(a.Background, b.Background) << where;
    EXPECT_EQ(a.Match, b.Match) << where;
    EXPECT_EQ(a.Dither, b.Dither) << where;
    EXPECT_EQ(a.Avoid, b.Avoid) << where;
    EXPECT_EQ(a.Strict, b.Strict) << where;
    ASSERT_EQ(a.BackgroundFrame == nullptr, b.BackgroundFrame == nullptr) << where;
    if (a.BackgroundFrame) {
        EXPECT_EQ(a.BackgroundFrame->Pixels, b.BackgroundFrame->Pixels) << where;
    }
}

class ImportDialogTest : public ::testing::Test {
public:
    void SetUp() override {
        testsupport::WriteBytes(dir.file("green.png"), pictureencode::EncodeRgbaPng(Solid(10, 10, {0, 200, 0, 255})));
    }
    std::unique_ptr<ImportDialog> Open(const ImportChoices& start = {}) {
        ImportDialog::Pickers pickers;
        pickers.Colour = [this](const QColor& current) {
            shownColours.push_back(current);
            std::optional<QColor> answer;
            if (colours.empty()) ADD_FAILURE() << "colour dialog shown with no scripted answer";
            if (!colours.empty()) answer = colours.front(), colours.pop_front();
            return answer;
        };
        pickers.BackgroundFile = [this] {
            std::optional<std::string> answer;
            if (files.empty()) ADD_FAILURE() << "file dialog shown with no scripted answer";
            if (!files.empty()) answer = files.front(), files.pop_front();
            return answer;
        };
        return std::make_unique<ImportDialog>(dir.file("picture.png"), picture, start, std::move(pickers));
    }
    // What the dialog must show for settings: the import's own outcome, pixel for pixel.
    void ExpectShows(const ImportDialog& dialog, const ImportSettings& settings, const std::string& where) {
        ExpectSameSettings(dialog.Choices().Settings, settings, where);
        imagefiles::FileFailure why;
        const auto expected = import::ImportDecoded(picture, settings, modPalettes::GamePalette, &why);
        ASSERT_TRUE(expected && dialog.Result()) << where;
        EXPECT_EQ(dialog.Result()->Indices, expected->Indices) << where;
        EXPECT_EQ(dialog.SourcePreview(), ImportPreview::Truecolour(expected->Frames.Composited)) << where;
        EXPECT_EQ(dialog.ResultPreview(), ImportPreview::Indexed(expected->Indices, modPalettes::GamePalette)) << where;
        EXPECT_EQ(dialog.ReportText().toStdString(), import::DescribeReport(expected->Report)) << where;
        EXPECT_TRUE(dialog.OkButton()->isEnabled()) << where;
    }

    testsupport::TempDir dir;
    RgbaPicture picture = TestPicture();
    std::deque<std::optional<QColor>> colours;
    std::deque<std::optional<std::string>> files;
    std::vector<QColor> shownColours;
};

TEST(ImportPreview, EveryPixelBecomesASquareOfTheScale) {
    const RgbaPicture frame{
        3, 2, {1, 2, 3, 255, 4, 5, 6, 0, 7, 8, 9, 255, 10, 11, 12, 255, 13, 14, 15, 9, 16, 17, 18, 255}};
    for (int scale : {1, 2, 3}) {
        const QImage image = ImportPreview::Truecolour(frame, scale);
        ASSERT_EQ(image.size(), QSize(3 * scale, 2 * scale)) << scale;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int at = ((y / scale) * 3 + x / scale) * 4;
                EXPECT_EQ(image.pixel(x, y), qRgb(frame.Pixels[at], frame.Pixels[at + 1], frame.Pixels[at + 2]))
                    << scale << " " << x << "," << y;
            }
    }
    import::IndexFrame indices{};
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 7 + i / 96);
    const QImage image = ImportPreview::Indexed(indices, modPalettes::GamePalette);
    ASSERT_EQ(image.size(), QSize(192, 192));
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 192; ++x) {
            const PaletteEntry& c = modPalettes::GamePalette[indices[static_cast<std::size_t>(y / 2 * 96 + x / 2)]];
            ASSERT_EQ(image.pixel(x, y), qRgb(c.Red, c.Green, c.Blue)) << x << "," << y;
        }
}

TEST(ImportChoicesText, AvoidListsColoursAndWordsReadBackToTheSameValues) {
    const auto set = [](std::initializer_list<std::pair<int, int>> ranges) {
        std::bitset<256> bits;
        for (auto [first, last] : ranges)
            for (int k = first; k <= last; ++k) bits.set(static_cast<std::size_t>(k));
        return bits;
    };
    const struct {
        std::bitset<256> Avoid;
        const char* Text;
    } rows[] = {{{}, "none"},
                {set({{7, 7}}), "7"},
                {set({{0, 0}, {240, 255}}), "0,240-255"},
                {set({{0, 1}, {3, 3}}), "0-1,3"},
                {set({{0, 254}}), "0-254"},
                {set({{255, 255}}), "255"},
                {set({{1, 1}, {3, 3}, {5, 6}}), "1,3,5-6"}};
    for (const auto& row : rows) {
        EXPECT_EQ(AvoidListText(row.Avoid), row.Text);
        EXPECT_EQ(import::ParseAvoidList(AvoidListText(row.Avoid), nullptr), row.Avoid) << row.Text;
    }
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        std::bitset<256> bits;
        for (std::size_t k = 0; k < 256; ++k) bits[k] = random() % 3 == 0;
        EXPECT_EQ(import::ParseAvoidList(AvoidListText(bits), nullptr), bits) << AvoidListText(bits);
    }
    EXPECT_EQ(ColourText({0x12, 0xAB, 0x00}), "#12AB00");
    EXPECT_EQ(import::ParseHexColour(ColourText({0xFE, 0x01, 0x80})), (import::Colour{0xFE, 0x01, 0x80}));
    for (auto fit : {import::FitMode::Contain, import::FitMode::Cover, import::FitMode::Stretch, import::FitMode::None})
        EXPECT_EQ(import::ParseFitMode(FitModeWord(fit)), fit);
    for (auto dither : {import::DitherMode::None, import::DitherMode::FloydSteinberg})
        EXPECT_EQ(import::ParseDitherMode(DitherModeWord(dither)), dither);
}

TEST_F(ImportDialogTest, TheStartingOptionsShowInTheWidgetsAndInThePreviews) {
    ImportChoices start;
    ImportSettings& s = start.Settings;
    s.Fit = import::FitMode::Cover, s.Background = {0x10, 0x20, 0x30}, s.Trim = true;
    s.Match = import::MatchRule::Perceptual, s.Dither = import::DitherMode::FloydSteinberg;
    s.Avoid = *import::ParseAvoidList("0,240-255", nullptr);
    auto dialog = Open(start);
    EXPECT_EQ(dialog->FitBox()->currentIndex(), 1);
    EXPECT_EQ(dialog->ColourButton()->text(), "#102030");
    EXPECT_EQ(dialog->BackgroundName()->text(), "(the colour)");
    EXPECT_TRUE(dialog->TrimBox()->isChecked());
    EXPECT_EQ(dialog->MatchBox()->currentIndex(), 1);
    EXPECT_EQ(dialog->DitherBox()->currentIndex(), 1);
    EXPECT_EQ(dialog->AvoidEdit()->text(), "0,240-255");
    EXPECT_FALSE(dialog->StrictBox()->isChecked());
    EXPECT_EQ(dialog->windowTitle(), "Import picture - picture.png");
    EXPECT_EQ(dialog->SourcePreview().size(), QSize(192, 192));
    ExpectShows(*dialog, s, "start");
    EXPECT_EQ(dialog->ProblemText(), "");
}

TEST_F(ImportDialogTest, EachOptionChangesThePreviewsAndTheReportAsTheImportDoes) {
    const std::string green = dir.file("green.png");
    const struct {
        const char* Option;
        std::function<void(ImportDialogTest&, ImportDialog&)> Change;
        std::function<void(ImportSettings&)> Expected;
    } rows[] = {
        {"fit", [](auto&, ImportDialog& d) { d.FitBox()->setCurrentIndex(2); },
         [](ImportSettings& s) { s.Fit = import::FitMode::Stretch; }},
        {"trim", [](auto&, ImportDialog& d) { d.TrimBox()->click(); }, [](ImportSettings& s) { s.Trim = true; }},
        {"match", [](auto&, ImportDialog& d) { d.MatchBox()->setCurrentIndex(1); },
         [](ImportSettings& s) { s.Match = import::MatchRule::Perceptual; }},
        {"dither", [](auto&, ImportDialog& d) { d.DitherBox()->setCurrentIndex(1); },
         [](ImportSettings& s) { s.Dither = import::DitherMode::FloydSteinberg; }},
        {"avoid", [](auto&, ImportDialog& d) { d.AvoidEdit()->setText(" 0-127 "); },
         [](ImportSettings& s) { s.Avoid = *import::ParseAvoidList("0-127", nullptr); }},
        {"colour",
         [](ImportDialogTest& t, ImportDialog& d) {
             t.colours.push_back(QColor(255, 0, 255)), d.ColourButton()->click();
         },
         [](ImportSettings& s) {
             s.Background = {255, 0, 255};
         }},
        {"background file",
         [green](ImportDialogTest& t, ImportDialog& d) { t.files.push_back(green), d.BackgroundFileButton()->click(); },
         [green](ImportSettings& s) {
             s.BackgroundFrame = std::make_shared<const RgbaPicture>(*import::LoadBackgroundFrame(green, nullptr));
         }},
    };
    for (const auto& row : rows) {
        auto dialog = Open();
        const import::IndexFrame before = dialog->Result()->Indices;
        const QImage beforeSource = dialog->SourcePreview();
        const QString beforeReport = dialog->ReportText();
        row.Change(*this, *dialog);
        ImportSettings expected;
        row.Expected(expected);
        ExpectShows(*dialog, expected, row.Option);
        EXPECT_NE(dialog->Result()->Indices, before) << row.Option;
        EXPECT_NE(dialog->ReportText(), beforeReport) << row.Option;
        // The truecolour picture changes with what comes before the mapping only.
        const bool beforeMapping = std::string(row.Option) != "match" && std::string(row.Option) != "dither" &&
                                   std::string(row.Option) != "avoid";
        EXPECT_EQ(dialog->SourcePreview() != beforeSource, beforeMapping) << row.Option;
    }
    EXPECT_TRUE(colours.empty() && files.empty());
    EXPECT_EQ(shownColours, std::vector<QColor>{QColor(0, 0, 0)}) << "the picker starts from the background colour";
}

TEST_F(ImportDialogTest, AFailingImportSaysWhyAndStillShowsWhatItCan) {
    // Strict refuses a colour that is not a game colour; the fitted picture is still shown and OK
    // stays available, so that the window can report the failure as it does for any import.
    auto dialog = Open();
    dialog->StrictBox()->click();
    imagefiles::FileFailure why;
    ImportSettings strict;
    strict.Strict = true;
    ASSERT_FALSE(import::ImportDecoded(picture, strict, modPalettes::GamePalette, &why));
    EXPECT_FALSE(dialog->Result());
    EXPECT_EQ(dialog->ReportText().toStdString(), "Cannot be imported: " + import::DescribeImportFailure(why));
    EXPECT_EQ(dialog->ReportText().left(26), "Cannot be imported: pixel ");
    EXPECT_EQ(dialog->SourcePreview(),
              ImportPreview::Truecolour(import::PrepareFrames(picture, strict, nullptr)->Composited));
    EXPECT_TRUE(dialog->ResultPreview().isNull());
    EXPECT_TRUE(dialog->OkButton()->isEnabled());
    dialog->StrictBox()->click();
    ExpectShows(*dialog, ImportSettings{}, "strict off again");

    picture = Solid(5, 5, {9, 9, 9, 0});
    dialog = Open();
    EXPECT_EQ(dialog->ReportText(), "Cannot be imported: the picture is fully transparent");
    EXPECT_TRUE(dialog->SourcePreview().isNull() && dialog->ResultPreview().isNull());
}

TEST_F(ImportDialogTest, ABadAvoidListGreysOutOkUntilItReadsAgain) {
    ImportChoices start;
    start.Settings.Avoid.set(5);
    auto dialog = Open(start);
    const import::IndexFrame shown = dialog->Result()->Indices;
    const struct {
        const char* Text;
        const char* Problem;
    } bad[] = {
        {"300", "Avoid indices: \"300\" is not an index 0 to 255 or a range such as 240-255"},
        {"0-255", "Avoid indices: all 256 indices avoided leaves none to choose"},
        {"", "Avoid indices: an empty list (use none to avoid nothing)"},
        {"9-3", "Avoid indices: the range \"9-3\" runs backwards"},
        {"1,,2", "Avoid indices: \"\" is not an index 0 to 255 or a range such as 240-255"},
    };
    for (const auto& row : bad) {
        dialog->AvoidEdit()->setText(QString::fromLatin1(row.Text));
        EXPECT_EQ(dialog->ProblemText(), row.Problem) << row.Text;
        EXPECT_FALSE(dialog->ChoicesValid() || dialog->OkButton()->isEnabled()) << row.Text;
        EXPECT_EQ(dialog->Choices().Settings.Avoid, start.Settings.Avoid) << "the last good list stays";
        EXPECT_EQ(dialog->Result()->Indices, shown) << row.Text;
    }
    dialog->AvoidEdit()->setText(QStringLiteral("5"));
    EXPECT_EQ(dialog->ProblemText(), "");
    EXPECT_TRUE(dialog->ChoicesValid() && dialog->OkButton()->isEnabled());
    dialog->AvoidEdit()->setText(QStringLiteral("none"));
    ExpectShows(*dialog, ImportSettings{}, "none");
}

TEST_F(ImportDialogTest, BackgroundButtonsSwitchBetweenAPictureAndTheColour) {
    auto dialog = Open();
    const std::string green = dir.file("green.png");
    const ImportSettings plain;
    colours = {std::nullopt};  // cancelled
    files = {std::nullopt, dir.file("missing.png")};
    dialog->ColourButton()->click();
    dialog->BackgroundFileButton()->click();
    dialog->BackgroundFileButton()->click();
    EXPECT_EQ(dialog->ProblemText().left(35), "The background picture missing.png:");
    EXPECT_TRUE(dialog->OkButton()->isEnabled()) << "the background stays as it was";
    ExpectShows(*dialog, plain, "nothing chosen");

    files = {green};
    dialog->BackgroundFileButton()->click();
    EXPECT_EQ(dialog->ProblemText(), "");
    EXPECT_EQ(dialog->BackgroundName()->text(), "green.png");
    EXPECT_EQ(dialog->Choices().BackgroundFile, green);
    ImportSettings withPicture;
    withPicture.BackgroundFrame = std::make_shared<const RgbaPicture>(*import::LoadBackgroundFrame(green, nullptr));
    ExpectShows(*dialog, withPicture, "picture");

    colours = {QColor(0, 0, 0)};  // the same colour as before still puts the colour back
    dialog->ColourButton()->click();
    EXPECT_EQ(dialog->BackgroundName()->text(), "(the colour)");
    EXPECT_EQ(dialog->Choices().BackgroundFile, "");
    ExpectShows(*dialog, plain, "colour again");
}

TEST_F(ImportDialogTest, QtAskerReturnsTheOptionsOnOkAndNothingOnCancel) {
    QtImportOptionsAsker asker;
    ImportChoices start;
    start.Settings.Fit = import::FitMode::None;
    for (bool ok : {true, false}) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ImportDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = true;
            dialog->TrimBox()->click();
            if (ok) {
                dialog->OkButton()->click();
            } else {
                dialog->reject();
            }
        });
        const auto chosen = asker.Ask(dir.file("picture.png"), picture, start);
        EXPECT_TRUE(shown);
        ASSERT_EQ(chosen.has_value(), ok);
        if (!ok) continue;
        ImportSettings expected = start.Settings;
        expected.Trim = true;
        ExpectSameSettings(chosen->Settings, expected, "OK");
    }
}

TEST_F(ImportDialogTest, OptionsAreRememberedAcrossRunsAndBadValuesGiveTheDefaults) {
    QSettings().clear();
    ExpectSameSettings(RememberedImportChoices::Load().Settings, ImportSettings{}, "first run");

    const std::string green = dir.file("green.png");
    ImportChoices chosen;
    ImportSettings& s = chosen.Settings;
    s.Fit = import::FitMode::Stretch, s.Background = {1, 2, 254}, s.Trim = true, s.Strict = true;
    s.Match = import::MatchRule::Perceptual, s.Dither = import::DitherMode::FloydSteinberg;
    s.Avoid = *import::ParseAvoidList("0,3-9,255", nullptr);
    s.BackgroundFrame = std::make_shared<const RgbaPicture>(*import::LoadBackgroundFrame(green, nullptr));
    chosen.BackgroundFile = green;
    RememberedImportChoices::Save(chosen);
    ImportChoices loaded = RememberedImportChoices::Load();
    ExpectSameSettings(loaded.Settings, s, "saved");
    EXPECT_EQ(loaded.BackgroundFile, green);
    EXPECT_EQ(QSettings().value("Import/Avoid").toString(), "0,3-9,255");
    EXPECT_EQ(QSettings().value("Import/Fit").toString(), "stretch");

    // A background picture gone since: the colour shows behind the picture.
    std::filesystem::remove(green);
    loaded = RememberedImportChoices::Load();
    ImportSettings withoutPicture = s;
    withoutPicture.BackgroundFrame.reset();
    ExpectSameSettings(loaded.Settings, withoutPicture, "background gone");
    EXPECT_EQ(loaded.BackgroundFile, "");

    QSettings settings;
    for (const char* key : {"Fit", "BackgroundColour", "Trim", "Match", "Dither", "Avoid", "Strict"})
        settings.setValue(QStringLiteral("Import/") + key, QStringLiteral("0-255"));
    settings.sync();
    ExpectSameSettings(RememberedImportChoices::Load().Settings, ImportSettings{}, "unreadable values");
    QSettings().clear();
}

}  // namespace
