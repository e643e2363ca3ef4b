#pragma once
// The plain side of a page: its control states, its host, its handlers by control and event,
// and the data exchange its apply runs. No Qt: page logic is tested on this with a test host.
//
// The view (VkcModulinkDlg with a PageBinder) reads every control into Controls() before a
// handler or an apply runs, and writes them all back after, and before any message box the page
// opens. A page writes:
//   Refresh()             fill the controls from the unit, the device and the settings;
//   Exchange(dx)          take every field from the controls, with its checks (apply and the
//                         checked edits run it);
//   Store()               write the fields, once every check has passed;
//   handlers registered with On(id, event, ...) in its constructor.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "app/PageControls.h"
#include "app/VkcDataExchange.h"

class PageHost;

class PageModel {
 public:
  virtual ~PageModel() = default;

  void SetHost(PageHost* host) { host_ = host; }
  PageHost* GetHost() const { return host_; }
  PageControls& Controls() { return controls_; }
  const PageControls& Controls() const { return controls_; }
  // Set by the view: writes the controls onto its widgets. ShowMessage runs it first, so a box
  // never stands over a state the page has already left.
  void SetShowControls(std::function<void()> show) { showControls_ = std::move(show); }

  virtual void Refresh() {}
  // Takes every field (all are assigned even after a failure, so none is left stale); the first
  // failing check shows its message, asks the view to focus its control and refuses. Otherwise
  // Store() decides.
  bool Apply();

  // Runs the handler registered for this control and event (or for any event of the control).
  void Handle(int id, ControlEvent event);

 protected:
  virtual void Exchange(VkcDataExchange&) {}
  virtual bool Store() { return true; }

  using Handler = std::function<void()>;
  void On(int id, ControlEvent event, Handler handler);
  void OnAny(int id, std::function<void(ControlEvent)> handler);

  // Runs the exchange without storing; true when every check passed, else its message is shown.
  bool TakeValues();
  // The host's message box; does nothing without a host.
  int ShowMessage(std::string_view utf8, unsigned flags = 0, bool hint = false);
  int ShowMessage(const std::u16string& text, unsigned flags = 0, bool hint = false);
  PageHost& Host() { return *host_; }
  bool HasHost() const { return host_ != nullptr; }

  // The unit a refresh filled the page for is the unit as identified (its identification number)
  // and its model, not its device object: a refresh may swap in the object of another mode of the
  // same unit (the Wireless Interface page's active receiver); nor its serial number, which a
  // factory file replaces while the same unit stays connected. A page that must store nothing into
  // another unit notes the unit when its refresh fills the controls (filled false: it filled
  // nothing) and stores only while IsFilledUnit holds.
  void NoteFilledUnit(bool filled);
  bool IsFilledUnit() const;

  PageControls controls_;

 private:
  PageHost* host_ = nullptr;
  std::function<void()> showControls_;
  int filledModel_ = 0;  // 0: the controls hold no unit's values
  uint32_t filledIdentification_ = 0;
  std::map<std::pair<int, ControlEvent>, Handler> handlers_;
  std::map<int, std::function<void(ControlEvent)>> anyHandlers_;
};
