#pragma once
// One step of the window's undo history: the slots one command changed, as they were before
// it and after it (9,216 bytes each, with where the picture came from and whether it was
// lightened or greyed, all of which the picture set keeps with the slot).

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <vector>

#include "picture/SlotSource.h"

struct SlotState {
    int TAPic = 0;
    SlotRecord Slot;
};

class SlotChange : public QUndoCommand {
public:
    // Puts the given slots into the picture set and shows them.
    using PutBack = std::function<void(const std::vector<SlotState>&)>;

    // The command has already run when the step is made: pushing it onto the stack, which
    // calls redo, changes nothing.
    SlotChange(const QString& Name, std::vector<SlotState> Before, std::vector<SlotState> After, PutBack Put);

    void undo() override;
    void redo() override;

private:
    std::vector<SlotState> before_;
    std::vector<SlotState> after_;
    PutBack put_;
    bool done_ = true;
};
