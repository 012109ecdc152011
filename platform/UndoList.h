#pragma once
// The changes made in a window, in order, so that each can be taken back and made again until
// the window is confirmed or cancelled. A step carries its own undo and redo; the list only
// keeps their order and where the user stands in it.

#include <cstddef>
#include <functional>
#include <vector>

namespace quastor {

class UndoList {
 public:
  struct Step {
    std::function<void()> undo;
    std::function<void()> redo;
  };

  // A change just made: it becomes the one Undo takes back, and what was undone before it can
  // no longer be redone.
  void Add(Step step);
  // Takes back the last change; false when there is none.
  bool Undo();
  // Makes the last change taken back again; false when there is none.
  bool Redo();
  // Forgets every step: what is shown now is what was read.
  void Clear();

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // True while a change is in force: steps were made and not all taken back.
  bool Changed() const { return done_ > 0; }

 private:
  std::vector<Step> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) are in force
  bool running_ = false;  // a step runs: what it changes is no new step
};

}  // namespace quastor
