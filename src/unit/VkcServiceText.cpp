#include "unit/VkcServiceText.h"

#include "devices/VkcUnitImages.h"
#include "link/Ansi.h"

std::u16string ReadServiceText(const VkcUnitImages& unit, const VkcNodePath& path) {
  const CfgNode* node = unit.Find(path);
  if (node == nullptr) return {};
  if (node->GetType() == CfgNode::kTypeWString) return node->GetWString();
  return AnsiToWide(node->GetString());
}

void WriteServiceText(VkcUnitImages& unit, const VkcNodePath& path, const std::u16string& text) {
  unit.At(path).SetString(WideToAnsi(text));
}
