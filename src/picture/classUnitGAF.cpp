#include "picture/classUnitGAF.h"

#include <utility>

#include "imagefiles/modPalettes.h"
#include "picture/ResamplePicture.h"

namespace {

// Every game colour moved one fifth of the way towards white. (4c + 255) / 5 is never exactly
// halfway between two integers, so adding 2 before the integer division rounds it to nearest.
Palette BuildLightPalette(const Palette& game) {
    Palette light{};
    const auto lighten = [](uint8_t c) { return static_cast<uint8_t>((4 * c + 255 + 2) / 5); };
    for (std::size_t i = 0; i < light.size(); ++i) {
        light[i].Red = lighten(game[i].Red);
        light[i].Green = lighten(game[i].Green);
        light[i].Blue = lighten(game[i].Blue);
    }
    return light;
}

Palette BuildGreyPalette() {
    Palette grey{};
    for (std::size_t i = 0; i < grey.size(); ++i) {
        const auto level = static_cast<uint8_t>(i);
        grey[i] = PaletteEntry{level, level, level, 0};
    }
    return grey;
}

}  // namespace

classUnitGAF::classUnitGAF(YieldCallback yield)
    : GreyPalette_(BuildGreyPalette()),
      LightPalette_(BuildLightPalette(modPalettes::GamePalette)),
      yield_(std::move(yield)) {
    NormalPic_.fill(255);
    HighlightedPic_.fill(255);
    DisabledPic_.fill(255);
}

void classUnitGAF::Name(const std::string& UnitName) { UnitName_ = UnitName; }

std::string classUnitGAF::Name() const { return UnitName_; }

const Picture* classUnitGAF::Slot(int32_t TAPic) const {
    switch (TAPic) {
        case kNormalPic: return &NormalPic_;
        case kHighlightedPic: return &HighlightedPic_;
        case kDisabledPic: return &DisabledPic_;
        default: return nullptr;
    }
}

Picture* classUnitGAF::MutableSlot(int32_t TAPic) { return const_cast<Picture*>(std::as_const(*this).Slot(TAPic)); }

void classUnitGAF::SetSlot(int32_t TAPic, const Picture& Pixels) {
    if (Picture* slot = MutableSlot(TAPic)) *slot = Pixels;
}

Picture classUnitGAF::WorkingCopy(int32_t TAPic) const {
    if (const Picture* slot = Slot(TAPic)) return *slot;
    Picture black{};
    black.fill(0);
    return black;
}

gaf::Frame classUnitGAF::ReducedFrame(int32_t TAPic) const {
    const Picture source = WorkingCopy(TAPic);
    gaf::Frame frame{};
    ResamplePicture(source, kPictureSide, kPictureSide, frame, gaf::kFrameSide, gaf::kFrameSide,
                    modPalettes::GamePalette, 0);
    return frame;
}

const classUnitGAF::SlotNotes* classUnitGAF::NotesOf(int32_t TAPic) const {
    if (!Slot(TAPic)) return nullptr;
    return &notes_.at(static_cast<std::size_t>(TAPic));
}

const SlotSource* classUnitGAF::Source(int32_t TAPic) const {
    const SlotNotes* notes = NotesOf(TAPic);
    return notes ? &notes->Source : nullptr;
}

void classUnitGAF::SetSource(int32_t TAPic, const SlotSource& Source) {
    if (Slot(TAPic)) Notes(TAPic).Source = Source;
}

bool classUnitGAF::WasLightened(int32_t TAPic) const {
    const SlotNotes* notes = NotesOf(TAPic);
    return notes && notes->Lightened;
}

bool classUnitGAF::WasGreyed(int32_t TAPic) const {
    const SlotNotes* notes = NotesOf(TAPic);
    return notes && notes->Greyed;
}

SlotRecord classUnitGAF::Record(int32_t TAPic) const {
    const SlotNotes* notes = NotesOf(TAPic);
    if (!notes) {
        SlotRecord white;
        white.Pixels.fill(255);
        return white;
    }
    return SlotRecord{*Slot(TAPic), notes->Source, notes->Lightened, notes->Greyed};
}

void classUnitGAF::Restore(int32_t TAPic, const SlotRecord& Record) {
    Picture* slot = MutableSlot(TAPic);
    if (!slot) return;
    *slot = Record.Pixels;
    Notes(TAPic) = SlotNotes{Record.Source, Record.Lightened, Record.Greyed};
}

void classUnitGAF::NewPicture(int32_t TAPic, const SlotSource& Source) {
    if (Slot(TAPic)) Notes(TAPic) = SlotNotes{Source, false, false};
}
