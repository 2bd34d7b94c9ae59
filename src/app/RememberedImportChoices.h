#pragma once
// The import options kept from one run to the next in the user's settings (QSettings, under the
// organisation and application names the program sets), as the words iconwright-cli takes, under
// "Import/": Fit, BackgroundColour, BackgroundFile, Trim, Match, Dither, Avoid, Strict.

#include "app/ImportChoices.h"

namespace RememberedImportChoices {

// The options saved last. A value that is missing or not a good one gives the import's default
// for that option; a background file that can no longer be read gives the colour background.
ImportChoices Load();

void Save(const ImportChoices& Choices);

}  // namespace RememberedImportChoices
