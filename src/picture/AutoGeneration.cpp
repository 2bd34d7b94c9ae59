#include "picture/AutoGeneration.h"

AutoGenerationResult GenerateHighlightedAndDisabled(classUnitGAF& unit, const std::string& Filename,
                                                    PictureFileKind Kind,
                                                    const std::function<void(AutoGenerationStage)>& Stage,
                                                    imagefiles::FileFailure* Why,
                                                    const import::ImportSettings& Settings) {
    const auto stage = [&Stage](AutoGenerationStage next) {
        if (Stage) Stage(next);
    };
    const auto load = [&](int32_t TAPic) {
        switch (Kind) {
            case PictureFileKind::Pcx: return unit.LoadPCXPicture(Filename, TAPic, Why);
            case PictureFileKind::Imported: return unit.ImportPicture(Filename, TAPic, Settings, nullptr, Why);
            case PictureFileKind::Bmp: break;
        }
        return unit.LoadBMPPicture(Filename, TAPic, Why);
    };
    stage(AutoGenerationStage::LoadingPictures);
    if (!load(kHighlightedPic)) return AutoGenerationResult::FirstLoadFailed;
    if (!load(kDisabledPic)) return AutoGenerationResult::SecondLoadFailed;
    stage(AutoGenerationStage::MakingHighlighted);
    unit.MakePicLighter(kHighlightedPic);
    stage(AutoGenerationStage::MakingDisabled);
    unit.MakePicGrey(kDisabledPic);
    return AutoGenerationResult::Done;
}
