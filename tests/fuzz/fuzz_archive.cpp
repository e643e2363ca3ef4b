// Settings archives from outside (configuration files, the settings file, unit-file sections):
// load, walk every node the way the program navigates, store, load the stored bytes again and
// check a second store gives the same bytes.
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"

namespace {

size_t Walk(CfgNode& node, int depth) {
  size_t seen = 1;
  volatile size_t sink = node.GetType() + node.GetScalar() + node.GetString().size() + node.GetWString().size() +
                         node.GetByteVector().size() + node.GetName().size();
  uint8_t buf[8];
  sink = sink + node.GetBytes(buf, sizeof buf);
  if (node.GetLink().IsLink()) {
    // Navigation through the link: to what its target holds, or, unresolved, on the node itself.
    const CfgNode* target = node.GetLink().Resolve();
    if (target && target->GetChildCount() > 0) {
      std::u16string name = target->ChildAt(0).GetName();
      node.GetChild(std::u16string_view(name));
    }
    sink = sink + node.GetChildAt(0).GetType();
  }
  (void)sink;
  for (size_t i = 0; i < node.GetChildCount(); ++i) {
    // Navigation by index and by name finds what is there (possibly through a link), creating nothing.
    node.GetChildAt(static_cast<std::ptrdiff_t>(i));
    node.GetChild(std::u16string_view(node.ChildAt(i).GetName()));
    node.FindChild(std::u16string_view(node.ChildAt(i).GetName()));
    seen += Walk(node.ChildAt(i), depth + 1);
  }
  return seen;
}

std::vector<uint8_t> Store(const VkcConfiguration& tree) {
  VkcMemoryStream out;
  VkcCfgArchiver ar;
  ar.Attach(out, false);
  if (!tree.Save(ar)) std::abort();
  ar.Detach();
  return out.TakeBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Registered under the id files use, so links in the input can point into this very tree.
  VkcConfiguration tree(VkcConfiguration::kTempId);
  VkcMemoryStream in(std::vector<uint8_t>(data, data + size));
  VkcCfgArchiver ar;
  ar.Attach(in, true);
  if (!tree.Load(ar)) return 0;
  ar.Detach();
  Walk(tree.Root(), 0);

  const std::vector<uint8_t> first = Store(tree);
  VkcConfiguration again(VkcConfiguration::kTempId);
  VkcMemoryStream reread(first);
  VkcCfgArchiver ar2;
  ar2.Attach(reread, true);
  if (!again.Load(ar2)) std::abort();  // what we store must load
  ar2.Detach();
  // and store the same again (but for the id: each tree writes its own)
  const std::vector<uint8_t> second = Store(again);
  if (second.size() != first.size() || !std::equal(first.begin() + 4, first.end(), second.begin() + 4)) std::abort();
  return 0;
}
