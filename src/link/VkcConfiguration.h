#pragma once
// One settings tree: a root node named "ROOT" and a 32-bit id. Trees built with a wanted id are
// registered with VkcConfigManager under the first free id from the wanted one up, so links can
// find them; default-built trees and copies have their id but are not registered.

#include <cstdint>
#include <string_view>

#include "link/CfgNode.h"

class VkcCfgArchiver;

class VkcConfiguration {
 public:
  // The id of temporary file trees: the character codes of 'T', 'E', 'M', 'P' from the high byte.
  static constexpr uint32_t kTempId = 0x54454D50;

  VkcConfiguration();
  explicit VkcConfiguration(uint32_t wantedId);
  VkcConfiguration(const VkcConfiguration& other);
  // Copies the id and the root. A registered tree gives up its own registration first, so the
  // manager never keeps an entry for an id the tree no longer has.
  VkcConfiguration& operator=(const VkcConfiguration& other);
  virtual ~VkcConfiguration();

  CfgNode& GetSection(std::u16string_view name) { return root_.GetChild(name); }
  CfgNode& GetSection(std::string_view utf8Name) { return root_.GetChild(utf8Name); }
  CfgNode& GetChild(std::ptrdiff_t index) { return root_.GetChildAt(index); }
  CfgNode& Root() { return root_; }
  const CfgNode& Root() const { return root_; }

  uint32_t GetId() const { return id_; }
  bool IsEmpty() const { return root_.GetChildCount() == 0; }
  void Clear() { root_.Clear(); }
  // Copies node into the root, its name included.
  void AssignRoot(const CfgNode& node) { root_ = node; }

  // The configuration record: u32 id, then the root node. Load discards the stored id (the tree
  // keeps its own) and takes the root's name from the record.
  bool Save(VkcCfgArchiver& ar) const;
  bool Load(VkcCfgArchiver& ar);

 private:
  CfgNode root_;
  uint32_t id_ = 0;
};
