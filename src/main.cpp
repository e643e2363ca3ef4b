// Modulink: manages radio data modems and receivers over a serial port or a TCP gateway.
#include <QApplication>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/ModulinkApp.h"
#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "link/EnumSerialPorts.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "reports/VkcPrintPreviewWnd.h"

namespace {

// MODULINK_EXTRA_PORTS (paths separated by ':') adds ports to the discovered list, so the
// program can be tried against a simulated unit on a pseudo-terminal. A test aid only.
class ExtraPortsSource : public PortListSource {
 public:
  explicit ExtraPortsSource(std::string paths) : paths_(std::move(paths)) {}
  std::vector<PortInfo> List() override {
    std::vector<PortInfo> list = system_.List();
    size_t start = 0;
    while (start <= paths_.size()) {
      size_t end = paths_.find(':', start);
      if (end == std::string::npos) end = paths_.size();
      const std::string path = paths_.substr(start, end - start);
      if (!path.empty()) {
        PortInfo port;
        port.devicePath = Utf8ToUtf16(path);
        port.portName = port.devicePath.substr(port.devicePath.rfind(u'/') + 1);
        port.displayName = u"Simulated unit " + port.portName;
        port.friendlyName = port.displayName + u" (" + port.portName + u")";
        list.push_back(std::move(port));
      }
      start = end + 1;
    }
    return list;
  }

 private:
  std::string paths_;
  SysfsPortListSource system_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  if (const char* extra = std::getenv("MODULINK_EXTRA_PORTS"); extra != nullptr && *extra != '\0')
    SetPortListSource(std::make_shared<ExtraPortsSource>(extra));
  ModulinkStartup startup;
  return startup.Run([](ModulinkDlg& dialog, ModulinkApp& app, VkcDeviceManager& devices) {
    AttachPages(dialog, app, devices);
    dialog.SetPrintPreview([&dialog, &app] { VkcPrintPreviewWnd::Open(&dialog, &app.System()); });
  });
}
