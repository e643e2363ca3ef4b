// A simulated unit to try the program with: a pseudo-terminal the program opens as its serial
// port, and (with --tcp) a TCP gateway in front of it on 127.0.0.1. Runs until interrupted. Start
// the program with MODULINK_EXTRA_PORTS set to the printed path.
//
//   sim_unit [--lband | --gsm | --mcu] [--tcp]
//
// Without a choice the unit is a VK400 transceiver (BERT, firmware download, network survey);
// --lband an L-band receiver, --gsm a GSM unit with its network services, --mcu the transceiver
// behind an MCU with Bluetooth.
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "SimToolUnit.h"
#include "sim/SimGateway.h"

namespace {

constexpr const char* kUsage = "usage: sim_unit [--lband | --gsm | --mcu] [--tcp]\n";

struct Choice {
  const char* option;
  simtool::Kind kind;
};
constexpr Choice kChoices[] = {
    {"--lband", simtool::Kind::Lband}, {"--gsm", simtool::Kind::Gsm}, {"--mcu", simtool::Kind::Mcu}};

}  // namespace

int main(int argc, char** argv) {
  bool tcp = false;
  bool chosen = false;
  simtool::Kind kind = simtool::Kind::Transceiver;
  for (int i = 1; i < argc; ++i) {
    const Choice* choice = nullptr;
    for (const Choice& c : kChoices)
      if (std::strcmp(argv[i], c.option) == 0) choice = &c;
    if (std::strcmp(argv[i], "--tcp") == 0 && !tcp) {
      tcp = true;
    } else if (choice != nullptr && !chosen) {
      kind = choice->kind;
      chosen = true;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread starts

  std::unique_ptr<simtool::ToolUnit> unit = simtool::MakeToolUnit(kind);
  if (!unit) {
    std::fprintf(stderr, "no pseudo-terminal or no folder for the firmware image\n");
    return 1;
  }
  std::unique_ptr<sim::SimGateway> gateway;
  if (tcp) gateway = std::make_unique<sim::SimGateway>(&unit->Unit());

  std::printf("Serial port: %s\n", unit->Unit().SlavePath().c_str());
  if (gateway) std::printf("TCP gateway: 127.0.0.1 port %u, user name \"a\", password \"pw\"\n", gateway->Port());
  for (const auto& [label, text] : unit->Notes()) std::printf("%s: %s\n", label.c_str(), text.c_str());
  std::printf("Ctrl+C ends the simulation.\n");
  std::fflush(stdout);
  int got = 0;
  sigwait(&signals, &got);
  // The program hears nothing more while the unit's families go.
  gateway.reset();
  unit->Unit().HangUp();
  return 0;
}
