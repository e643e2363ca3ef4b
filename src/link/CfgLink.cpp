#include "link/CfgLink.h"

#include "link/CfgNode.h"
#include "link/VkcConfigManager.h"
#include "link/VkcConfiguration.h"

CfgNode* CfgLink::Resolve() const {
  int budget = kMaxResolveSteps;
  return ResolveFrom(0, budget);
}

// Every step and every link followed on the way spends one unit of the lookup's budget, so links
// whose steps run through each other cost a bounded amount of work, not one that grows with the
// power of the chain's length.
CfgNode* CfgLink::ResolveFrom(int depth, int& budget) const {
  if (!IsLink() || depth >= kMaxResolveDepth || --budget < 0) return nullptr;
  VkcConfiguration* tree = VkcConfigManager::Find(targetId);
  if (!tree) return nullptr;
  CfgNode* node = &tree->Root();
  for (const CfgLinkStep& step : steps) {
    if (--budget < 0) return nullptr;
    if (node->GetLink().IsLink()) {
      node = node->GetLink().ResolveFrom(depth + 1, budget);
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
  if (node->GetLink().IsLink()) node = node->GetLink().ResolveFrom(depth + 1, budget);
  return node;
}

bool CfgLink::AssignTarget(const CfgNode& node) const {
  CfgNode* target = Resolve();
  if (!target) return false;
  *target = node;
  return true;
}
