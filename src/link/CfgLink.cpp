#include "link/CfgLink.h"

#include "link/CfgNode.h"
#include "link/VkcConfigManager.h"
#include "link/VkcConfiguration.h"

CfgNode* CfgLink::Resolve() const { return ResolveFrom(0); }

CfgNode* CfgLink::ResolveFrom(int depth) const {
  if (!IsLink() || depth >= kMaxResolveDepth) return nullptr;
  VkcConfiguration* tree = VkcConfigManager::Find(targetId);
  if (!tree) return nullptr;
  CfgNode* node = &tree->Root();
  for (const CfgLinkStep& step : steps) {
    if (node->GetLink().IsLink()) {
      node = node->GetLink().ResolveFrom(depth + 1);
      if (!node) return nullptr;
    }
    if (step.kind == CfgLinkStep::kByIndex) {
      if (step.index >= node->GetChildCount()) return nullptr;
      node = &node->ChildAt(step.index);
    } else {
      node = node->FindChild(std::u16string_view(step.name));
      if (!node) return nullptr;
    }
  }
  if (node->GetLink().IsLink()) node = node->GetLink().ResolveFrom(depth + 1);
  return node;
}

bool CfgLink::AssignTarget(const CfgNode& node) const {
  CfgNode* target = Resolve();
  if (!target) return false;
  *target = node;
  return true;
}
