#pragma once
// The Download Firmware page (Utilities) without widgets: the user picks a firmware image file and
// presses Download; the page takes the lock, reads the file and starts the download engine, which
// does everything that talks to the unit on its worker. The page shows what the engine posts
// (2024: progress, log text, the end) and the outcome, and gives the lock back at the end. While
// the lock is held the main dialog keeps its tabs, so no page is refreshed or applied under the
// identifications the download runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/PageModel.h"
#include "platform/Messages.h"

class ModulinkApp;
class VkcFirmwareDownload;

class VkcPPDownloadImageModel : public PageModel {
 public:
  static constexpr int kFileName = 1084;
  static constexpr int kBrowse = 1071;
  static constexpr int kLog = 1086;
  static constexpr int kProgress = 1087;
  static constexpr int kDownload = 1046;
  static constexpr int kTarget = 1180;  // "Firmware for": stored by the page, used by no step

  explicit VkcPPDownloadImageModel(ModulinkApp& app);
  ~VkcPPDownloadImageModel() override;

  void SetWindow(platform::WindowHandle window) { window_ = window; }
  // The open-file dialog: given the path to start from, the chosen path or empty.
  void SetFileChooser(std::function<std::u16string(const std::u16string& start)> chooser) {
    chooser_ = std::move(chooser);
  }

  void Refresh() override;
  void OnDownload();
  void OnBrowse();
  void OnFileNameChanged();
  // Message 2024 from the engine, the loader and the waits.
  void OnProgressMessage(intptr_t wParam, intptr_t lParam);

  bool IsRunning() const;
  VkcFirmwareDownload* Engine() const { return engine_.get(); }

 protected:
  void Exchange(VkcDataExchange& dx) override;

 private:
  void ShowIdle();

  ModulinkApp& app_;
  platform::WindowHandle window_ = platform::kNoWindow;
  std::function<std::u16string(const std::u16string&)> chooser_;
  std::unique_ptr<VkcFirmwareDownload> engine_;
  std::u16string fileName_;
  int target_ = 0;
};
