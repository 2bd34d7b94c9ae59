// The import options dialog off screen: options to widgets and back, the previews and the report
// as the options change, and the check on what the user types.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <random>

#include "WindowTestSupport.h"
#include "app/ImportDialog.h"
#include "app/ImportPreview.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportSettingsText.h"
#include "support/PictureEncoders.h"

using namespace apptest;

namespace {

using imagefiles::RgbaPicture;
using import::ImportSettings;

RgbaPicture Solid(int w, int h, std::array<uint8_t, 4> rgba) {
    RgbaPicture p{w, h, {}};
    for (int i = 0; i < w * h; ++i) p.Pixels.insert(p.Pixels.end(), rgba.begin(), rgba.end());
    return p;
}

class ImportDialogTest : public ::testing::Test {
public:
    ImportDialogTest() {
        testsupport::WriteBytes(green, pictureencode::EncodeRgbaPng(Solid(10, 10, {0, 200, 0, 255})));
        // 8 x 4: a fully transparent first column, then random colours, some of them half
        // transparent, so that every option changes the outcome.
        std::mt19937 random(17);
        for (int i = 0; i < 8 * 4 * 4; ++i) {
            const int x = i / 4 % 8, y = i / 32;
            picture.Pixels.push_back(i % 4 != 3 ? random() : x == 0 ? 0 : (x + y) % 3 == 0 ? 128 : 255);
        }
    }
    std::unique_ptr<ImportDialog> Open(const ImportChoices& start = {}) {
        ImportDialog::Pickers pickers;
        pickers.Colour = [this](const QColor& current) {
            shownColours.push_back(current);
            return NextAnswer<std::optional<QColor>>(colours, {}, "colour dialog");
        };
        pickers.BackgroundFile = [this] { return NextAnswer<std::optional<std::string>>(files, {}, "file dialog"); };
        auto dialog = std::make_unique<ImportDialog>(dir.file("picture.png"), picture, start, std::move(pickers));
        dialog->WaitForPreview();
        return dialog;
    }
    // What the dialog must show for settings: the import's own outcome, pixel for pixel.
    void ExpectShows(ImportDialog& dialog, const ImportSettings& settings, const std::string& where) {
        dialog.WaitForPreview();
        EXPECT_EQ(Compared(dialog.Choices().Settings), Compared(settings)) << where;
        const auto expected = import::ImportDecoded(picture, settings, modPalettes::GamePalette, nullptr);
        ASSERT_TRUE(expected && dialog.Result()) << where;
        EXPECT_EQ(dialog.Result()->Indices, expected->Indices) << where;
        EXPECT_EQ(dialog.SourcePreview(), ImportPreview::Truecolour(expected->Frames.Composited)) << where;
        EXPECT_EQ(dialog.ResultPreview(), ImportPreview::Indexed(expected->Indices, modPalettes::GamePalette)) << where;
        EXPECT_EQ(dialog.ReportText().toStdString(), import::DescribeReport(expected->Report)) << where;
        EXPECT_TRUE(dialog.OkButton()->isEnabled()) << where;
    }

    testsupport::TempDir dir;
    const std::string green = dir.file("green.png");
    RgbaPicture picture{8, 4, {}};
    std::deque<std::optional<QColor>> colours;
    std::deque<std::optional<std::string>> files;
    std::vector<QColor> shownColours;
};

// Every pixel a square of the scale: a truecolour picture, its transparency dropped, and indices
// in the game palette, which the dialog shows at twice their size. The frames are not square, so
// that width and height mixed up show.
TEST(ImportPreview, EveryPixelBecomesASquareOfTheScale) {
    const QImage big = ImportPreview::Truecolour({2, 1, {1, 2, 3, 255, 4, 5, 6, 0}}, 3);
    ASSERT_EQ(big.size(), QSize(6, 3));
    for (int x = 0; x < 6; ++x) EXPECT_EQ(big.pixel(x, 2), x < 3 ? qRgb(1, 2, 3) : qRgb(4, 5, 6)) << x;
    import::IndexFrame indices{};
    indices[95] = 249;  // the game's pure red
    const QImage shown = ImportPreview::Indexed(indices, modPalettes::GamePalette);
    ASSERT_EQ(shown.size(), QSize(192, 192));
    EXPECT_EQ(std::tuple(shown.pixel(189, 1), shown.pixel(190, 0), shown.pixel(191, 1), shown.pixel(190, 2)),
              std::tuple(qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 0)));
}

