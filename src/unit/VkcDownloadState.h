#pragma once
// The steps of a firmware download, run in order on the download's worker: send one image, wait
// for the unit's restart line, identify the unit again, or reboot it. Each reports to the download's
// window (2024 with 2 and 5) and ends when the download's stop event is set.

#include <cstdint>
#include <string>

#include "link/VkcLogMessage.h"
#include "platform/Event.h"
#include "platform/Messages.h"

struct FirmwareImage;
class VkcDeviceInterface;
class VkcLoader;
class VkcSystem;

// What every step of one download works with.
struct VkcDownloadContext {
  VkcSystem& system;
  VkcLoader& loader;
  const FirmwareImage& images;
  platform::WindowHandle window;
  platform::Event& stop;
  VkcDeviceInterface* iface;  // tried first when the unit is identified again; may be null
};

class VkcDownloadState {
 public:
  explicit VkcDownloadState(VkcDownloadContext& context) : context_(context) {}
  virtual ~VkcDownloadState() = default;
  VkcDownloadState(const VkcDownloadState&) = delete;
  VkcDownloadState& operator=(const VkcDownloadState&) = delete;
  // True: go on with the next step.
  virtual bool Execute() = 0;

 protected:
  VkcDownloadContext& context_;
  VkcLogMessage log_;
};

class VkcDownloadStateLoad : public VkcDownloadState {
 public:
  // index -1: the main image; otherwise the extra image's index.
  VkcDownloadStateLoad(VkcDownloadContext& context, int index, std::string word)
      : VkcDownloadState(context), index_(index), word_(std::move(word)) {}
  bool Execute() override;

 private:
  int index_;
  std::string word_;
};

class VkcDownloadStateWaitRbt : public VkcDownloadState {
 public:
  static constexpr uint32_t kWaitMs = 30000;
  using VkcDownloadState::VkcDownloadState;
  bool Execute() override;
};

class VkcDownloadStateSysInit : public VkcDownloadState {
 public:
  using VkcDownloadState::VkcDownloadState;
  bool Execute() override;
};

class VkcDownloadStateReboot : public VkcDownloadState {
 public:
  VkcDownloadStateReboot(VkcDownloadContext& context, bool mainImage, int bootImage)
      : VkcDownloadState(context), mainImage_(mainImage), bootImage_(bootImage) {}
  bool Execute() override;

 private:
  bool mainImage_;
  int bootImage_;
};
