// A simulated VK400 transceiver to try the program with: a pseudo-terminal the program opens as
// its serial port, and (with --tcp) a TCP gateway in front of it on 127.0.0.1. Runs until
// interrupted. Start the program with MODULINK_EXTRA_PORTS set to the printed path.
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "link/VkcConfiguration.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimGateway.h"
#include "sim/SimIdent.h"
#include "sim/SimSurvey.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"

int main(int argc, char** argv) {
  const bool tcp = argc > 1 && std::strcmp(argv[1], "--tcp") == 0;
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread starts

  sim::SimUnit unit;
  if (!unit.IsOk()) {
    std::fprintf(stderr, "no pseudo-terminal\n");
    return 1;
  }
  sim::SimUnitControl control(unit);
  sim::IdentOptions options;
  options.modelKey = "4";
  sim::SimIdent ident(unit, options);
  sim::SimUnitControlFiles files(unit);
  VkcConfiguration factory, dealer, user;
  const uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  factory.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
  dealer.GetChild(0).SetInt(4);
  user.GetChild(1).GetChildAt(0).SetBytes(serial, sizeof serial);
  files.SetSection(0, sim::SimUnitControlFiles::Archive(factory));
  files.SetSection(1, sim::SimUnitControlFiles::Archive(dealer));
  files.SetSection(2, sim::SimUnitControlFiles::Archive(user));
  sim::RebootOptions reboot;
  reboot.bannerDelayMs = 3000;
  sim::InstallReboot(unit, reboot);
  sim::SimNetwork network = sim::SimNetwork::Default();
  network.ownId = "123456789ABC";
  sim::SimSurvey survey(unit, network);
  std::unique_ptr<sim::SimGateway> gateway;
  if (tcp) gateway = std::make_unique<sim::SimGateway>(&unit);

  std::printf("Serial port: %s\n", unit.SlavePath().c_str());
  if (gateway) std::printf("TCP gateway: 127.0.0.1 port %u, user name \"a\", password \"pw\"\n", gateway->Port());
  std::printf("Ctrl+C ends the simulation.\n");
  std::fflush(stdout);
  int got = 0;
  sigwait(&signals, &got);
  files.StopTransfer();
  return 0;
}
