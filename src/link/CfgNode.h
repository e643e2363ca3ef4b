#pragma once
// A node of a settings tree: a name, a type code and value fields, and ordered children.
//
// Navigation creates what it asks for: GetChildAt grows the children up to the index, GetChild
// appends a child of a name it does not find. References to a child stay valid while siblings are
// added (children are held one allocation each); Clear and Load remove children and so invalidate
// references into them. A setter changes only its own field and the type code, so one node can
// hold an integer and a text at once. An empty node allocates nothing.

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/CfgLink.h"

class VkcCfgArchiver;

class CfgNode {
 public:
  // Type codes as archived. There is no code 3.
  static constexpr uint32_t kTypeNone = 0;
  static constexpr uint32_t kTypeBool = 1;
  static constexpr uint32_t kTypeInt = 2;
  static constexpr uint32_t kTypeString = 4;
  static constexpr uint32_t kTypeBytes = 5;
  static constexpr uint32_t kTypeWString = 6;

  // GetChildAt never grows the children past this many; larger indexes are treated like negative
  // ones (no node is created).
  static constexpr std::ptrdiff_t kMaxChildIndex = 1 << 20;

  // User-provided so that make_unique does not zero the whole node before the members initialise it.
  CfgNode() noexcept {}
  explicit CfgNode(std::u16string name) : name_(std::move(name)) {}
  CfgNode(const CfgNode& other);
  CfgNode& operator=(const CfgNode& other);
  CfgNode(CfgNode&&) noexcept = default;
  CfgNode& operator=(CfgNode&& other) noexcept;
  ~CfgNode() = default;

  // Navigation. On a link node the call goes to the link's target when the target has the child;
  // nothing is ever created in another tree. A negative or huge index creates no child: it yields a
  // fresh scratch node and an entry in the error log. The node asked keeps its scratch nodes until
  // it is destroyed (Clear, Load and assignment keep them), so what one bad lookup handed out is
  // never freed through another.
  CfgNode& GetChildAt(std::ptrdiff_t index);
  CfgNode& GetChild(std::u16string_view name);
  CfgNode& GetChild(std::string_view utf8Name);
  CfgNode* FindChild(std::u16string_view name);
  CfgNode* FindChild(std::string_view utf8Name);
  const CfgNode* FindChild(std::u16string_view name) const;
  const CfgNode* FindChild(std::string_view utf8Name) const;
  bool NameEquals(std::u16string_view name) const { return name_ == name; }
  bool NameEquals(std::string_view utf8Name) const;

  // Setters: each stores its field and the type code, nothing else.
  void SetBool(bool value);
  void SetInt(uint32_t value);
  // Replaces the scalar and keeps the type code: a value written "in place".
  void ReplaceScalar(uint32_t value) { scalar_ = value; }
  void SetString(std::string value);
  void SetText(const char* text);
  void SetBytes(const void* data, size_t length);
  void SetWString(std::u16string value);
  void SetWText(const char16_t* text);

  // Zero-fills all capacity bytes of buffer, copies min(capacity, byte count) bytes, returns that count.
  size_t GetBytes(void* buffer, size_t capacity) const;

  // Readers: the fields as they stand, whatever the type.
  uint32_t GetType() const { return type_; }
  uint32_t GetScalar() const { return scalar_; }
  int32_t GetInt() const { return static_cast<int32_t>(scalar_); }
  bool GetBool() const { return scalar_ != 0; }
  const std::string& GetString() const { return narrow_; }
  const std::u16string& GetWString() const { return wide_; }
  const std::vector<uint8_t>& GetByteVector() const { return bytes_; }
  size_t GetChildCount() const { return children_.size(); }
  // Existing child by position, no link forwarding, no creation; index must be below GetChildCount.
  CfgNode& ChildAt(size_t index) { return *children_[index]; }
  const CfgNode& ChildAt(size_t index) const { return *children_[index]; }
  const std::u16string& GetName() const { return name_; }
  void SetName(std::u16string name) { name_ = std::move(name); }
  const CfgLink& GetLink() const;
  CfgLink& Link();
  // Nodes are always resident; the flag is neither stored nor archived.
  uint32_t GetResident() const { return 1; }

  // Appends a new empty child and returns it.
  CfgNode& AppendChild(std::u16string name = {});

  // Empties the children, the narrow text and the bytes; type, scalar, wide text, name and link stay.
  void Clear();

  // Archiving: the node record with its children (see VkcCfgArchiver). Load replaces the children.
  bool Save(VkcCfgArchiver& ar) const;
  bool Load(VkcCfgArchiver& ar);

 private:
  CfgNode* FindOwn(std::u16string_view name) const;
  CfgNode* FindOwn(std::string_view utf8Name) const;
  CfgNode* ForwardTarget() const;
  // A fresh node kept in scratch_.
  CfgNode& Scratch();
  // Bytes Save writes for this node and its children.
  size_t ArchiveSize() const;

  // Kept small: a large tree is mostly leaves, and every node is one allocation.
  uint32_t scalar_ = 0;
  uint8_t type_ = kTypeNone;  // the archive keeps only the low byte
  std::string narrow_;
  std::u16string wide_;
  std::vector<uint8_t> bytes_;
  std::vector<std::unique_ptr<CfgNode>> children_;
  std::u16string name_;
  std::unique_ptr<CfgLink> link_;  // links are rare: made on the first Link() or when loaded
  // What out-of-range lookups on this node handed out; not part of the tree (never copied,
  // archived or counted). Made on the first such lookup.
  std::unique_ptr<std::list<CfgNode>> scratch_;
};
