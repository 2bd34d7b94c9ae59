#include "cli/CliFileSteps.h"

#include <cctype>

#include "cli/CliMessages.h"
#include "cli/GafListing.h"
#include "gaf/GafExtraction.h"
#include "gaf/GafReader.h"
#include "gaf/Windows1252.h"
#include "picture/CommandMessages.h"
#include "picture/FailureReasons.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"

namespace {

using StepFailure = std::optional<std::string>;

constexpr const char* kOutputLost = "Standard output could not be written.";

// A reason from the lower layers as the end of a sentence.
std::string Sentence(const std::string& lead, const imagefiles::FileFailure& why) {
    return lead + ": " + imagefiles::ReasonText(why) + ".";
}

std::string NotSaved(const char* message, const std::string& path, const imagefiles::FileFailure& why) {
    return std::string(message) + " " + DescribeWriteFailure(path, why);
}

// Whatever was printed must have reached standard output; a full disk or a closed pipe is a
// failure, not a silent loss.
StepFailure Flushed(CliOutput& out) {
    if (!out.Flush()) return kOutputLost;
    return std::nullopt;
}

StepFailure RunSavePcx(const classUnitGAF& unit, const CliStep& step) {
    imagefiles::FileFailure why;
    if (!SaveSlotAsPCX(unit, step.Slot, step.Text, &why))
        return NotSaved(CommandMessages::kPictureNotSaved, step.Text, why);
    return std::nullopt;
}

StepFailure RunSavePng(const classUnitGAF& unit, const CliStep& step) {
    imagefiles::FileFailure why;
    if (!SaveSlotAsPNG(unit, step.Slot, step.Text, &why))
        return NotSaved(CommandMessages::kPictureNotSaved, step.Text, why);
    return std::nullopt;
}

StepFailure RunPreviewPng(const classUnitGAF& unit, const CliStep& step) {
    imagefiles::FileFailure why;
    if (!SaveFrameAsPNG(unit, step.Slot, step.Text, &why))
        return NotSaved(CliMessages::kPreviewNotSaved, step.Text, why);
    return std::nullopt;
}

// A name that cannot go into the GAF file fails with --write-gaf's own words.
StepFailure RunExportUnit(const classUnitGAF& unit, const CliStep& step, CliOutput& out) {
    const std::string name = unit.Name();
    if (name.empty()) return CommandMessages::kNoUnitName;
    if (!windows1252::FromUtf8(name)) {
        return std::string(CommandMessages::kGafNotWritten) + CliMessages::kNameNotEncodable;
    }
    imagefiles::FileFailure why;
    const auto files = ExportUnit(unit, step.Dir, &why);
    if (!files) {
        if (why.Kind == imagefiles::FailureKind::BadName) {
            std::string reason = why.Detail;
            if (!reason.empty()) reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
            return std::string(CommandMessages::kGafNotWritten) + " " + reason + ".";
        }
        return "The unit's files could not be written: " + why.Detail + ".";
    }
    out << files->Gadget << '\n' << files->UnitPicture << '\n';
    return Flushed(out);
}

StepFailure RunGafList(const CliStep& step, CliOutput& out) {
    imagefiles::FileFailure why;
    const auto gaf = gaf::ReadGafFile(step.Text, &why);
    if (!gaf) return Sentence("The GAF file could not be read", why);
    out << GafListingJson(*gaf) << '\n';
    return Flushed(out);
}

// Prints each file's path as it is written, then how many were written, 0 included. The reading
// and the extraction share one work budget.
StepFailure RunGafExtract(const CliStep& step, CliOutput& out) {
    imagefiles::FileFailure why;
    gaf::WorkBudget budget;
    const auto gaf = gaf::ReadGafFile(step.Text, &why, budget);
    if (!gaf) return Sentence("The GAF file could not be read", why);
    std::size_t written = 0;
    const auto print = [&](const std::string& path, std::size_t count) {
        out << path << '\n';
        written = count;
        return true;
    };
    const bool extracted = gaf::ExtractGafFrames(*gaf, step.Dir, print, &why, budget).has_value();
    out << std::to_string(written) << (written == 1 ? " file" : " files") << " written\n";
    if (const StepFailure lost = Flushed(out)) return lost;
    if (!extracted) return Sentence("The frames could not all be written", why);
    return std::nullopt;
}

}  // namespace

bool IsFileStep(CliStepKind kind) {
    switch (kind) {
        case CliStepKind::SavePcx:
        case CliStepKind::SavePng:
        case CliStepKind::PreviewPng:
        case CliStepKind::ExportUnit:
        case CliStepKind::GafList:
        case CliStepKind::GafExtract: return true;
        default: return false;
    }
}

std::optional<std::string> RunFileStep(classUnitGAF& unit, const CliStep& step, CliOutput& out) {
    switch (step.Kind) {
        case CliStepKind::SavePcx: return RunSavePcx(unit, step);
        case CliStepKind::SavePng: return RunSavePng(unit, step);
        case CliStepKind::PreviewPng: return RunPreviewPng(unit, step);
        case CliStepKind::ExportUnit: return RunExportUnit(unit, step, out);
        case CliStepKind::GafList: return RunGafList(step, out);
        case CliStepKind::GafExtract: return RunGafExtract(step, out);
        default: break;
    }
    return "not a file step";
}
