#pragma once
// Messages the window and iconwright-cli both give for the same failures, kept in one place so
// the two cannot drift apart.

namespace CommandMessages {

inline constexpr const char* kBadPicture = "The background image must be a 96x96, 256 color bitmap";
inline constexpr const char* kPictureNotSaved = "The picture could not be saved.";
inline constexpr const char* kGafNotWritten = "The .GAF file could not be written.";
inline constexpr const char* kNoUnitName = "You can't save without specifying your units UNITNAME";
inline constexpr const char* kTaskFailed = "Error whilst processing task";
inline constexpr const char* kPictureNotImported = "The picture could not be imported.";
inline constexpr const char* kGafNotOpened = "The .GAF file could not be opened.";
inline constexpr const char* kUnitNotExported = "The unit's files could not be written.";
inline constexpr const char* kFramesNotWritten = "The frames could not all be written.";

}  // namespace CommandMessages
