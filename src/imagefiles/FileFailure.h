#pragma once
// Why a file could not be read, decoded or written. The operations the user sees keep their
// plain true/false answer; this is the reason beneath it, for a message that says which file,
// what is wrong and what to do.

#include <string>
#include <utility>

namespace imagefiles {

enum class FailureKind {
    CannotOpen,     // missing, unreadable, a folder or a device
    TooLarge,       // the file is larger than any picture of this kind could need
    OtherKind,      // a picture of another kind; Detail names it ("PNG", "JPEG", ...)
    Unrecognised,   // not a picture file this program knows
    Truncated,      // the file ends before what its headers describe
    Malformed,      // the headers or the data contradict themselves
    Unsupported,    // a valid file of a variant this reader does not take (Detail says which)
    TooManyPixels,  // width x height beyond the reader's limit (Detail names the limit)
    WrongSize,      // a valid picture, but not of the size the command needs
    FullyTransparent,
    NotExact,     // a colour that is not a game colour where only exact colours are allowed
    BadName,      // a unit name the game cannot store (Detail names the character)
    CannotWrite,  // the destination could not be written (Detail names it, SystemText the cause)
    Cancelled,    // the user stopped the command (Detail says how far it came)
};

struct FileFailure {
    FailureKind Kind = FailureKind::Malformed;
    std::string Detail;        // our own words, plain text, no trailing full stop; may be empty
    std::string SystemText{};  // the operating system's words for its error ("No space left on device"), or empty
};

// Stores a failure where the caller asked for one (Why may be null).
inline void Report(FileFailure* Why, FailureKind Kind, std::string Detail = {}, std::string SystemText = {}) {
    if (Why) *Why = FileFailure{Kind, std::move(Detail), std::move(SystemText)};
}

// Detail and the system's words as one phrase: "the folder out: Permission denied", or either
// alone when the other is empty.
inline std::string ReasonText(const FileFailure& Why) {
    if (Why.SystemText.empty()) return Why.Detail;
    if (Why.Detail.empty()) return Why.SystemText;
    return Why.Detail + ": " + Why.SystemText;
}

}  // namespace imagefiles
