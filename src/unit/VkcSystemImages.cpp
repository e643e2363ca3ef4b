// Reading and writing the unit's configuration images ("CFGUP" from the unit; "DFCFG", "DDCFG"
// and "CFGDN" to it) and the version texts read with them.

#include "unit/VkcRadioReply.h"
#include "unit/VkcSystem.h"
#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLoader.h"
#include "link/VkcUnitFile.h"

namespace {

// Version queries read 100-byte replies.
constexpr size_t kVersionReplySize = 100;
// The loader's result when the unit has no such file.
constexpr int kLoaderNoFile = 5;

// The size of section index as the unit's descriptor states it; 0 when the file holds no such
// section (or no descriptor at all).
size_t SectionSize(std::span<const uint8_t> image, int index) {
  if (image.size() <= VkcUnitFile::kHeaderSize) return 0;
  uint16_t count = VkcUnitFile::GetU16(image, VkcUnitFile::kDescriptorOffset + 14);
  if (index >= count || index >= static_cast<int>(VkcUnitFile::kMaxSections)) return 0;
  return VkcUnitFile::GetU32(image, VkcUnitFile::kDescriptorOffset + 24 + 4 * static_cast<size_t>(index));
}

}  // namespace

bool VkcSystem::ReadConfiguration(bool readImages, platform::WindowHandle window, platform::Event* stop) {
  if (readImages) {
    VkcLoader loader;
    loader.SetPort(GetCurrentPort());
    loader.SetOwnerWindow(window);
    loader.SetCancelEvent(stop);
    loader.SetProgressLog(&log_);
    loader.StartReceive("CFGUP", true);
    int result = loader.GetResult();
    if (result == 0) {
      VkcConfiguration* images[3] = {&Factory(), &Dealer(), &User()};
      for (int i = 0; i < 3; ++i) {
        // An absent section leaves its image empty; one that is there but does not parse fails
        // the reading, so a damaged dealer map is never sent back as an empty one.
        if (SectionSize(loader.Image().Bytes(), i) == 0) continue;
        VkcConfiguration scratch;
        if (!loader.ReadConfigurationSection(i, scratch)) {
          ErrorLog().ReportError(0, "Loader error returned");
          return false;
        }
        images[i]->AssignRoot(scratch.Root());
      }
    } else if (result != kLoaderNoFile) {
      ErrorLog().ReportError(static_cast<uint32_t>(result), "Loader error returned");
      return false;
    }
  }
  // Each version is kept as soon as it is read: a later failure leaves the earlier ones.
  std::string reply;
  if (!QueryVersion("INFO HW\r", reply, stop)) {
    ErrorLog().ReportError(0, "Can not get Hardware Version = \"%s\"", reply.c_str());
    return false;
  }
  SetHardwareVersion(CutAtLineEnd(reply));
  if (!QueryVersion("INFO SW\r", reply, stop)) {
    ErrorLog().ReportError(0, "Can not get Software Version = \"%s\"", reply.c_str());
    return false;
  }
  SetSoftwareVersion(CutAtLineEnd(reply));
  if (!QueryVersion("INFO BL\r", reply, stop)) {
    ErrorLog().ReportError(0, "Can not get Bootloader Version = \"%s\"", reply.c_str());
    return false;
  }
  SetBootLoaderVersion(CutAtLineEnd(reply));
  if (manager_ != nullptr) CheckProductType(*manager_);
  if (GetCurrentDevice() != nullptr) GetCurrentDevice()->OnUnitIdentified(*this);
  return true;
}

bool VkcSystem::QueryVersion(const char* command, std::string& reply, platform::Event* stop) {
  return Exchange(command, &reply, kVersionReplySize, GetCommandTimeout(), stop, 0, {"@0", "\r\n"});
}

bool VkcSystem::WriteConfiguration(intptr_t mask, platform::WindowHandle window, platform::Event* stop) {
  VkcLoader loader;
  loader.SetPort(GetCurrentPort());
  loader.SetOwnerWindow(window);
  loader.SetCancelEvent(stop);
  loader.SetProgressLog(&log_);
  LogLine(window, "Saving File\r\n");
  struct Image {
    intptr_t bit;
    VkcConfiguration* tree;
    const char* name;
  };
  const Image images[] = {{kImageFactory, &Factory(), "DFCFG"}, {kImageDealer, &Dealer(), "DDCFG"},
                          {kImageUser, &User(), "CFGDN"}};
  for (const Image& image : images) {
    if ((mask & image.bit) == 0) continue;
    if (!loader.WriteConfigurationImage(*image.tree) || !loader.StartSendImage(image.name, true)) return false;
    int result = loader.GetResult();
    if (result != 0) {
      ErrorLog().ReportError(static_cast<uint32_t>(result), "Loader error returned");
      return false;
    }
  }
  return true;
}

