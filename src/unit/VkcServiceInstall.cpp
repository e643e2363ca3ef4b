#include "unit/VkcServiceInstall.h"

#include "unit/VkcGSMGPRSConfigController.h"
#include "unit/VkcISUtilityController.h"
#include "unit/VkcNTRIPClientConfigController.h"
#include "unit/VkcSystem.h"
#include "unit/VkcTCPClientConfigController.h"
#include "unit/VkcTCPServerConfigController.h"

namespace {

template <class Base, class T>
VkcOwned<Base> Own(T* object) {
  return VkcOwned<Base>(object, [](Base* p) { delete p; });
}

}  // namespace

void InstallNetworkServices(VkcSystem& system) {
  system.SetServiceControllers(Own<VkcISConfigController>(new VkcTCPClientConfigController(system)),
                               Own<VkcISConfigController>(new VkcNTRIPClientConfigController(system)),
                               Own<VkcISConfigController>(new VkcTCPServerConfigController(system)));
  system.SetGsmGprsController(Own<VkcGSMGPRSConfigController>(new VkcGSMGPRSConfigController(system)));
  auto* rtn = new VkcISUtilityController(system);
  system.SetRtnController(Own<VkcISUtilityController>(rtn),
                          [rtn](bool connect, platform::WindowHandle notify, platform::Event& stop) {
                            return rtn->ConfigureService(connect, notify, stop);
                          });
}
