#pragma once
// What the main dialog asks of the Connection page: whether the pass-through through a receiver
// is established, and switching it (on when not established, off when established).

class ConnectionControl {
 public:
  virtual ~ConnectionControl() = default;
  virtual bool IsPassThroughOff() const = 0;
  virtual bool EnableDaisyChain() = 0;
};
