#pragma once
// The terminal window: raw access to the open port. Every byte the unit sends is shown (line ends
// as line breaks, other control bytes but backspace as '.', a backspace removes the last character
// shown); every character typed goes to the port at once, unechoed. Several may be open; each is
// a listener of the port in the terminal group (muted while the loader receives a file) from its
// creation to its destruction, removed through the port it was added to.
//
// The port's reader thread only converts and queues the text and posts message 2025 to the window;
// the window shows it on the user-interface thread. Typing writes with a short time-out, so a port
// held by flow control never freezes the window (a byte that cannot go is dropped and logged).

#include <QWidget>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "link/VkcComPortInterface.h"
#include "platform/Event.h"
#include "platform/qt/WindowMessages.h"

class ModulinkApp;
class VkcComPort;
class VkcTerminalEdit;

class VkcTerminalWnd : public QWidget, public VkcComPortInterface {
  Q_OBJECT
 public:
  // Nominal time-out of one typed write.
  static constexpr int kWriteTimeoutMs = 200;

  // Listens to app's current port from now on.
  explicit VkcTerminalWnd(ModulinkApp& app, QWidget* parent = nullptr);
  ~VkcTerminalWnd() override;

  // A new terminal window of its own above parent, deleted when closed; tells the user when the
  // port is not open (the window stays open).
  static VkcTerminalWnd* Open(ModulinkApp& app, QWidget* parent);

  // Received bytes as shown: CR, LF and CR LF each one line break ("\n"); other bytes below 32
  // except backspace as '.'. afterCr carries a CR that ended the previous block, so a CR LF split
  // between two blocks is still one line break.
  static std::string ToDisplayText(const uint8_t* data, size_t length, bool& afterCr);

  // Port reader thread.
  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;
  // User-interface thread: shows the queued text.
  void OnTerminalData();
  // Writes bytes to the current port (typing and paste).
  void Send(const std::string& bytes);

  VkcTerminalEdit* Edit() const { return edit_; }
  VkcComPort* ListenedPort() const { return listened_; }

 private:
  ModulinkApp& app_;
  VkcTerminalEdit* edit_;
  VkcComPort* listened_ = nullptr;    // the port the listener was added through
  platform::Event writeCancel_;       // never set: it makes the port honour the write time-out
  std::mutex pendingLock_;
  std::u16string pending_;            // received, not yet shown
  bool afterCr_ = false;              // reader thread only
  platform::qt::WindowMessages messages_;
};
