#include "cli/CliImportSteps.h"

#include <memory>

#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"
#include "picture/AutoGeneration.h"
#include "picture/classUnitGAF.h"

namespace {

// Takes the value of a settings step into settings; false when the value is not a good one.
bool ApplySetting(CliStepKind kind, std::string_view word, import::ImportSettings& settings, std::string* problem) {
    switch (kind) {
        case CliStepKind::Fit:
            if (const auto fit = import::ParseFitMode(word)) return settings.Fit = *fit, true;
            if (problem) *problem = "use contain, cover, stretch or none";
            return false;
        case CliStepKind::Trim:
        case CliStepKind::Strict:
            if (const auto on = import::ParseOnOff(word)) {
                (kind == CliStepKind::Trim ? settings.Trim : settings.Strict) = *on;
                return true;
            }
            if (problem) *problem = "use on or off";
            return false;
        case CliStepKind::Match:
            if (const auto rule = import::ParseMatchRule(word)) return settings.Match = *rule, true;
            if (problem) *problem = "use rgb or perceptual";
            return false;
        case CliStepKind::Dither:
            if (const auto dither = import::ParseDitherMode(word)) return settings.Dither = *dither, true;
            if (problem) *problem = "use none or floyd-steinberg";
            return false;
        case CliStepKind::Avoid:
            if (const auto avoid = import::ParseAvoidList(word, problem)) return settings.Avoid = *avoid, true;
            return false;
        case CliStepKind::Background:
            if (const auto colour = import::ParseHexColour(word)) {
                settings.Background = *colour;
                settings.BackgroundFrame.reset();
                return true;
            }
            if (problem) *problem = "a colour is #RRGGBB; anything else not starting with # is a picture file";
            return false;
        default: break;
    }
    return false;
}

std::string Reported(const CliStep& step, const import::ConversionReport& report) {
    return DescribeStep(step) + ": " + import::DescribeReport(report);
}

}  // namespace

std::string_view ImportSettingArgName(CliStepKind kind) {
    switch (kind) {
        case CliStepKind::Fit: return "MODE";
        case CliStepKind::Background: return "COLOR|FILE";
        case CliStepKind::Trim:
        case CliStepKind::Strict: return "on|off";
        case CliStepKind::Match: return "RULE";
        case CliStepKind::Dither: return "METHOD";
        case CliStepKind::Avoid: return "LIST";
        default: return "VALUE";
    }
}

std::string CheckImportSetting(CliStepKind kind, std::string_view word) {
    if (kind == CliStepKind::Background && !word.starts_with('#')) return {};  // a FILE
    import::ImportSettings scratch;
    std::string problem;
    if (ApplySetting(kind, word, scratch, &problem)) return {};
    return problem.empty() ? std::string("not a value of this step") : problem;
}

bool IsImportStep(CliStepKind kind) {
    switch (kind) {
        case CliStepKind::Fit:
        case CliStepKind::Background:
        case CliStepKind::Trim:
        case CliStepKind::Match:
        case CliStepKind::Dither:
        case CliStepKind::Avoid:
        case CliStepKind::Strict:
        case CliStepKind::Import:
        case CliStepKind::AutoImport: return true;
        default: return false;
    }
}

std::optional<std::string> RunImportStep(classUnitGAF& unit, import::ImportSettings& settings, const CliStep& step,
                                         CliOutput& out) {
    imagefiles::FileFailure why;
    import::ConversionReport report;
    switch (step.Kind) {
        case CliStepKind::Import:
            if (!unit.ImportPicture(step.Text, step.Slot, settings, &report, &why))
                return import::DescribeImportFailure(why);
            out << Reported(step, report) << '\n';
            return std::nullopt;
        case CliStepKind::AutoImport:
            if (GenerateHighlightedAndDisabled(unit,
                                               SlotSource::FromFile(step.Text, PictureFileKind::Imported, settings), {},
                                               &why, &report) != AutoGenerationResult::Done)
                return import::DescribeImportFailure(why);
            out << Reported(step, report) << '\n';
            return std::nullopt;
        case CliStepKind::Background:
            if (!step.Text.starts_with('#')) {
                auto frame = import::LoadBackgroundFrame(step.Text, &why);
                if (!frame) return "the background picture: " + import::DescribeImportFailure(why);
                settings.BackgroundFrame = std::make_shared<const imagefiles::RgbaPicture>(std::move(*frame));
                return std::nullopt;
            }
            break;
        default: break;
    }
    // The value was checked before anything ran.
    ApplySetting(step.Kind, step.Text, settings, nullptr);
    return std::nullopt;
}
