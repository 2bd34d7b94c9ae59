#include "app/SlotChange.h"

#include <utility>

SlotChange::SlotChange(const QString& Name, std::vector<SlotState> Before, std::vector<SlotState> After, PutBack Put)
    : QUndoCommand(Name), before_(std::move(Before)), after_(std::move(After)), put_(std::move(Put)) {}

void SlotChange::undo() {
    put_(before_);
    done_ = false;
}

void SlotChange::redo() {
    if (done_) return;
    put_(after_);
    done_ = true;
}
