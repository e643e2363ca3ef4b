#include "link/CfgNode.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "link/Utf.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcErrorProcessor.h"

namespace {

// Compares a UTF-16 name with a UTF-8 one; ASCII names (all of the program's own) need no conversion.
bool SameName(const std::u16string& name, std::string_view utf8) {
  bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) return name == Utf8ToUtf16(utf8);
  if (name.size() != utf8.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != static_cast<char16_t>(utf8[i])) return false;
  }
  return true;
}

const CfgLink& NoLink() {
  static const CfgLink none;
  return none;
}

}  // namespace

CfgNode::CfgNode(const CfgNode& other)
    : scalar_(other.scalar_),
      type_(other.type_),
      narrow_(other.narrow_),
      wide_(other.wide_),
      bytes_(other.bytes_),
      name_(other.name_),
      link_(other.link_ ? std::make_unique<CfgLink>(*other.link_) : nullptr) {
  children_.reserve(other.children_.size());
  for (const auto& child : other.children_) children_.push_back(std::make_unique<CfgNode>(*child));
}

CfgNode& CfgNode::operator=(CfgNode&& other) noexcept {
  if (this == &other) return *this;
  // Scratch nodes stay with the node that handed them out, and other's go along with its content.
  std::unique_ptr<std::list<CfgNode>> theirs = std::move(other.scratch_);
  scalar_ = other.scalar_;
  type_ = other.type_;
  narrow_ = std::move(other.narrow_);
  wide_ = std::move(other.wide_);
  bytes_ = std::move(other.bytes_);
  children_ = std::move(other.children_);
  name_ = std::move(other.name_);
  link_ = std::move(other.link_);
  if (!scratch_) {
    scratch_ = std::move(theirs);
  } else if (theirs) {
    scratch_->splice(scratch_->end(), *theirs);  // the nodes themselves stay where they are
  }
  return *this;
}

CfgNode& CfgNode::Scratch() {
  // Readers that only navigate may share a tree across threads; a bad index must not make them race.
  static std::mutex lock;
  std::lock_guard<std::mutex> hold(lock);
  if (!scratch_) scratch_ = std::make_unique<std::list<CfgNode>>();
  return scratch_->emplace_back();
}

CfgNode& CfgNode::operator=(const CfgNode& other) {
  if (this != &other) {
    // Copy first: other may live inside this node.
    CfgNode copy(other);
    *this = std::move(copy);
  }
  return *this;
}

const CfgLink& CfgNode::GetLink() const { return link_ ? *link_ : NoLink(); }

CfgLink& CfgNode::Link() {
  if (!link_) link_ = std::make_unique<CfgLink>();
  return *link_;
}

CfgNode* CfgNode::ForwardTarget() const { return link_ && link_->IsLink() ? link_->Resolve() : nullptr; }

CfgNode& CfgNode::GetChildAt(std::ptrdiff_t index) {
  if (index < 0) {
    ErrorLog().ReportError(0, "Settings node index %td is out of range", index);
    return Scratch();
  }
  const auto at = static_cast<size_t>(index);
  if (CfgNode* target = ForwardTarget(); target && at < target->children_.size()) return *target->children_[at];
  if (at < children_.size()) return *children_[at];
  if (index >= kMaxChildIndex) {
    ErrorLog().ReportError(0, "Settings node index %td is out of range", index);
    return Scratch();
  }
  children_.reserve(at + 1);
  while (children_.size() <= at) children_.push_back(std::make_unique<CfgNode>());
  return *children_[at];
}

CfgNode* CfgNode::FindOwn(std::u16string_view name) const {
  for (const auto& child : children_) {
    if (child->name_ == name) return child.get();
  }
  return nullptr;
}

CfgNode* CfgNode::FindOwn(std::string_view utf8Name) const {
  for (const auto& child : children_) {
    if (SameName(child->name_, utf8Name)) return child.get();
  }
  return nullptr;
}

CfgNode& CfgNode::GetChild(std::u16string_view name) {
  if (CfgNode* found = FindOwn(name)) return *found;
  if (CfgNode* target = ForwardTarget()) {
    if (CfgNode* found = target->FindOwn(name)) return *found;
  }
  return AppendChild(std::u16string(name));
}

CfgNode& CfgNode::GetChild(std::string_view utf8Name) {
  if (CfgNode* found = FindOwn(utf8Name)) return *found;
  if (CfgNode* target = ForwardTarget()) {
    if (CfgNode* found = target->FindOwn(utf8Name)) return *found;
  }
  return AppendChild(Utf8ToUtf16(utf8Name));
}

CfgNode* CfgNode::FindChild(std::u16string_view name) { return FindOwn(name); }
CfgNode* CfgNode::FindChild(std::string_view utf8Name) { return FindOwn(utf8Name); }
const CfgNode* CfgNode::FindChild(std::u16string_view name) const { return FindOwn(name); }
const CfgNode* CfgNode::FindChild(std::string_view utf8Name) const { return FindOwn(utf8Name); }

