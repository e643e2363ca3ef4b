#include <gtest/gtest.h>

#include <cstring>

#include "link/CfgNode.h"
#include "link/VkcConfigManager.h"
#include "link/VkcConfiguration.h"
#include "link/VkcErrorProcessor.h"

TEST(CfgNode, NavigationCreatesOnDemand) {
  VkcConfiguration tree;
  CfgNode& fifth = tree.GetChild(5);
  ASSERT_EQ(tree.Root().GetChildCount(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(tree.Root().ChildAt(i).GetType(), CfgNode::kTypeNone);
    EXPECT_TRUE(tree.Root().ChildAt(i).GetName().empty());
  }
  EXPECT_EQ(&fifth, &tree.Root().ChildAt(5));
  EXPECT_EQ(&tree.GetChild(2), &tree.Root().ChildAt(2));  // existing index creates nothing
  EXPECT_EQ(tree.Root().GetChildCount(), 6u);

  CfgNode& section = tree.GetSection("Serial Interface");
  CfgNode& lower = section.GetChild(u"rate");
  CfgNode& rate = section.GetChild("Rate");
  EXPECT_NE(&lower, &rate);  // names match case-sensitively
  EXPECT_EQ(&rate, &section.GetChild(u"Rate"));
  EXPECT_EQ(&rate, section.FindChild("Rate"));
  EXPECT_EQ(section.GetChildCount(), 2u);
  EXPECT_EQ(section.FindChild(u"RATE"), nullptr);
  EXPECT_EQ(section.GetChildCount(), 2u);
  EXPECT_TRUE(rate.NameEquals("Rate"));
  EXPECT_FALSE(rate.NameEquals(u"rate"));

  // Non-ASCII names compare through UTF-16.
  CfgNode& grad = section.GetChild("Grad\xC2\xB0");
  EXPECT_EQ(grad.GetName(), u"Grad\u00B0");
  EXPECT_EQ(&grad, &section.GetChild(u"Grad\u00B0"));
}

TEST(CfgNode, ReferencesSurviveSiblingsBeingAdded) {
  VkcConfiguration tree;
  CfgNode& first = tree.GetChild(0);
  CfgNode& named = tree.GetSection("Keep");
  for (int i = 0; i < 200; ++i) tree.GetSection("Sibling" + std::to_string(i));
  tree.GetChild(500);
  first.SetInt(11);
  named.GetChildAt(3).SetText("still here");
  EXPECT_EQ(tree.GetChild(0).GetScalar(), 11u);
  EXPECT_EQ(tree.GetSection("Keep").GetChildAt(3).GetString(), "still here");
}

TEST(CfgNode, NegativeOrHugeIndexCreatesNothing) {
  VkcConfiguration tree;
  tree.GetChild(1);
  ErrorLog().Clear();
  CfgNode& bad = tree.GetChild(-1);
  bad.SetInt(99);
  bad.GetChildAt(3);
  EXPECT_EQ(tree.Root().GetChildCount(), 2u);
  CfgNode& huge = tree.GetChild(CfgNode::kMaxChildIndex + 5);
  EXPECT_EQ(huge.GetScalar(), 0u);  // the scratch node starts empty every time
  EXPECT_EQ(huge.GetChildCount(), 0u);
  EXPECT_EQ(tree.Root().GetChildCount(), 2u);
  EXPECT_EQ(ErrorLog().Count(), 2u);

  // What a bad lookup handed out stays valid through the next bad lookups and what their callers
  // do with theirs, however many came before; assigning the tree keeps it too.
  for (int i = 0; i < 5000; ++i) tree.GetChild(-2);
  CfgNode& kept = tree.GetChild(-3).GetChildAt(2);
  kept.SetText("kept");
  for (int i = 0; i < 3; ++i) tree.GetChild(-4).GetChildAt(1);
  tree.GetChild(-5).Clear();
  tree = VkcConfiguration();
  EXPECT_EQ(kept.GetString(), "kept");
}

TEST(CfgNode, SettersKeepOtherFields) {
  CfgNode node;
  node.SetText("abc");
  EXPECT_EQ(node.GetType(), CfgNode::kTypeString);
  node.SetInt(7);
  EXPECT_EQ(node.GetType(), CfgNode::kTypeInt);
  EXPECT_EQ(node.GetScalar(), 7u);
  EXPECT_EQ(node.GetString(), "abc");
  node.SetWText(u"wide");
  node.SetBool(true);
  EXPECT_EQ(node.GetType(), CfgNode::kTypeBool);
  EXPECT_EQ(node.GetScalar(), 1u);
  EXPECT_EQ(node.GetWString(), u"wide");
  EXPECT_EQ(node.GetString(), "abc");
  node.SetInt(static_cast<uint32_t>(-5));
  EXPECT_EQ(node.GetInt(), -5);

  const uint8_t four[4] = {1, 2, 3, 4};
  node.SetBytes(four, 4);
  uint8_t buf[6];
  std::memset(buf, 0xEE, sizeof buf);
  EXPECT_EQ(node.GetBytes(buf, 6), 4u);
  const uint8_t expect4[6] = {1, 2, 3, 4, 0, 0};
  EXPECT_EQ(std::memcmp(buf, expect4, 6), 0);
  const uint8_t eight[8] = {9, 8, 7, 6, 5, 4, 3, 2};
  node.SetBytes(eight, 8);
  EXPECT_EQ(node.GetBytes(buf, 6), 6u);
  EXPECT_EQ(std::memcmp(buf, eight, 6), 0);
  EXPECT_EQ(node.GetType(), CfgNode::kTypeBytes);
  CfgNode empty;
  std::memset(buf, 0xEE, sizeof buf);
  EXPECT_EQ(empty.GetBytes(buf, 6), 0u);
  EXPECT_EQ(std::memcmp(buf, "\0\0\0\0\0\0", 6), 0);
}

TEST(CfgNode, ClearKeepsTypeScalarWideAndName) {
  CfgNode node(u"Name");
  node.SetString("narrow");
  node.SetBytes("xy", 2);
  node.SetWString(u"wide");
  node.SetInt(3);
  node.GetChildAt(4);
  node.Clear();
  EXPECT_EQ(node.GetChildCount(), 0u);
  EXPECT_TRUE(node.GetString().empty());
  EXPECT_TRUE(node.GetByteVector().empty());
  EXPECT_EQ(node.GetType(), CfgNode::kTypeInt);
  EXPECT_EQ(node.GetScalar(), 3u);
  EXPECT_EQ(node.GetWString(), u"wide");
  EXPECT_EQ(node.GetName(), u"Name");
}

TEST(CfgNode, CopiesAreDeepAndIndependent) {
  VkcConfiguration original;
  original.GetChild(1).GetChild("Grand").SetText("orig");
  original.GetChild(1).Link().targetId = 0;
  VkcConfiguration copy(original);
  copy.GetChild(1).GetChild("Grand").SetText("changed");
  copy.GetChild(1).GetChildAt(2);
  EXPECT_EQ(original.GetChild(1).GetChild("Grand").GetString(), "orig");
  EXPECT_EQ(original.GetChild(1).GetChildCount(), 1u);

  // Assigning a node its own descendant keeps the descendant's content.
  CfgNode parent(u"P");
  parent.GetChildAt(0).SetInt(4);
  parent.GetChildAt(0).GetChildAt(0).SetText("deep");
  parent = parent.ChildAt(0);
  EXPECT_EQ(parent.GetScalar(), 4u);
  EXPECT_EQ(parent.ChildAt(0).GetString(), "deep");

  // A link is copied, not shared.
  CfgNode linked(u"L");
  linked.Link() = CfgLink{7, {{0, 0, u"Rate"}}};
  CfgNode linkCopy(linked);
  linked.Link().steps[0].name = u"Other";
  EXPECT_EQ(linkCopy.GetLink(), (CfgLink{7, {{0, 0, u"Rate"}}}));
  linkCopy = CfgNode(u"plain");
  EXPECT_EQ(linkCopy.GetLink(), CfgLink{});

  VkcConfiguration other;
  other.AssignRoot(original.GetChild(1));
  EXPECT_TRUE(other.Root().GetName().empty());
  EXPECT_EQ(other.GetSection("Grand").GetString(), "orig");
}

TEST(VkcConfiguration, IdsAndRegistration) {
  constexpr uint32_t kTemp = VkcConfiguration::kTempId;
  EXPECT_EQ(kTemp, 0x54454D50u);
  VkcConfiguration plain;
  EXPECT_EQ(plain.GetId(), 0u);
  EXPECT_EQ(VkcConfigManager::Find(0), nullptr);
  auto first = std::make_unique<VkcConfiguration>(kTemp);
  VkcConfiguration second(kTemp);
  EXPECT_EQ(first->GetId(), kTemp);
  EXPECT_EQ(second.GetId(), kTemp + 1);
  EXPECT_EQ(VkcConfigManager::Find(kTemp), first.get());
  first.reset();
  EXPECT_EQ(VkcConfigManager::Find(kTemp), nullptr);
  VkcConfiguration third(kTemp);
  EXPECT_EQ(third.GetId(), kTemp);

  {
    VkcConfiguration copy(third);  // same id, not registered
    EXPECT_EQ(copy.GetId(), kTemp);
    EXPECT_EQ(VkcConfigManager::Find(kTemp), &third);
  }
  EXPECT_EQ(VkcConfigManager::Find(kTemp), &third);  // the copy did not unregister the original

  {
    VkcConfiguration registered(0x1234);
    registered = plain;  // takes id 0 and gives up its entry
    EXPECT_EQ(registered.GetId(), 0u);
    EXPECT_EQ(VkcConfigManager::Find(0x1234), nullptr);
  }
  EXPECT_FALSE(VkcConfigManager::Remove(&plain));
}

TEST(CfgLink, ResolvesWithoutCreatingAndSurvivesBadLinks) {
  VkcConfiguration target(0x700);
  target.GetChild(2).GetChild("Leaf").SetInt(42);
  VkcConfiguration tree;
  CfgNode& link = tree.GetChild(0);
  link.Link().targetId = target.GetId();
  link.Link().steps = {{CfgLinkStep::kByIndex, 2, u""}};
  ASSERT_EQ(link.GetLink().Resolve(), &target.GetChild(2));
  EXPECT_EQ(link.GetChild("Leaf").GetScalar(), 42u);
  EXPECT_EQ(&link.GetChildAt(0), &target.GetChild(2).GetChildAt(0));
  EXPECT_EQ(link.GetChildCount(), 0u);
  // A child the target lacks is made on the link node itself, never in the other tree.
  link.GetChild("Missing");
  link.GetChildAt(3);
  EXPECT_EQ(target.GetChild(2).GetChildCount(), 1u);
  EXPECT_EQ(link.GetChildCount(), 4u);  // "Missing" plus three more
  CfgNode replacement;
  replacement.SetInt(5);
  EXPECT_TRUE(link.GetLink().AssignTarget(replacement));
  EXPECT_EQ(target.GetChild(2).GetScalar(), 5u);

  // Steps that leave the tree, a missing tree, a self-link and a cycle: plain nodes.
  size_t before = target.Root().GetChildCount();
  link.Link().steps = {{CfgLinkStep::kByIndex, 9, u""}, {0, 0, u"Nowhere"}};
  EXPECT_EQ(link.GetLink().Resolve(), nullptr);
  link.Link().steps = {{0, 0, u"Nowhere"}};
  EXPECT_EQ(link.GetLink().Resolve(), nullptr);
  EXPECT_EQ(target.Root().GetChildCount(), before);
  link.Link().targetId = 0xDEAD;
  EXPECT_EQ(link.GetLink().Resolve(), nullptr);
  EXPECT_FALSE(link.GetLink().AssignTarget(replacement));
  link.GetChildAt(0).SetInt(1);

  VkcConfiguration selfish(0x701);
  selfish.Root().Link().targetId = selfish.GetId();  // the root links to itself
  EXPECT_EQ(selfish.Root().GetLink().Resolve(), nullptr);
  selfish.GetChild(0).SetInt(3);
  VkcConfiguration a(0x702), b(0x703);
  a.GetChild(0).Link() = CfgLink{b.GetId(), {{CfgLinkStep::kByIndex, 0, u""}}};
  b.GetChild(0).Link() = CfgLink{a.GetId(), {{CfgLinkStep::kByIndex, 0, u""}}};
  EXPECT_EQ(a.GetChild(0).GetLink().Resolve(), nullptr);
  a.GetChild(0).GetChild("x").SetInt(1);
  EXPECT_EQ(a.GetChild(0).GetChildCount(), 1u);
}

// Links whose steps run through the next link, each many times: resolving the first one would take
// work growing with the power of the chain's length. A lookup has a step budget; past it the link
// node is plain.
void BuildLinkChain(VkcConfiguration& tree, int links, int passes) {
  tree.GetChild(0).Link() = CfgLink{tree.GetId(), {}};  // back to the root
  for (int i = 1; i <= links; ++i) {
    CfgLink link{tree.GetId(), {}};
    for (int p = 0; i < links && p < passes; ++p) {
      link.steps.push_back({CfgLinkStep::kByIndex, static_cast<uint32_t>(i + 1), u""});
      link.steps.push_back({CfgLinkStep::kByIndex, 0, u""});
    }
    tree.GetChild(i).Link() = link;
  }
}

TEST(CfgLink, LinksThroughEachOtherCostBoundedWork) {
  VkcConfiguration tree(0x720);
  BuildLinkChain(tree, 16, 6);
  EXPECT_EQ(tree.GetChild(15).GetLink().Resolve(), &tree.Root());  // a short chain still resolves
  EXPECT_EQ(tree.GetChild(1).GetLink().Resolve(), nullptr);
  CfgNode& own = tree.GetChild(1).GetChildAt(0);
  EXPECT_EQ(&own, &tree.Root().ChildAt(1).ChildAt(0));
  CfgNode& rate = tree.GetChild(1).GetChild("Rate");
  EXPECT_EQ(&rate, &tree.Root().ChildAt(1).ChildAt(1));
}