// The avoid list, colour and words as the dialog writes them read back to the same values.
TEST(ImportChoicesText, AvoidListsColoursAndWordsReadBackToTheSameValues) {
    const std::pair<std::vector<std::pair<int, int>>, const char*> rows[] = {
        {{}, "none"},          {{{7, 7}}, "7"},       {{{0, 0}, {240, 255}}, "0,240-255"},  {{{0, 1}, {3, 3}}, "0-1,3"},
        {{{0, 254}}, "0-254"}, {{{255, 255}}, "255"}, {{{1, 1}, {3, 3}, {5, 6}}, "1,3,5-6"}};
    for (const auto& [ranges, text] : rows) {
        std::bitset<256> avoid;
        for (auto [first, last] : ranges)
            for (int k = first; k <= last; ++k) avoid.set(static_cast<std::size_t>(k));
        EXPECT_EQ(AvoidListText(avoid), text);
        EXPECT_EQ(import::ParseAvoidList(text, nullptr), avoid) << text;
    }
    EXPECT_EQ(ColourText({0x12, 0xAB, 0x00}), "#12AB00");
    EXPECT_EQ(import::ParseHexColour(ColourText({0xFE, 0x01, 0x80})), (import::Colour{0xFE, 0x01, 0x80}));
    for (auto fit : {import::FitMode::Contain, import::FitMode::Cover, import::FitMode::Stretch, import::FitMode::None})
        EXPECT_EQ(import::ParseFitMode(FitModeWord(fit)), fit);
    for (auto dither : {import::DitherMode::None, import::DitherMode::FloydSteinberg})
        EXPECT_EQ(import::ParseDitherMode(DitherModeWord(dither)), dither);
}

