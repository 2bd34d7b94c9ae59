#include "cli/CliSteps.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "cli/CliImportSteps.h"
#include "gaf/ControlCharacters.h"
#include "picture/classUnitGAF.h"

namespace {

enum class ArgKind { None, Slot, File, Name, Size, Color, Setting, Dir };

struct StepSyntax {
    std::string_view Name;
    CliStepKind Kind;
    std::array<ArgKind, 2> Args;
};

constexpr std::array<StepSyntax, 28> kSteps{{
    {"--unit", CliStepKind::Unit, {ArgKind::Name, ArgKind::None}},
    {"--load-bmp", CliStepKind::LoadBmp, {ArgKind::Slot, ArgKind::File}},
    {"--load-pcx", CliStepKind::LoadPcx, {ArgKind::Slot, ArgKind::File}},
    {"--save-bmp", CliStepKind::SaveBmp, {ArgKind::Slot, ArgKind::File}},
    {"--preview", CliStepKind::Preview, {ArgKind::Slot, ArgKind::File}},
    {"--write-gaf", CliStepKind::WriteGaf, {ArgKind::File, ArgKind::None}},
    {"--border", CliStepKind::Border, {ArgKind::Slot, ArgKind::None}},
    {"--cross", CliStepKind::Cross, {ArgKind::Slot, ArgKind::Size}},
    {"--lighter", CliStepKind::Lighter, {ArgKind::Slot, ArgKind::None}},
    {"--grey", CliStepKind::Grey, {ArgKind::Slot, ArgKind::None}},
    {"--grid", CliStepKind::Grid, {ArgKind::Slot, ArgKind::None}},
    {"--fill", CliStepKind::Fill, {ArgKind::Slot, ArgKind::Color}},
    {"--auto", CliStepKind::Auto, {ArgKind::File, ArgKind::None}},
    {"--fit", CliStepKind::Fit, {ArgKind::Setting, ArgKind::None}},
    {"--background", CliStepKind::Background, {ArgKind::Setting, ArgKind::None}},
    {"--trim", CliStepKind::Trim, {ArgKind::Setting, ArgKind::None}},
    {"--match", CliStepKind::Match, {ArgKind::Setting, ArgKind::None}},
    {"--dither", CliStepKind::Dither, {ArgKind::Setting, ArgKind::None}},
    {"--avoid", CliStepKind::Avoid, {ArgKind::Setting, ArgKind::None}},
    {"--strict", CliStepKind::Strict, {ArgKind::Setting, ArgKind::None}},
    {"--import", CliStepKind::Import, {ArgKind::Slot, ArgKind::File}},
    {"--auto-import", CliStepKind::AutoImport, {ArgKind::File, ArgKind::None}},
    {"--save-pcx", CliStepKind::SavePcx, {ArgKind::Slot, ArgKind::File}},
    {"--save-png", CliStepKind::SavePng, {ArgKind::Slot, ArgKind::File}},
    {"--preview-png", CliStepKind::PreviewPng, {ArgKind::Slot, ArgKind::File}},
    {"--export-unit", CliStepKind::ExportUnit, {ArgKind::Dir, ArgKind::None}},
    {"--gaf-list", CliStepKind::GafList, {ArgKind::File, ArgKind::None}},
    {"--gaf-extract", CliStepKind::GafExtract, {ArgKind::File, ArgKind::Dir}},
}};

constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kVersionOption = "--version";

std::string_view ArgName(ArgKind kind, CliStepKind step) {
    switch (kind) {
        case ArgKind::Setting: return ImportSettingArgName(step);
        case ArgKind::Slot: return "SLOT";
        case ArgKind::File: return "FILE";
        case ArgKind::Name: return "NAME";
        case ArgKind::Size: return "SIZE";
        case ArgKind::Color: return "COLOR";
        case ArgKind::Dir: return "DIR";
        case ArgKind::None: break;
    }
    return "";
}

const StepSyntax* FindStep(std::string_view name) {
    for (const auto& syntax : kSteps) {
        if (syntax.Name == name) return &syntax;
    }
    return nullptr;
}

// A word that starts with "--" is taken as the next step (or a mistyped one), never as an
// argument: "--load-bmp normal --write-gaf x.gaf" lacks its FILE rather than loading a file
// named "--write-gaf". A file whose name starts so can still be given as "./--name".
bool LooksLikeStep(std::string_view word) { return word.starts_with("--"); }

// A whole number written with an optional sign and nothing else. Every COLOR outside 0 to 255
// leaves the slot as it is, so one beyond 16 bits is held at the nearest 16-bit value, which
// lies outside too.
std::optional<int16_t> ParseColor(std::string_view text) {
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size()));
    constexpr int32_t kLowest = std::numeric_limits<int16_t>::min();
    constexpr int32_t kHighest = std::numeric_limits<int16_t>::max();
    if (text.size() > 5) return static_cast<int16_t>(negative ? kLowest : kHighest);
    int32_t value = 0;
    for (char digit : text) value = value * 10 + (digit - '0');
    return static_cast<int16_t>(std::clamp(negative ? -value : value, kLowest, kHighest));
}