bool CfgNode::NameEquals(std::string_view utf8Name) const { return SameName(name_, utf8Name); }

CfgNode& CfgNode::AppendChild(std::u16string name) {
  children_.push_back(std::make_unique<CfgNode>(std::move(name)));
  return *children_.back();
}

void CfgNode::SetBool(bool value) {
  scalar_ = value ? 1 : 0;
  type_ = kTypeBool;
}

void CfgNode::SetInt(uint32_t value) {
  scalar_ = value;
  type_ = kTypeInt;
}

void CfgNode::SetString(std::string value) {
  narrow_ = std::move(value);
  type_ = kTypeString;
}

void CfgNode::SetText(const char* text) { SetString(text ? std::string(text) : std::string()); }

void CfgNode::SetBytes(const void* data, size_t length) {
  bytes_.resize(length);
  if (length) std::memcpy(bytes_.data(), data, length);
  type_ = kTypeBytes;
}

void CfgNode::SetWString(std::u16string value) {
  wide_ = std::move(value);
  type_ = kTypeWString;
}

void CfgNode::SetWText(const char16_t* text) { SetWString(text ? std::u16string(text) : std::u16string()); }

size_t CfgNode::GetBytes(void* buffer, size_t capacity) const {
  if (capacity == 0) return 0;
  std::memset(buffer, 0, capacity);
  const size_t n = std::min(capacity, bytes_.size());
  if (n) std::memcpy(buffer, bytes_.data(), n);
  return n;
}

void CfgNode::Clear() {
  children_.clear();
  narrow_.clear();
  bytes_.clear();
}

size_t CfgNode::ArchiveSize() const {
  size_t size = 1 + 4 + 4 + name_.size() * 2;  // 'S', L, N, name
  if (link_ && link_->IsLink()) {
    size += 1 + 4 + 4;
    for (const CfgLinkStep& step : link_->steps) size += 4 + 4 + 4 + step.name.size() * 2;
  } else {
    size += 1 + 1 + 4 + 4 + (type_ == kTypeWString ? wide_.size() * 2 : narrow_.size()) + 4 + bytes_.size();
    for (const auto& child : children_) size += child->ArchiveSize();
  }
  return size + 1;  // 'T'
}

bool CfgNode::Save(VkcCfgArchiver& ar) const {
  if (ar.Depth() == 0) ar.ReserveAhead(ArchiveSize());
  if (!ar.BeginNode(std::u16string_view(name_))) return false;
  if (link_ && link_->IsLink()) {
    ar.WriteU8(VkcCfgArchiver::kLinkRecord).WriteU32(link_->targetId).WriteU32(static_cast<uint32_t>(link_->steps.size()));
    for (const CfgLinkStep& step : link_->steps) ar.WriteU32(step.kind).WriteU32(step.index).WriteWString(step.name);
  } else {
    ar.WriteU8(VkcCfgArchiver::kPlainRecord).WriteU8(type_).WriteU32(scalar_);
    if (type_ == kTypeWString) {
      ar.WriteWString(wide_);
    } else {
      ar.WriteString(narrow_);
    }
    ar.WriteU32(static_cast<uint32_t>(bytes_.size()));
    ar.Write(bytes_.data(), bytes_.size(), VkcCfgArchiver::kRegNone);
    for (const auto& child : children_) {
      if (!child->Save(ar)) return false;
    }
  }
  return ar.EndNode();
}

bool CfgNode::Load(VkcCfgArchiver& ar) {
  if (!ar.IsLoading()) return false;
  if (!ar.BeginNode(name_)) return false;
  uint8_t marker = 0;
  ar.ReadU8(marker);
  if (marker == VkcCfgArchiver::kLinkRecord) {
    CfgLink link;
    uint32_t count = 0;
    ar.ReadU32(link.targetId).ReadU32(count);
    // Each step takes at least 12 bytes: a count beyond what is left is corrupt.
    if (!ar.Failed() && count > ar.Remaining() / 12) ar.FailFormat("link step count beyond the node");
    if (ar.Failed()) return false;
    link.steps.resize(count);
    for (CfgLinkStep& step : link.steps) ar.ReadU32(step.kind).ReadU32(step.index).ReadWString(step.name);
    if (ar.Failed()) return false;
    link_ = std::make_unique<CfgLink>(std::move(link));
  } else {
    uint32_t count = 0;
    ar.ReadU8(type_).ReadU32(scalar_);
    if (type_ == kTypeWString) {
      ar.ReadWString(wide_);
    } else {
      ar.ReadString(narrow_);
    }
    ar.ReadU32(count).ReadBlock(bytes_, count);
    if (ar.Failed()) return false;
    link_.reset();
  }
  children_.clear();
  // Sized once from the frames ahead: no regrowth while a large tree loads.
  children_.reserve(ar.ChildNodesAhead());
  while (ar.HasMoreNodes()) {
    auto child = std::make_unique<CfgNode>();
    if (!child->Load(ar)) return false;
    children_.push_back(std::move(child));
  }
  return ar.EndNode();
}
