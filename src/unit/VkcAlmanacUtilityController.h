#pragma once
// The beacon almanac query: a worker switches the unit to its command line, makes it beacon master,
// reads the almanac table ("SCAN ALMANAC") and parses it into the series store. There is no stop:
// a query runs to its end. The page is told by message 1045:
//   1 the query has started, 2 the table is in the store, 0 the query failed (the text is the
//   store's message), 3 the worker has ended (always last).

#include <atomic>
#include <mutex>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Messages.h"
#include "platform/WorkerThread.h"

class AlmanacSeriesStore;
class VkcSystem;

class VkcAlmanacUtilityController {
 public:
  enum Result : uint32_t {
    kOk = 0,
    kNoMemory = 3,
    kNoCommandMode = 4,
    kNoMasterReply = 5,
    kMasterRefused = 6,
    kNoTableReply = 7,
    kNoTable = 8,
    kUnparsable = 9,
    kEmpty = 10,
    kStoreFull = 11,
  };
  enum Notice : intptr_t { kFailed = 0, kStarted = 1, kTable = 2, kEnded = 3 };

  VkcAlmanacUtilityController(VkcSystem& system, AlmanacSeriesStore& store);
  virtual ~VkcAlmanacUtilityController();

  // Stores the window and starts a query unless one is running.
  void Start(platform::WindowHandle window);
  bool IsRunning() const { return running_.load(); }
  // Waits for an ended worker (after message 3).
  void Join() { worker_.Join(); }
  // The last table text the unit gave.
  std::string GetTable() const;

  // Parses a table into store: the result code, the store's message set on failure.
  static uint32_t ParseTable(std::string_view table, AlmanacSeriesStore& store);
  // text cut at every sep, as successive reads of a line reader give the pieces: no piece for an
  // empty text, no empty last piece after a trailing sep.
  static std::vector<std::string_view> SplitString(std::string_view text, char sep);

 private:
  bool StartThread();
  void ThreadProc();
  uint32_t Run();
  uint32_t SwitchToBeaconMaster();
  uint32_t QueryTable(std::string& table);
  void Post(Notice notice);

  VkcSystem& system_;
  AlmanacSeriesStore& store_;
  std::atomic<platform::WindowHandle> window_{platform::kNoWindow};
  std::atomic<bool> running_{false};
  mutable std::mutex tableLock_;
  std::string table_;
  platform::WorkerThread worker_;
};

// The unit's almanac controller, made with its series store on first use.
VkcAlmanacUtilityController& EnsureAlmanacController(VkcSystem& system);
