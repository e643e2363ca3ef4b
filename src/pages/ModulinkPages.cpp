#include "pages/ModulinkPages.h"

#include <type_traits>

#include "app/ModulinkApp.h"
#include "app/ModulinkDlg.h"
#include "app/PageTitles.h"

// One include and one table line per page. The blank lines between them keep the changes of
// several pages added at once apart.

#include "pages/VkcPPConnection.h"
#include "pages/VkcPPSerial.h"

#include "pages/VkcPPDealer.h"

#include "pages/VkcPPBluetooth.h"

#include "pages/VkcPPAdvancedWireless.h"
#include "pages/VkcPPWireless.h"

#include "pages/VkcPPDownloadImage.h"

#include "pages/VkcPPGSMGPRS.h"

#include "pages/VkcPPRTNServices.h"

#include "utilities/VkcPPBERTTx.h"
#include "utilities/VkcPPBERTRx.h"

#include "utilities/VkcPPVRSUtility.h"

#include "pages/VkcPPIdentify.h"

#include "pages/VkcPPModem.h"

#include "pages/VkcPPRemoteList.h"

#include "utilities/VkcPPAlmanacUtility.h"
#include "utilities/VkcPPLBState.h"
#include "utilities/VkcPPSpectrumUtility.h"

#include "pages/VkcPPNetworkIdentify.h"

namespace {
using namespace titles;

// A page is made with the application object when it takes one, else with nothing.
template <class Page>
VkcModulinkDlg* Make(ModulinkApp& app) {
  if constexpr (std::is_constructible_v<Page, ModulinkApp&>)
    return new Page(app);
  else
    return new Page();
}

struct PageEntry {
  const char16_t* group;
  const char16_t* title;
  VkcModulinkDlg* (*make)(ModulinkApp&);
};

// In tab order; a title without a line has no page yet and shows no tab.
const PageEntry kPages[] = {
    // Configurations: Identification
    {kConfigurations, kIdentification, &Make<VkcPPIdentify>},

    // Configurations: Wireless Interface
    {kConfigurations, kWireless, Make<VkcPPWireless>},

    // Configurations: Advanced Wireless Interface
    {kConfigurations, kAdvancedWireless, Make<VkcPPAdvancedWireless>},

    // Configurations: Serial Interface
    {kConfigurations, kSerialInterface, Make<VkcPPSerial>},

    // Configurations: Modem
    {kConfigurations, kModem, &Make<VkcPPModem>},

    // Configurations: Dealer Configuration
    {kConfigurations, kDealer, Make<VkcPPDealer>},

    // Configurations: Bluetooth
    {kConfigurations, kBluetooth, Make<VkcPPBluetooth>},

    // Configurations: GSM/GPRS
    {kConfigurations, kGsmGprs, Make<VkcPPGSMGPRS>},

    // Configurations: RTN
    {kConfigurations, kRtn, Make<VkcPPRTNServices>},

    // Configurations: Remote List
    {kConfigurations, kRemoteList, &Make<VkcPPRemoteList>},

    // Preferences: Connection (attached below: the shell asks it about the pass-through)

    // Utilities: Download Firmware
    {kUtilities, kDownloadFirmware, Make<VkcPPDownloadImage>},

    // Utilities: BERT Transmit
    {kUtilities, kBertTransmit, Make<VkcPPBERTTx>},

    // Utilities: BERT Receive
    {kUtilities, kBertReceive, Make<VkcPPBERTRx>},

    // Utilities: L-band Status
    {kUtilities, kLbandStatus, Make<VkcPPLBState>},

    // Utilities: Spectrum utility
    {kUtilities, kSpectrumUtility, Make<VkcPPSpectrumUtility>},

    // Utilities: Beacon almanac
    {kUtilities, kBeaconAlmanac, Make<VkcPPAlmanacUtility>},

    // Utilities: RTN utility
    {kUtilities, kRtnUtility, Make<VkcPPVRSUtility>},

    // Networking: Identification
    {kNetworking, kIdentification, &Make<VkcPPNetworkIdentify>},

    {nullptr, nullptr, nullptr},
};
}  // namespace

void AttachPages(ModulinkDlg& dialog, ModulinkApp& app, VkcDeviceManager& devices) {
  for (const PageEntry& entry : kPages)
    if (entry.make != nullptr) dialog.AddPage(entry.group, entry.title, entry.make(app));
  auto* connection = new VkcPPConnection(app, devices);
  dialog.AddPage(kPreferences, kConnection, connection);
  dialog.SetConnectionControl(&connection->Model());
}
