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
//
// A flood of data never stalls the window: a line without an end is broken after kMaxLineLength
// characters (the break is the window's own: a backspace and Copy pass over it), the text keeps its
// newest kMaxLines lines, the queue keeps its newest kMaxPending characters (what lies before them
// would be scrolled out anyway), and each turn of the event loop shows at most kShowChunk
// characters of it.

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
  static constexpr int kMaxLineLength = 128;
  static constexpr int kMaxLines = 100000;
  // The kept lines and the one being received, each of full length with its line end.
  static constexpr size_t kMaxPending = static_cast<size_t>(kMaxLines + 1) * (kMaxLineLength + 1);
  static constexpr size_t kShowChunk = 65536;

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
  static void ToDisplayText(const uint8_t* data, size_t length, bool& afterCr, std::string& out);

  // Port reader thread.
  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;
  // User-interface thread: shows the queued text, a chunk at a time.
  void OnTerminalData();
  // Writes bytes to the current port (typing and paste).
  void Send(const std::string& bytes);

  VkcTerminalEdit* Edit() const { return edit_; }
  VkcComPort* ListenedPort() const { return listened_; }

 private:
  // Removes the front of the queued text that what follows would scroll out of the kept lines;
  // returns the line ends left.
  static size_t DropScrolledOut(std::u16string& text);
  // Appends text at the end, breaking over-long lines; a backspace removes the last character the
  // unit sent.
  void Show(const std::u16string& text);

  ModulinkApp& app_;
  VkcTerminalEdit* edit_;
  VkcComPort* listened_ = nullptr;    // the port the listener was added through
  platform::Event writeCancel_;       // never set: it makes the port honour the write time-out
  std::mutex pendingLock_;
  std::u16string pending_;            // received, not yet shown; a message 2025 is queued while not empty
  size_t pendingLineEnds_ = 0;        // in pending_
  bool afterCr_ = false;              // reader thread only
  std::string received_;              // reader thread only: the last block as shown
  std::u16string receivedWide_;       // reader thread only: the same, wide
  std::u16string showing_;            // user-interface thread only: the chunk being shown
  platform::qt::WindowMessages messages_;
};
