#include "SimToolUnit.h"

#include <stdlib.h>
#include <unistd.h>

#include "sim/SimBert.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimFirmware.h"
#include "sim/SimFirmwareImages.h"
#include "sim/SimGsmUnit.h"
#include "sim/SimLbandUnit.h"
#include "sim/SimSurvey.h"
#include "sim/SimTransceiver.h"
#include "sim/SimUnitControl.h"

namespace simtool {

namespace {

constexpr uint32_t kBertBytesPerSecond = 1200;  // the far end's pattern, as a 9600 bit/s radio link
constexpr size_t kFirmwarePayload = 16384;

// A firmware container of one main image for the transceiver, in a folder of its own that goes
// with it.
class FirmwareFile {
 public:
  FirmwareFile() {
    const char* tmp = getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/modulink-sim-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) return;
    folder_ = folder;
    const std::string path = folder_ + "/VK400.cxmd";
    const auto image = sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(kFirmwarePayload, 1));
    if (sim::WriteFirmwareFile(path, sim::MakeFirmwareContainer({image}))) path_ = path;
  }
  ~FirmwareFile() {
    if (!path_.empty()) unlink(path_.c_str());
    if (!folder_.empty()) rmdir(folder_.c_str());
  }
  FirmwareFile(const FirmwareFile&) = delete;
  FirmwareFile& operator=(const FirmwareFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};

sim::SimFirmwareOptions FirmwareOptions() {
  sim::SimFirmwareOptions options;
  options.restartAfterMain = false;  // its software (3.x) is rebooted by the program after a main image
  return options;
}

sim::SimNetwork Network() {
  sim::SimNetwork network = sim::SimNetwork::Default();
  network.ownId = "123456789ABC";
  return network;
}

class TransceiverUnit : public ToolUnit {
 public:
  explicit TransceiverUnit(bool behindMcu)
      : radio_({nullptr, behindMcu}),
        firmware_(radio_.unit, FirmwareOptions()),
        bert_(radio_.unit, *radio_.ident, radio_.control),
        survey_(radio_.unit, Network()) {
    bert_.StartSource(kBertBytesPerSecond);
  }
  sim::SimUnit& Unit() override { return radio_.unit; }
  std::vector<std::pair<std::string, std::string>> Notes() const override {
    return {{"Firmware image", image_.Path()}};
  }
  bool IsOk() const { return !image_.Path().empty(); }

 private:
  sim::SimTransceiver radio_;
  sim::SimFirmware firmware_;
  sim::SimBert bert_;
  sim::SimSurvey survey_;
  FirmwareFile image_;
};

class LbandUnit : public ToolUnit {
 public:
  sim::SimUnit& Unit() override { return receiver_.unit; }

 private:
  sim::SimLbandUnit receiver_;
};

class GsmUnit : public ToolUnit {
 public:
  GsmUnit() {
    sim::RebootOptions reboot;
    reboot.bannerDelayMs = 3000;  // the program listens for the banner only after its settle pause
    sim::InstallReboot(gsm_.unit, reboot);
  }
  sim::SimUnit& Unit() override { return gsm_.unit; }

 private:
  sim::SimGsmUnit gsm_;
  sim::SimUnitControl control_{gsm_.unit};
};

}  // namespace

std::unique_ptr<ToolUnit> MakeToolUnit(Kind kind) {
  std::unique_ptr<ToolUnit> made;
  switch (kind) {
    case Kind::Transceiver:
    case Kind::Mcu: {
      auto radio = std::make_unique<TransceiverUnit>(kind == Kind::Mcu);
      if (radio->IsOk()) made = std::move(radio);
      break;
    }
    case Kind::Lband:
      made = std::make_unique<LbandUnit>();
      break;
    case Kind::Gsm:
      made = std::make_unique<GsmUnit>();
      break;
  }
  if (made && !made->Unit().IsOk()) made.reset();
  return made;
}

}  // namespace simtool
