#include "cli/CliRunner.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "IconwrightVersion.h"
#include "cli/CliFileSteps.h"
#include "cli/CliHelp.h"
#include "cli/CliImportSteps.h"
#include "cli/CliMessages.h"
#include "cli/CliSteps.h"
#include "gaf/GafFile.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/AutoGeneration.h"
#include "picture/CommandMessages.h"
#include "picture/CrossSizeText.h"
#include "picture/FailureReasons.h"
#include "picture/UnitName.h"
#include "picture/classUnitGAF.h"

namespace {

constexpr std::string_view kProgram = "iconwright-cli";

// The texts the window shows for the same failures, and the CLI's own for failures the window
// keeps silent about.
constexpr const char* kBadPicture = CommandMessages::kBadPicture;
constexpr const char* kPictureNotSaved = CommandMessages::kPictureNotSaved;
constexpr const char* kPreviewNotSaved = CliMessages::kPreviewNotSaved;
constexpr const char* kNoUnitName = CommandMessages::kNoUnitName;
constexpr const char* kGafNotWritten = CommandMessages::kGafNotWritten;
constexpr const char* kCrossOutOfRange = "The cross size must lie between -32768 and 32767";
constexpr const char* kTaskFailed = CommandMessages::kTaskFailed;

// Each step either succeeds (nothing) or gives the reason it failed.
using StepFailure = std::optional<std::string>;

// The unit-name rule, as both steps that write the GAF file apply it.
StepFailure RefusedUnitName(const std::string& name) {
    if (name.empty()) return kNoUnitName;
    if (const std::optional<std::string> problem = UnitNameProblem(name))
        return std::string(kGafNotWritten) + " " + *problem;
    return std::nullopt;
}

bool WritesGaf(CliStepKind kind) { return kind == CliStepKind::WriteGaf || kind == CliStepKind::ExportUnit; }

StepFailure RunUnit(classUnitGAF& unit, const CliStep& step) {
    unit.Name(step.Text);
    return std::nullopt;
}

// The window's message first, then the same reason the window gives beneath it.
constexpr ImportCommandWords kImportStep{"--import", "--import", "--load-bmp", "--load-pcx"};

StepFailure RunLoadBmp(classUnitGAF& unit, const CliStep& step) {
    imagefiles::FileFailure why;
    if (!unit.LoadBMPPicture(step.Text, step.Slot, &why))
        return std::string(kBadPicture) + ". " + DescribeLoadFailure(step.Text, why, kImportStep);
    return std::nullopt;
}

StepFailure RunLoadPcx(classUnitGAF& unit, const CliStep& step) {
    imagefiles::FileFailure why;
    if (!unit.LoadPCXPicture(step.Text, step.Slot, &why))
        return std::string(kBadPicture) + ". " + DescribeLoadFailure(step.Text, why, kImportStep);
    return std::nullopt;
}

StepFailure RunSaveBmp(classUnitGAF& unit, const CliStep& step) {
    imagefiles::FileFailure why;
    if (!unit.SaveAsBMP(step.Slot, step.Text, &why))
        return std::string(kPictureNotSaved) + " " + DescribeWriteFailure(step.Text, why);
    return std::nullopt;
}

// The slot as the GAF file will hold it: the 64 x 64 reduction, in the game palette.
StepFailure RunPreview(classUnitGAF& unit, const CliStep& step) {
    const gaf::Frame frame = unit.ReducedFrame(step.Slot);
    imagefiles::FileFailure why;
    if (!modBmp::WriteBMPFile(step.Text, frame, modPalettes::GamePalette, gaf::kFrameSide, gaf::kFrameSide, &why)) {
        return std::string(kPreviewNotSaved) + " " + DescribeWriteFailure(step.Text, why);
    }
    return std::nullopt;
}

StepFailure RunWriteGaf(classUnitGAF& unit, const CliStep& step) {
    if (const StepFailure refused = RefusedUnitName(unit.Name())) return refused;
    imagefiles::FileFailure why;
    if (!unit.SaveGadget(step.Text, "UseNameEntry", &why))
        return std::string(kGafNotWritten) + " " + DescribeWriteFailure(step.Text, why);
    return std::nullopt;
}

StepFailure RunBorder(classUnitGAF& unit, const CliStep& step) {
    unit.AddCavedogLikeBorder(step.Slot, 1);
    return std::nullopt;
}

// The SIZE is read by the same rules as the window's cross prompt. In a script an empty SIZE
// cannot mean "cancelled", so it is refused like any other text that is not a number.
StepFailure RunCross(classUnitGAF& unit, const CliStep& step) {
    const CrossSizeAnswer answer = ParseCrossSize(step.Text);
    switch (answer.Verdict) {
        case CrossSizeVerdict::Accepted: unit.AddBlackCross(step.Slot, answer.Size); return std::nullopt;
        case CrossSizeVerdict::OutOfRange: return kCrossOutOfRange;
        case CrossSizeVerdict::Empty:
        case CrossSizeVerdict::NotANumber: break;
    }
    return kNotANumberMessage;
}

StepFailure RunLighter(classUnitGAF& unit, const CliStep& step) {
    unit.MakePicLighter(step.Slot);
    return std::nullopt;
}

StepFailure RunGrey(classUnitGAF& unit, const CliStep& step) {
    unit.MakePicGrey(step.Slot);
    return std::nullopt;
}

StepFailure RunGrid(classUnitGAF& unit, const CliStep& step) {
    unit.AddGrid(step.Slot);
    return std::nullopt;
}

StepFailure RunFill(classUnitGAF& unit, const CliStep& step) {
    unit.ResetToBackground(step.Slot, step.Color);
    return std::nullopt;
}

bool EndsWithPcx(std::string_view file) {
    constexpr std::string_view kPcx = ".pcx";
    if (file.size() < kPcx.size()) return false;
    return std::equal(
        kPcx.begin(), kPcx.end(), file.end() - static_cast<std::ptrdiff_t>(kPcx.size()),
        [](char expected, char actual) { return expected == std::tolower(static_cast<unsigned char>(actual)); });
}

// The automatic generation, as the window's button does it; the reader is chosen by the file's
// name rather than by a dialog's last extension.
StepFailure RunAuto(classUnitGAF& unit, const CliStep& step) {
    const PictureFileKind kind = EndsWithPcx(step.Text) ? PictureFileKind::Pcx : PictureFileKind::Bmp;
    imagefiles::FileFailure why;
    if (GenerateHighlightedAndDisabled(unit, SlotSource::FromFile(step.Text, kind), {}, &why) !=
        AutoGenerationResult::Done)
        return std::string(kTaskFailed) + ". " + DescribeLoadFailure(step.Text, why, kImportStep);
    return std::nullopt;
}

StepFailure RunStep(classUnitGAF& unit, const CliStep& step) {
    switch (step.Kind) {
        case CliStepKind::Unit: return RunUnit(unit, step);
        case CliStepKind::LoadBmp: return RunLoadBmp(unit, step);
        case CliStepKind::LoadPcx: return RunLoadPcx(unit, step);
        case CliStepKind::SaveBmp: return RunSaveBmp(unit, step);
        case CliStepKind::Preview: return RunPreview(unit, step);
        case CliStepKind::WriteGaf: return RunWriteGaf(unit, step);
        case CliStepKind::Border: return RunBorder(unit, step);
        case CliStepKind::Cross: return RunCross(unit, step);
        case CliStepKind::Lighter: return RunLighter(unit, step);
        case CliStepKind::Grey: return RunGrey(unit, step);
        case CliStepKind::Grid: return RunGrid(unit, step);
        case CliStepKind::Fill: return RunFill(unit, step);
        case CliStepKind::Auto: return RunAuto(unit, step);
        default: break;
    }
    return "unknown step";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliOutput& out, CliOutput& err) {
    const CliCommandLine line = ParseCliSteps(args);
    switch (line.Result) {
        case CliCommandLine::Outcome::Help:
            out << CliHelpText();
            if (!out.Flush()) {
                err << kProgram << ": the help could not be written\n";
                return kCliStepFailed;
            }
            return kCliDone;
        case CliCommandLine::Outcome::Version:
            out << kProgram << ' ' << kIconwrightVersion << '\n';
            if (!out.Flush()) {
                err << kProgram << ": the version could not be written\n";
                return kCliStepFailed;
            }
            return kCliDone;
        case CliCommandLine::Outcome::UsageError:
            err << kProgram << ": " << line.Error << '\n';
            if (args.empty()) {
                err << '\n' << CliHelpText();
            } else {
                err << "Try '" << kProgram << " --help' for the list of steps.\n";
            }
            return kCliUsage;
        case CliCommandLine::Outcome::Run: break;
    }

    classUnitGAF unit;
    import::ImportSettings importSettings;
    for (const CliStep& step : line.Steps) {
        // A name cut to the entry's length is written all the same (scripts may rely on it), but
        // never without a word.
        if (WritesGaf(step.Kind) && !RefusedUnitName(unit.Name())) {
            if (const std::optional<std::string> cut = UnitNameCutWarning(unit.Name()))
                err << kProgram << ": " << DescribeStep(step) << ": " << EscapeControlCharacters(*cut) << '\n';
        }
        const StepFailure failure = IsImportStep(step.Kind) ? RunImportStep(unit, importSettings, step, out)
                                    : IsFileStep(step.Kind) ? RunFileStep(unit, step, out)
                                                            : RunStep(unit, step);
        if (failure) {
            err << kProgram << ": " << DescribeStep(step) << ": " << EscapeControlCharacters(*failure) << '\n';
            return kCliStepFailed;
        }
    }
    // What the steps printed (a report line, a listing, paths) must have reached standard output.
    if (!out.Flush()) {
        err << kProgram << ": standard output could not be written\n";
        return kCliStepFailed;
    }
    return kCliDone;
}
