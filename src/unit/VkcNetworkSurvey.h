#pragma once
// The network survey: a worker that reads the connected unit's parameter groups, asks it for the
// remote units it reaches over the radio ("CONNECT"), connects to each in turn ("CONNECT <id>"),
// reads the same groups there and leaves it again ("EXIT"). It reports to the page's window by
// message 2024: 3000 with the unit being queried (-1 the local unit), 3001 when the tree changed,
// 3 with an error code when the survey ended (1 when the unit failed, 0 otherwise).
//
// The unit tree (the local unit, its remote units, their parameters) is shared with the page: the
// worker writes it and the page reads it, both under one lock that is never held across a wait on
// the unit. The page reads copies (Snapshot).
//
// Start, RequestStop and Finish belong to the user-interface thread; the tree may be touched from
// any thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "link/ParamNode.h"
#include "link/UnitId.h"
#include "link/VkiPostProcess.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"
#include "unit/VkcSaCommand.h"

class VkcComPort;

class VkcNetworkSurvey : public VkiPostProcess {
 public:
  // The task the page runs in the progress dialog before a survey: the unit to command mode.
  static constexpr uint32_t kOpCommandMode = 0;

  enum class Mode { kNetwork, kUnit };
  enum class StartResult { kStarted, kRunning, kNoThread };

  static constexpr int kLocalUnit = -1;
  // Time-outs (nominal ms) and the reply buffer of the survey's commands.
  static constexpr uint32_t kGroupTimeoutMs = 14000;
  static constexpr uint32_t kConnectTimeoutMs = 14000;
  static constexpr uint32_t kListTimeoutMs = 20000;
  static constexpr uint32_t kExitTimeoutMs = 20000;
  static constexpr size_t kReplySize = 1024;
  // The remote list is read whole, within the bound of the unit's other long tables.
  static constexpr size_t kListReplySize = VkcSaCommand::kLongReplySize;
  // Sends of a group the unit answers with a non-zero code.
  static constexpr int kGroupSends = 3;
  // How long Finish waits for the worker before it logs the overrun (and keeps waiting).
  static constexpr uint32_t kJoinBoundMs = 2000;

  // port: the current port at the time of each exchange (null: nothing is sent); toCommandMode
  // switches the unit to its command line (kOpCommandMode).
  explicit VkcNetworkSurvey(std::function<VkcComPort*()> port, std::function<bool()> toCommandMode = {});
  // Stops and joins a survey still running.
  ~VkcNetworkSurvey() override;

  // kOpCommandMode: 0 when the unit is on its command line, 1 otherwise.
  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override;
  VkcNetworkSurvey(const VkcNetworkSurvey&) = delete;
  VkcNetworkSurvey& operator=(const VkcNetworkSurvey&) = delete;

  // --- User-interface thread ---
  // Starts a survey of the whole network, or of one unit (kLocalUnit or a remote index), whose
  // messages go to window. A survey running already is left alone (kRunning).
  StartResult Start(Mode mode, int unit, platform::WindowHandle window);
  // True from a successful Start until Finish.
  bool IsRunning() const { return running_; }
  // Every wait of the worker ends at once; the survey ends with message 3.
  void RequestStop();
  // On message 3: joins the worker. The next Start may follow.
  void Finish();
  // Test seam: the next Start fails as if no thread could be started.
  void FailNextStart() { failNextStart_ = true; }

  // --- The unit tree (any thread) ---
  // A deep copy of the local unit's node with its remote units.
  ParamNode Snapshot() const;
  size_t RemoteCount() const;
  // The connected unit's id: when it differs from the local node's, the local parameters and
  // the remote list are dropped.
  void SetLocalUnit(const UnitId& id);
  void SetNoUnit(bool noUnit);
  void ClearRemotes();

 private:
  void Run(Mode mode, int unit, platform::WindowHandle window, platform::Event& stop);
  void RunNetwork(platform::WindowHandle window, platform::Event& stop);
  // -1 fatal, 0 done, 1 stopped, else the unit's result code.
  int QueryRemote(int index, platform::WindowHandle window, platform::Event& stop);
  // True when every group was read; the first failure stops the rest.
  bool QueryGroups(int unit, platform::Event& stop);
  bool QueryGroup(int unit, const char* group, platform::Event& stop);
  bool SendExit();

  // Under mutex_: the node of unit, or null when the index is beyond the list.
  ParamNode* NodeLocked(int unit);
  void SetAnswered(int unit, bool answered, bool dropParams = false);

  const std::function<VkcComPort*()> port_;
  const std::function<bool()> toCommandMode_;
  mutable std::mutex mutex_;  // guards root_
  ParamNode root_;

  platform::WorkerThread thread_;
  bool running_ = false;  // user-interface thread only
  bool failNextStart_ = false;
};

// A deep copy of a node and its children.
ParamNode CopyParamNode(const ParamNode& node);