// A word in double quotes, control characters written as escapes so that a message about it
// stays on one line.
std::string Quoted(std::string_view text) { return "\"" + EscapeControlCharacters(text) + "\""; }

// Reads one step starting at args[position]; advances position past it. Returns the usage
// error, or an empty text when the step is good.
std::string ParseOneStep(const std::vector<std::string>& args, size_t& position, std::vector<CliStep>& steps) {
    const std::string& name = args[position];
    const StepSyntax* syntax = FindStep(name);
    if (syntax == nullptr) {
        if (name.starts_with('-')) return "unknown step " + Quoted(name);
        return "expected a step, found " + Quoted(name);
    }
    ++position;

    CliStep step;
    step.Kind = syntax->Kind;
    step.Words.push_back(name);
    for (ArgKind kind : syntax->Args) {
        if (kind == ArgKind::None) break;
        if (position >= args.size() || LooksLikeStep(args[position])) {
            return std::string(syntax->Name) + ": missing " + std::string(ArgName(kind, syntax->Kind));
        }
        const std::string& word = args[position++];
        step.Words.push_back(word);
        switch (kind) {
            case ArgKind::Slot:
                step.Slot = ParseSlotName(word);
                if (step.Slot < 0) {
                    return std::string(syntax->Name) + ": bad SLOT " + Quoted(word) +
                           " (use normal, highlighted, disabled, 0, 1 or 2)";
                }
                break;
            case ArgKind::Color: {
                const auto color = ParseColor(word);
                if (!color) {
                    return std::string(syntax->Name) + ": bad COLOR " + Quoted(word) + " (a whole number)";
                }
                step.Color = *color;
                break;
            }
            case ArgKind::Setting: {
                const std::string problem = CheckImportSetting(syntax->Kind, word);
                if (!problem.empty()) {
                    return std::string(syntax->Name) + ": bad " + std::string(ArgName(kind, syntax->Kind)) + " " +
                           Quoted(word) + " (" + problem + ")";
                }
                step.Text = word;
                break;
            }
            case ArgKind::File:
            case ArgKind::Name:
            case ArgKind::Size: step.Text = word; break;
            case ArgKind::Dir: step.Dir = word; break;
            case ArgKind::None: break;
        }
    }
    steps.push_back(std::move(step));
    return {};
}

}  // namespace

int32_t ParseSlotName(std::string_view text) {
    if (text == "normal" || text == "0") return kNormalPic;
    if (text == "highlighted" || text == "1") return kHighlightedPic;
    if (text == "disabled" || text == "2") return kDisabledPic;
    return -1;
}

CliCommandLine ParseCliSteps(const std::vector<std::string>& args) {
    CliCommandLine line;
    // --help wins wherever it stands, even beside mistakes: whoever asks for help gets it.
    for (const auto& word : args) {
        if (word == kHelpOption) {
            line.Result = CliCommandLine::Outcome::Help;
            return line;
        }
    }
    for (const auto& word : args) {
        if (word == kVersionOption) {
            line.Result = CliCommandLine::Outcome::Version;
            return line;
        }
    }
    if (args.empty()) {
        line.Result = CliCommandLine::Outcome::UsageError;
        line.Error = "no steps given";
        return line;
    }
    size_t position = 0;
    while (position < args.size()) {
        std::string error = ParseOneStep(args, position, line.Steps);
        if (!error.empty()) {
            line.Result = CliCommandLine::Outcome::UsageError;
            line.Error = std::move(error);
            line.Steps.clear();
            return line;
        }
    }
    return line;
}

std::vector<std::string_view> CliStepNames() {
    std::vector<std::string_view> names;
    for (const auto& syntax : kSteps) names.push_back(syntax.Name);
    return names;
}

std::string DescribeStep(const CliStep& step) {
    std::string line;
    for (const auto& word : step.Words) {
        if (!line.empty()) line += ' ';
        const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte > 0x20 && byte != 0x7F;
        });
        if (!plain) {
            line += Quoted(word);
        } else {
            line += word;
        }
    }
    return line;
}

std::string EscapeControlCharacters(std::string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t control = gaf::ControlCharacterLength(text, i);
        const char c = text[i];
        if (control == 0) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else {
            constexpr std::string_view kHex = "0123456789ABCDEF";
            for (std::size_t k = i; k < i + control; ++k) {
                const auto byte = static_cast<unsigned char>(text[k]);
                shown += "\\x";
                shown += kHex[byte >> 4];
                shown += kHex[byte & 0xF];
            }
            i += control - 1;
        }
    }
    return shown;
}
