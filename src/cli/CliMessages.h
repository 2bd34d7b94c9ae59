#pragma once
// iconwright-cli's own texts for failures the window keeps silent about, shared by the files
// that run the steps.

namespace CliMessages {

inline constexpr const char* kPreviewNotSaved = "The preview could not be saved.";
inline constexpr const char* kNameNotEncodable = " The unit name has a character that Windows-1252 has no code for.";

}  // namespace CliMessages
