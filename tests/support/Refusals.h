#pragma once
// A refusal's kind and reason as one text, so that one comparison checks and shows both.

#include <string>
#include "imagefiles/FileFailure.h"

namespace testsupport {
inline std::string Said(const imagefiles::FileFailure& why) {
    return std::to_string(static_cast<int>(why.Kind)) + ": " + imagefiles::ReasonText(why);
}
}  // namespace testsupport
