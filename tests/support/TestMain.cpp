#include <gtest/gtest.h>

#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    // The program fills the game palette once at start-up, before any picture set exists.
    modPalettes::InitGamePalette();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
