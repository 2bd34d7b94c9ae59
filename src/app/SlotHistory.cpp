// The undo history: every command that changes a slot is recorded as one step holding the
// slots it changed, before and after, and the buttons that depend on the slots follow them.
//
// Loads yield after every pixel, so another command can run, and record its own step, in the
// middle of one. Each command is therefore measured as a whole, from its first line to its
// return, and recorded only once it has returned.

#include <QDir>
#include <QTabWidget>
#include <QUndoStack>

#include "app/AppTexts.h"
#include "app/CaptionButton.h"
#include "app/QtPictureBox.h"
#include "app/SlotChange.h"
#include "app/frmMain.h"
#include "picture/classUnitGAF.h"

void frmMain::RecordSlotChange(const QString& name, const std::vector<int>& changing,
                               const std::function<bool()>& command) {
    const auto capture = [&] {
        std::vector<SlotState> states;
        for (int k : changing) states.push_back({k, UnitGAF().Record(k)});
        return states;
    };
    std::vector<SlotState> before = capture();
    // A command that failed part way may still have changed a slot (the generation's second
    // load): whatever changed is a step, whatever the command says.
    command();
    UpdateEffectButtons();
    if (unloaded_ || closePending_) return;
    std::vector<SlotState> after = capture();
    bool changed = false;
    for (std::size_t i = 0; i < before.size(); ++i) changed = changed || !(before[i].Slot == after[i].Slot);
    if (!changed) return;  // a command that changed nothing is no step
    undoStack_->push(new SlotChange(name, std::move(before), std::move(after),
                                    [this](const std::vector<SlotState>& states) { PutSlotsBack(states); }));
}

void frmMain::PutSlotsBack(const std::vector<SlotState>& states) {
    if (states.empty()) return;
    tabs_->setCurrentIndex(states.front().TAPic);
    classUnitGAF& unit = UnitGAF();
    for (const SlotState& state : states) {
        unit.Restore(state.TAPic, state.Slot);
        ShowSource(state.TAPic);
        ShowSlot(state.TAPic);
        unit.DisplayPicture(state.TAPic, *Picture1(state.TAPic), 0, true);
    }
    UpdateEffectButtons();
}

void frmMain::ShowSource(int TAPic) {
    const SlotSource& source = *UnitGAF().Source(TAPic);
    QString shown;
    switch (source.From) {
        case SlotSource::Origin::File: shown = QDir::toNativeSeparators(QString::fromStdString(source.File)); break;
        case SlotSource::Origin::Generated: shown = QString::fromUtf8(AppTexts::kMadeByGeneration); break;
        case SlotSource::Origin::None: break;
    }
    PicUnitpic(TAPic)->setToolTip(shown);
    Picture1(TAPic)->setToolTip(shown);
}

void frmMain::UpdateEffectButtons() {
    // Once per picture: lightening or greying one picture twice would wash it out.
    const bool lightened = HasUnitGAF() && UnitGAF().WasLightened(kHighlightedPic);
    const bool greyed = HasUnitGAF() && UnitGAF().WasGreyed(kDisabledPic);
    pages_[kHighlightedPage].Light->setEnabled(!lightened);
    pages_[kDisabledPage].Grey->setEnabled(!greyed);
}
