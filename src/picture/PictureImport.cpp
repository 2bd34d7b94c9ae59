// The picture set's import commands: the import road's 96 x 96 result put into the slots.

#include "import/ImportPicture.h"
#include "picture/classUnitGAF.h"

bool classUnitGAF::ImportPicture(const std::string& Filename, int32_t TAPic, const import::ImportSettings& Settings,
                                 import::ConversionReport* Report, imagefiles::FileFailure* Why) {
    const auto result = import::ImportFile(Filename, Settings, Why);
    if (!result) return false;
    if (Report) *Report = result->Report;
    if (Picture* slot = MutableSlot(TAPic)) *slot = result->Indices;
    return true;
}

bool classUnitGAF::AutoImport(const std::string& Filename, const import::ImportSettings& Settings,
                              import::ConversionReport* Report, imagefiles::FileFailure* Why) {
    const auto result = import::ImportFile(Filename, Settings, Why);
    if (!result) return false;
    if (Report) *Report = result->Report;
    *MutableSlot(kHighlightedPic) = result->Indices;
    *MutableSlot(kDisabledPic) = result->Indices;
    MakePicLighter(kHighlightedPic);
    MakePicGrey(kDisabledPic);
    return true;
}
