#pragma once
// The one-operation lock: at most one page or panel runs a long operation at a time. Touched on
// the user-interface thread only, so it is a plain owner field.

class VkcProcessLock {
 public:
  // Succeeds only when free; a second Lock by the holder fails too.
  bool Lock(const void* owner) {
    if (owner_ != nullptr || owner == nullptr) return false;
    owner_ = owner;
    return true;
  }
  // True when free or held by owner (it becomes free); false when another owner holds it.
  bool Unlock(const void* owner) {
    if (owner_ != nullptr && owner_ != owner) return false;
    owner_ = nullptr;
    return true;
  }
  bool IsHeld() const { return owner_ != nullptr; }
  const void* Owner() const { return owner_; }

 private:
  const void* owner_ = nullptr;
};
