// The picture set's import commands: the import road's 96 x 96 result put into the slots.

#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportPicture.h"
#include "picture/classUnitGAF.h"

bool classUnitGAF::ImportPicture(const std::string& Filename, int32_t TAPic, const import::ImportSettings& Settings,
                                 import::ConversionReport* Report, imagefiles::FileFailure* Why) {
    const auto decoded = imagefiles::ReadPictureFile(Filename, Why);
    if (!decoded) return false;
    return ImportDecodedPicture(*decoded, Filename, TAPic, Settings, Report, Why);
}

bool classUnitGAF::ImportDecodedPicture(const imagefiles::RgbaPicture& Decoded, const std::string& Filename,
                                        int32_t TAPic, const import::ImportSettings& Settings,
                                        import::ConversionReport* Report, imagefiles::FileFailure* Why) {
    const auto result = import::ImportDecoded(Decoded, Settings, modPalettes::GamePalette, Why);
    if (!result) return false;
    if (Report) *Report = result->Report;
    if (Picture* slot = MutableSlot(TAPic)) {
        *slot = result->Indices;
        NewPicture(TAPic, SlotSource::FromFile(Filename, PictureFileKind::Imported, Settings));
    }
    return true;
}
