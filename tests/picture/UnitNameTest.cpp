// The one unit-name rule: what it refuses, naming the character, and the warning for a name the
// GAF entry cuts. (The GAF write's use of it: PictureFilesTest.)

#include <gtest/gtest.h>

#include "picture/CommandMessages.h"
#include "picture/UnitName.h"

namespace {

const std::string kNotNameable =
    ", which a unit name cannot hold: it would make a sub-path or an entry the game cannot name.";

TEST(UnitName, RefusesWhatWouldMakeASubPathOrAnUnnameableEntryNamingTheCharacter) {
    const std::vector<std::pair<std::string, std::string>> refused{
        {"", CommandMessages::kNoUnitName},
        {"arm\xCE\xA9",  // armΩ
         "The unit name has \"\xCE\xA9\", a character the game cannot store. Use only Western European letters, "
         "digits and signs (Windows-1252)."},
        {"arm/camp", "The unit name has \"/\"" + kNotNameable},
        {"arm\\camp", "The unit name has \"\\\"" + kNotNameable},
        {"arm\tcamp", "The unit name has U+0009" + kNotNameable},
        {"arm\x1F", "The unit name has U+001F" + kNotNameable},
        {"arm\x7F", "The unit name has U+007F" + kNotNameable},
    };
    for (const auto& [name, sentence] : refused) EXPECT_EQ(UnitNameProblem(name), sentence) << name;
    for (const std::string name : {"armcamp", " ", "\xC5\xA1\xC3\xBF-1", "..", "arm camp (2)", "\xE2\x82\xAC"})
        EXPECT_EQ(UnitNameProblem(name), std::nullopt) << name;  // šÿ-1, €
}

TEST(UnitName, ANameLongerThanTheEntryIsCutWithAWordAndWrittenCut) {
    const std::string fits(31, 'a'), longer = "abcdefghijklmnopqrstuvwxyz0123456789";
    EXPECT_EQ(UnitNameCutWarning(fits), std::nullopt);
    EXPECT_EQ(UnitNameCutWarning(longer.substr(0, 32)),
              "The entry inside the file will be named ABCDEFGHIJKLMNOPQRSTUVWXYZ01234: the game reads 31 characters.");
    // Counted in the game's characters, not in UTF-8 bytes: 31 times "é" fits.
    std::string accented;
    for (int i = 0; i < 31; ++i) accented += "\xC3\xA9";
    EXPECT_EQ(UnitNameCutWarning(accented), std::nullopt);
    EXPECT_EQ(UnitNameCutWarning("arm/" + longer), std::nullopt);  // refused, not cut
}

}  // namespace