// The options the dialog starts from show in its widgets; each option then changes the previews
// and the report as the import does; an avoid list that does not read greys out OK.
TEST_F(ImportDialogTest, OptionsShowInTheWidgetsAndChangeThePreviewsAsTheImportDoes) {
    ImportChoices start;
    ImportSettings& s = start.Settings;
    s.Fit = import::FitMode::Cover, s.Background = {0x10, 0x20, 0x30}, s.Trim = true;
    s.Match = import::MatchRule::Perceptual, s.Dither = import::DitherMode::FloydSteinberg;
    s.Avoid = *import::ParseAvoidList("0,240-255", nullptr);
    auto started = Open(start);
    EXPECT_EQ(std::tuple(started->FitBox()->currentIndex(), started->MatchBox()->currentIndex(),
                         started->DitherBox()->currentIndex(), started->TrimBox()->isChecked(),
                         started->StrictBox()->isChecked(), started->ColourButton()->text(),
                         started->BackgroundName()->text(), started->AvoidEdit()->text(), started->windowTitle()),
              std::tuple(1, 1, 1, true, false, "#102030", "(the colour)", "0,240-255", "Import picture - picture.png"));
    ExpectShows(*started, s, "start");
    started->AvoidEdit()->setText(QStringLiteral("300"));
    EXPECT_EQ(started->ProblemText(), "Avoid indices: \"300\" is not an index 0 to 255 or a range such as 240-255");
    EXPECT_FALSE(started->OkButton()->isEnabled());

    using D = ImportDialog&;
    using S = ImportSettings&;
    const struct {
        const char* Option;
        bool BeforeMapping;  // the truecolour picture changes with what comes before the mapping only
        std::function<void(D)> Change;
        std::function<void(S)> Expected;
    } rows[] = {
        {"fit", true, [](D d) { d.FitBox()->setCurrentIndex(2); }, [](S s) { s.Fit = import::FitMode::Stretch; }},
        {"trim", true, [](D d) { d.TrimBox()->click(); }, [](S s) { s.Trim = true; }},
        {"match", false, [](D d) { d.MatchBox()->setCurrentIndex(1); },
         [](S s) { s.Match = import::MatchRule::Perceptual; }},
        {"dither", false, [](D d) { d.DitherBox()->setCurrentIndex(1); },
         [](S s) { s.Dither = import::DitherMode::FloydSteinberg; }},
        {"avoid", false, [](D d) { d.AvoidEdit()->setText(" 0-127 "); },
         [](S s) { s.Avoid = *import::ParseAvoidList("0-127", nullptr); }},
        {"colour", true, [this](D d) { colours.push_back(QColor(255, 0, 255)), d.ColourButton()->click(); },
         [](S s) {
             s.Background = {255, 0, 255};
         }},
        {"background file", true, [this](D d) { files.push_back(green), d.BackgroundFileButton()->click(); },
         [this](S s) {
             s.BackgroundFrame = std::make_shared<const RgbaPicture>(*import::LoadBackgroundFrame(green, nullptr));
         }},
    };
    for (const auto& row : rows) {
        auto dialog = Open();
        const import::IndexFrame before = dialog->Result()->Indices;
        const QImage beforeSource = dialog->SourcePreview();
        const QString beforeReport = dialog->ReportText();
        row.Change(*dialog);
        ImportSettings expected;
        row.Expected(expected);
        ExpectShows(*dialog, expected, row.Option);
        EXPECT_NE(dialog->Result()->Indices, before) << row.Option;
        EXPECT_NE(dialog->ReportText(), beforeReport) << row.Option;
        EXPECT_EQ(dialog->SourcePreview() != beforeSource, row.BeforeMapping) << row.Option;
    }
    EXPECT_TRUE(colours.empty() && files.empty());
    EXPECT_EQ(shownColours, std::vector<QColor>{QColor(0, 0, 0)}) << "the picker starts from the background colour";
}

// Strict with a colour the game lacks: the dialog says it cannot import and OK stays greyed out,
// also when pressed. Every option changed at once, the last request is what shows, and the
// dialog keeps its size. Enter after choosing a colour is OK's, not the colour button's.
TEST_F(ImportDialogTest, CannotImportGreysOutOkTheLatestRequestShowsAndTheSizeStays) {
    auto dialog = Open();
    dialog->show();
    const QSize size = dialog->size();
    dialog->StrictBox()->click();
    dialog->WaitForPreview();
    EXPECT_TRUE(dialog->ReportText().startsWith("Cannot be imported: pixel ")) << dialog->ReportText().toStdString();
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    dialog->OkButton()->click();
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->isVisible());

    dialog->StrictBox()->click();
    dialog->MatchBox()->setCurrentIndex(1);
    dialog->DitherBox()->setCurrentIndex(1);
    dialog->FitBox()->setCurrentIndex(3);
    dialog->AvoidEdit()->setText(QStringLiteral("0-200"));
    ImportSettings expected;
    expected.Match = import::MatchRule::Perceptual, expected.Dither = import::DitherMode::FloydSteinberg;
    expected.Fit = import::FitMode::None, expected.Avoid = *import::ParseAvoidList("0-200", nullptr);
    ExpectShows(*dialog, expected, "all at once");
    EXPECT_EQ(dialog->size(), size);

    colours.push_back(QColor(1, 2, 3));
    dialog->ColourButton()->setFocus();
    dialog->ColourButton()->click();
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_TRUE(colours.empty() && shownColours.size() == 1u) << "the colour picker opened again";
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->size(), size);
}

}  // namespace
