#pragma once
// The task interface of long operations. A progress dialog runs tasks on its worker thread; the
// target reports progress by posting to the window it is given and watches the stop event in
// every wait. 0 means success; any other value is a failure code the target defines.

#include <cstdint>

#include "platform/Event.h"
#include "platform/Messages.h"

class VkiPostProcess {
 public:
  virtual ~VkiPostProcess() = default;
  // parameter carries numbers (also -1) or pointers, hence intptr_t.
  virtual uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                           platform::Event& stop) = 0;
};
