// The undo history: every command that changes a slot is recorded as one step holding the
// slots it changed, before and after.
//
// Loads yield after every pixel, so another command can run, and record its own step, in the
// middle of one. Each command is therefore measured as a whole, from its first line to its
// return, and recorded only once it has returned.

#include <QTabWidget>
#include <QUndoStack>

#include "app/QtPictureBox.h"
#include "app/SlotChange.h"
#include "app/frmMain.h"
#include "picture/classUnitGAF.h"

void frmMain::RecordSlotChange(const QString& name, const std::vector<int>& changing,
                               const std::function<bool()>& command) {
    const auto capture = [&] {
        std::vector<SlotState> states;
        for (int k : changing) states.push_back({k, *UnitGAF().Slot(k), sources_.at(static_cast<std::size_t>(k))});
        return states;
    };
    std::vector<SlotState> before = capture();
    if (!command() || unloaded_ || closePending_) return;
    std::vector<SlotState> after = capture();
    bool changed = false;
    for (std::size_t i = 0; i < before.size(); ++i) changed = changed || before[i].Pixels != after[i].Pixels;
    if (!changed) return;
    undoStack_->push(new SlotChange(name, std::move(before), std::move(after),
                                    [this](const std::vector<SlotState>& states) { PutSlotsBack(states); }));
}

void frmMain::PutSlotsBack(const std::vector<SlotState>& states) {
    if (states.empty()) return;
    tabs_->setCurrentIndex(states.front().TAPic);
    classUnitGAF& unit = UnitGAF();
    for (const SlotState& state : states) {
        unit.SetSlot(state.TAPic, state.Pixels);
        SetSource(state.TAPic, state.Source);
        ShowSlot(state.TAPic);
        unit.DisplayPicture(state.TAPic, *Picture1(state.TAPic), 0, true);
    }
}

void frmMain::SetSource(int TAPic, const QString& source) {
    sources_.at(static_cast<std::size_t>(TAPic)) = source;
    PicUnitpic(TAPic)->setToolTip(source);
    Picture1(TAPic)->setToolTip(source);
}
