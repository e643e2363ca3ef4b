#pragma once
// A node's link: when the target id is non-zero the node stands for a node of another registered
// tree, reached from that tree's root by the steps. Links only arrive from archived files; they are
// kept and saved back as they came.

#include <cstdint>
#include <string>
#include <vector>

class CfgNode;

struct CfgLinkStep {
  static constexpr uint32_t kByIndex = 1;  // any other kind goes by name

  uint32_t kind = 0;
  uint32_t index = 0;
  std::u16string name;

  bool operator==(const CfgLinkStep&) const = default;
};

class CfgLink {
 public:
  // Links to links are followed this deep at most; deeper chains and cycles count as unresolvable.
  static constexpr int kMaxResolveDepth = 16;
  // One lookup takes at most this many steps, links followed included; past it the link is
  // unresolvable and its node acts as a plain one.
  static constexpr int kMaxResolveSteps = 4096;

  uint32_t targetId = 0;  // 0: the node is plain
  std::vector<CfgLinkStep> steps;

  bool IsLink() const { return targetId != 0; }

  // The plain node the link leads to, or null when the target tree is not registered, a step
  // leaves the tree, the chain of links is too long (a cycle) or the lookup runs out of steps.
  // Creates nothing.
  CfgNode* Resolve() const;
  // Copies node into the target; false when the link cannot be resolved.
  bool AssignTarget(const CfgNode& node) const;

  bool operator==(const CfgLink&) const = default;

 private:
  CfgNode* ResolveFrom(int depth, int& budget) const;
  friend class CfgNode;
};
