#include "platform/UndoList.h"

namespace quastor {

void UndoList::Add(Step step) {
  if (running_)
    return;
  steps_.resize(done_);
  steps_.push_back(std::move(step));
  done_ = steps_.size();
}

bool UndoList::Undo() {
  if (!CanUndo() || running_)
    return false;
  running_ = true;
  --done_;
  steps_[done_].undo();
  running_ = false;
  return true;
}

bool UndoList::Redo() {
  if (!CanRedo() || running_)
    return false;
  running_ = true;
  steps_[done_].redo();
  ++done_;
  running_ = false;
  return true;
}

void UndoList::Clear() {
  steps_.clear();
  done_ = 0;
}

}  // namespace quastor
