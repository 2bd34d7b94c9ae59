#include "picture/AutoGeneration.h"

#include "imagefiles/modPalettes.h"
#include "import/ImportPicture.h"

namespace {

// The basis's picture into both slots, each as its own load; for an import, one import copied
// into both.
AutoGenerationResult LoadBoth(classUnitGAF& unit, const SlotSource& basis, imagefiles::FileFailure* Why,
                              import::ConversionReport* Report) {
    switch (basis.Kind) {
        case PictureFileKind::Imported: {
            const auto result = import::ImportFile(basis.File, basis.Settings, Why);
            if (!result) return AutoGenerationResult::FirstLoadFailed;
            if (Report) *Report = result->Report;
            unit.SetSlot(kHighlightedPic, result->Indices);
            unit.SetSlot(kDisabledPic, result->Indices);
            return AutoGenerationResult::Done;
        }
        case PictureFileKind::Pcx:
            if (!unit.LoadPCXPicture(basis.File, kHighlightedPic, Why)) return AutoGenerationResult::FirstLoadFailed;
            if (!unit.LoadPCXPicture(basis.File, kDisabledPic, Why)) return AutoGenerationResult::SecondLoadFailed;
            return AutoGenerationResult::Done;
        case PictureFileKind::Bmp: break;
    }
    if (!unit.LoadBMPPicture(basis.File, kHighlightedPic, Why)) return AutoGenerationResult::FirstLoadFailed;
    if (!unit.LoadBMPPicture(basis.File, kDisabledPic, Why)) return AutoGenerationResult::SecondLoadFailed;
    return AutoGenerationResult::Done;
}

}  // namespace

AutoGenerationResult GenerateHighlightedAndDisabled(classUnitGAF& unit, SlotSource Basis,
                                                    const std::function<void(AutoGenerationStage)>& Stage,
                                                    imagefiles::FileFailure* Why, import::ConversionReport* Report) {
    if (Basis.From != SlotSource::Origin::File) return AutoGenerationResult::NoSourceFile;
    const auto stage = [&Stage](AutoGenerationStage next) {
        if (Stage) Stage(next);
    };
    stage(AutoGenerationStage::LoadingPictures);
    if (const AutoGenerationResult loaded = LoadBoth(unit, Basis, Why, Report); loaded != AutoGenerationResult::Done)
        return loaded;
    stage(AutoGenerationStage::MakingHighlighted);
    unit.MakePicLighter(kHighlightedPic);
    stage(AutoGenerationStage::MakingDisabled);
    unit.MakePicGrey(kDisabledPic);
    unit.NewPicture(kHighlightedPic, SlotSource::Generation());
    unit.NewPicture(kDisabledPic, SlotSource::Generation());
    return AutoGenerationResult::Done;
}

AutoGenerationResult GenerateFromNormalPicture(classUnitGAF& unit,
                                               const std::function<void(AutoGenerationStage)>& Stage,
                                               imagefiles::FileFailure* Why, import::ConversionReport* Report) {
    // A copy: the loads below may run other commands while they yield.
    return GenerateHighlightedAndDisabled(unit, *unit.Source(kNormalPic), Stage, Why, Report);
}
