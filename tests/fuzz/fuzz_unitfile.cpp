// Unit files from the unit (CFGUP): the descriptor and every section it names are read the way the
// loader reads them; each section that loads is stored again as a one-section unit file, whose
// descriptor must describe it, and its record must load back to the same tree.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcLoader.h"
#include "link/VkcMemoryStream.h"
#include "link/VkcUnitFile.h"

namespace {

std::vector<uint8_t> RootRecord(const VkcConfiguration& tree) {
  VkcMemoryStream out;
  VkcCfgArchiver ar;
  ar.Attach(out, false);
  if (!tree.Save(ar)) std::abort();
  ar.Detach();
  auto bytes = out.TakeBytes();
  return std::vector<uint8_t>(bytes.begin() + 4, bytes.end());  // without the id
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VkcLoader loader;
  loader.SetImage(data, size, true);
  for (int index = -1; index <= static_cast<int>(VkcUnitFile::kMaxSections); ++index) {
    size_t offset = 0, length = 0;
    bool found = VkcUnitFile::FindSection(std::span<const uint8_t>(data, size), index, &offset, &length);
    if (found && (offset < VkcUnitFile::kHeaderSize || offset + length > size)) std::abort();
    VkcConfiguration tree(VkcConfiguration::kTempId);
    if (!loader.ReadConfigurationSection(index, tree)) continue;
    if (!found) std::abort();  // nothing loads from a section the descriptor does not describe

    VkcLoader writer;
    if (!writer.WriteConfigurationImage(tree)) std::abort();
    std::vector<uint8_t> file(writer.Image().Bytes().begin(), writer.Image().Bytes().end());
    if (!VkcUnitFile::WriteSendDescriptor(file)) std::abort();
    const size_t payload = file.size() - VkcUnitFile::kHeaderSize;
    if (VkcUnitFile::GetU32(file, 72) != payload ||
        VkcUnitFile::GetU32(file, 80) != VkcUnitFile::Crc32(file.data() + VkcUnitFile::kHeaderSize, payload))
      std::abort();
    VkcConfiguration again(VkcConfiguration::kTempId);
    VkcMemoryStream record(std::vector<uint8_t>(file.begin() + VkcUnitFile::kHeaderSize, file.end()));
    VkcCfgArchiver ar;
    ar.Attach(record, true);
    if (!again.Load(ar)) std::abort();
    ar.Detach();
    if (RootRecord(again) != RootRecord(tree)) std::abort();
  }
  return 0;
}
