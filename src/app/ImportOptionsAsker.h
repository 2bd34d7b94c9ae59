#pragma once
// How the window asks for the options of one import: the import dialog, or in tests a script.

#include <optional>
#include <string>

#include "app/ImportChoices.h"
#include "imagefiles/RgbaPicture.h"

class ImportOptionsAsker {
public:
    virtual ~ImportOptionsAsker() = default;

    // Shows the options for Picture, decoded from Filename, starting from Start; the options
    // chosen on OK, nothing on Cancel.
    virtual std::optional<ImportChoices> Ask(const std::string& Filename, const imagefiles::RgbaPicture& Picture,
                                             const ImportChoices& Start) = 0;
};
