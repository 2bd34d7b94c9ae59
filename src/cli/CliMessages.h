#pragma once
// iconwright-cli's own texts for failures the window keeps silent about, shared by the files
// that run the steps.

namespace CliMessages {

inline constexpr const char* kPreviewNotSaved = "The preview could not be saved.";

}  // namespace CliMessages
