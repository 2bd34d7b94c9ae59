#include "app/FailureText.h"

std::string ReasonSentence(const imagefiles::FileFailure& Why) {
    std::string sentence = imagefiles::ReasonText(Why);
    if (sentence.empty()) return {};
    // Only a plain letter is raised: the reason may start with a path or a name in UTF-8.
    if (sentence[0] >= 'a' && sentence[0] <= 'z') sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    return sentence + ".";
}
