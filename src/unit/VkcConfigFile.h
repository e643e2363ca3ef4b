#pragma once
// Configuration files: the dealer, user and MCU settings images of the connected unit saved as one
// archived settings tree (*.VKN), loaded back, and factory files (*.VKF) loaded as the factory
// image. Everything here works on memory and files only; nothing is sent to the unit.
//
// File tree of a *.VKN: [0] the format version (int) with [0][0] the own unit row at saving,
// [1] the dealer image, [2] the user image, [3] the MCU settings image when the unit has an MCU.
// A *.VKF is a whole factory image.
//
// Every failure leaves the images as they were and gives a message for the user; a file of no
// known model also leaves the unit with no current device.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/VkcConfiguration.h"

class VkcDeviceManager;
class VkcMCUController;
class VkcSystem;

class VkcConfigFile {
 public:
  static constexpr uint32_t kFormatVersion = 0x20001;
  static constexpr const char* kExtension = "VKN";
  static constexpr const char* kFactoryExtension = "VKF";

  enum class Loaded {
    kNothing,        // refused or failed: no image changed, message says why
    kConfiguration,  // images and MCU settings replaced; the pages want a refresh
    kFactory,        // factory image replaced, factory write on; no refresh
  };

  // The file tree of the unit's current images. Writes the MCU settings record into the MCU
  // image first (as a send would); [3] is there only when the unit has an MCU.
  static void BuildTree(VkcSystem& unit, const VkcMCUController& mcu, VkcConfiguration& out);
  // The bytes of a tree as a file holds them (the 'TEMP' record).
  static std::vector<uint8_t> Serialize(const VkcConfiguration& tree);
  // Builds the tree and writes it atomically: a failed save keeps the old file. False with a
  // message on failure.
  static bool Save(const std::string& path, VkcSystem& unit, const VkcMCUController& mcu, std::string& message);

  // Reads a file's tree (bounded in size, every length checked). False with a message.
  static bool Read(const std::string& path, VkcConfiguration& tree, std::string& message);
  static bool Parse(std::span<const uint8_t> bytes, VkcConfiguration& tree, std::string& message);

  // Whether a path names a factory file: its extension is exactly "VKF".
  static bool IsFactoryPath(std::string_view path);

  // Takes a read tree into the unit, by the rules of the file kind.
  static Loaded Apply(const VkcConfiguration& tree, bool factory, VkcSystem& unit, VkcDeviceManager& manager,
                      std::string& message);
  // Read and Apply in one, the kind from the path.
  static Loaded Load(const std::string& path, VkcSystem& unit, VkcDeviceManager& manager, std::string& message);

 private:
  static Loaded ApplyFactory(const VkcConfiguration& tree, VkcSystem& unit, std::string& message);
  static Loaded ApplyConfiguration(const VkcConfiguration& tree, VkcSystem& unit, VkcDeviceManager& manager,
                                   std::string& message);
};
