#include "services/memoryregistry.h"

#include <algorithm>
#include <vector>

#include "rtl/sysstr.h"

struct TMemoryRegistry::TNode {
  struct TValue {
    String Name;
    Cardinal Type = kRegNone;
    TBytes Data;
  };

  String Name;
  bool Deleted = false;
  // Subkeys sorted by their upper-case names, as the platform lists them.
  std::vector<std::shared_ptr<TNode>> Children;
  // Values in the order they were first set.
  std::vector<TValue> Values;

  auto FindChild(StringView name) {
    const String key = AnsiUpperCase(name);
    return std::find_if(Children.begin(), Children.end(),
                        [&](const std::shared_ptr<TNode>& child) { return AnsiUpperCase(child->Name) == key; });
  }

  auto FindValue(StringView name) {
    const String key = AnsiUpperCase(name);
    return std::find_if(Values.begin(), Values.end(),
                        [&](const TValue& value) { return AnsiUpperCase(value.Name) == key; });
  }

  std::shared_ptr<TNode> AddChild(StringView name) {
    auto child = std::make_shared<TNode>();
    child->Name = name;
    const String key = AnsiUpperCase(name);
    const auto at = std::find_if(Children.begin(), Children.end(),
                                 [&](const std::shared_ptr<TNode>& c) { return AnsiUpperCase(c->Name) > key; });
    Children.insert(at, child);
    return child;
  }
};

namespace {

constexpr Cardinal kAllRights = 0xFFFFFFFF;
constexpr Cardinal kViewFlags = kKeyWow64_32Key | kKeyWow64_64Key;

Cardinal EffectiveAccess(Cardinal access) {
  if ((access & kMaximumAllowed) != 0) return kAllRights;
  return access & ~kViewFlags;
}

// The names of a key path: a leading or doubled backslash is a bad path, a
// trailing one is allowed.
Integer SplitKeyPath(StringView path, std::vector<StringView>& names) {
  names.clear();
  if (path.empty()) return kErrorSuccess;
  if (path.front() == u'\\') return kErrorBadPathname;
  size_t start = 0;
  while (start < path.size()) {
    const size_t end = std::min(path.find(u'\\', start), path.size());
    if (end == start) return kErrorBadPathname;
    if (end - start > kMaxRegKeyNameLength) return kErrorInvalidParameter;
    names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return kErrorSuccess;
}

}  // namespace

TMemoryRegistry::TMemoryRegistry() {
  for (TRegHandle root = kHKeyClassesRoot; root <= kHKeyDynData; ++root) FRoots[root] = std::make_shared<TNode>();
}

TMemoryRegistry::~TMemoryRegistry() = default;

Integer TMemoryRegistry::Lookup(TRegHandle key, Cardinal neededAccess, std::shared_ptr<TNode>& node) const {
  if (IsPredefinedRegKey(key)) {
    node = FRoots.at(key);
    return kErrorSuccess;
  }
  const auto open = FOpenKeys.find(key);
  if (open == FOpenKeys.end()) return kErrorInvalidHandle;
  if ((open->second.Access & neededAccess) != neededAccess) return kErrorAccessDenied;
  if (open->second.Node->Deleted) return kErrorKeyDeleted;
  node = open->second.Node;
  return kErrorSuccess;
}

Integer TMemoryRegistry::Walk(TRegHandle parent, StringView subKey, bool create, std::shared_ptr<TNode>& node) {
  std::vector<StringView> names;
  if (const Integer error = SplitKeyPath(subKey, names); error != kErrorSuccess) return error;
  std::shared_ptr<TNode> current;
  if (const Integer error = Lookup(parent, 0, current); error != kErrorSuccess) return error;
  for (const StringView name : names) {
    const auto child = current->FindChild(name);
    if (child != current->Children.end()) {
      current = *child;
      continue;
    }
    if (!create) return kErrorFileNotFound;
    // Creating needs the right to do so on the handle it starts from.
    std::shared_ptr<TNode> unused;
    if (const Integer error = Lookup(parent, kKeyCreateSubKey, unused); error != kErrorSuccess) return error;
    current = current->AddChild(name);
  }
  node = current;
  return kErrorSuccess;
}

TRegHandle TMemoryRegistry::AddHandle(std::shared_ptr<TNode> node, Cardinal access) {
  const TRegHandle handle = FNextHandle;
  FNextHandle += 4;
  FOpenKeys[handle] = TOpenKey{std::move(node), EffectiveAccess(access)};
  return handle;
}

Integer TMemoryRegistry::OpenKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) {
  std::lock_guard guard(FLock);
  key = 0;
  std::shared_ptr<TNode> node;
  if (const Integer error = Walk(parent, subKey, false, node); error != kErrorSuccess) return error;
  key = AddHandle(node, access);
  return kErrorSuccess;
}

Integer TMemoryRegistry::CreateKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) {
  std::lock_guard guard(FLock);
  key = 0;
  std::shared_ptr<TNode> node;
  if (const Integer error = Walk(parent, subKey, true, node); error != kErrorSuccess) return error;
  key = AddHandle(node, access);
  return kErrorSuccess;
}

Integer TMemoryRegistry::CloseKey(TRegHandle key) {
  std::lock_guard guard(FLock);
  if (IsPredefinedRegKey(key)) return kErrorSuccess;
  return FOpenKeys.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

Integer TMemoryRegistry::QueryInfoKey(TRegHandle key, TRegKeyInfo& info) {
  std::lock_guard guard(FLock);
  info = TRegKeyInfo{};
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  info.SubKeys = static_cast<Cardinal>(node->Children.size());
  info.Values = static_cast<Cardinal>(node->Values.size());
  for (const auto& child : node->Children) {
    info.MaxSubKeyLength = std::max(info.MaxSubKeyLength, static_cast<Cardinal>(child->Name.size()));
  }
  for (const auto& value : node->Values) {
    info.MaxValueNameLength = std::max(info.MaxValueNameLength, static_cast<Cardinal>(value.Name.size()));
    info.MaxValueLength = std::max(info.MaxValueLength, static_cast<Cardinal>(value.Data.size()));
  }
  return kErrorSuccess;
}

Integer TMemoryRegistry::EnumKey(TRegHandle key, Cardinal index, Cardinal capacity, String& name) {
  std::lock_guard guard(FLock);
  name.clear();
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(key, kKeyEnumerateSubKeys, node); error != kErrorSuccess) return error;
  if (index >= node->Children.size()) return kErrorNoMoreItems;
  const String& found = node->Children[index]->Name;
  if (found.size() >= capacity) return kErrorMoreData;
  name = found;
  return kErrorSuccess;
}

Integer TMemoryRegistry::EnumValue(TRegHandle key, Cardinal index, Cardinal capacity, String& name) {
  std::lock_guard guard(FLock);
  name.clear();
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  if (index >= node->Values.size()) return kErrorNoMoreItems;
  const String& found = node->Values[index].Name;
  if (found.size() >= capacity) return kErrorMoreData;
  name = found;
  return kErrorSuccess;
}

Integer TMemoryRegistry::QueryValue(TRegHandle key, StringView name, Cardinal& type, Byte* data, Cardinal& size) {
  std::lock_guard guard(FLock);
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  const auto value = node->FindValue(name);
  if (value == node->Values.end()) return kErrorFileNotFound;
  type = value->Type;
  const auto needed = static_cast<Cardinal>(value->Data.size());
  if (data == nullptr) {
    size = needed;
    return kErrorSuccess;
  }
  if (size < needed) {
    size = needed;
    return kErrorMoreData;
  }
  std::copy(value->Data.begin(), value->Data.end(), data);
  size = needed;
  return kErrorSuccess;
}

Integer TMemoryRegistry::SetValue(TRegHandle key, StringView name, Cardinal type, const Byte* data, Cardinal size) {
  std::lock_guard guard(FLock);
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(key, kKeySetValue, node); error != kErrorSuccess) return error;
  if (name.size() > kMaxRegValueNameLength) return kErrorInvalidParameter;
  if (size > 0 && data == nullptr) return kErrorInvalidParameter;
  auto value = node->FindValue(name);
  if (value == node->Values.end()) {
    node->Values.push_back(TNode::TValue{String(name), kRegNone, {}});
    value = node->Values.end() - 1;
  }
  value->Type = type;
  value->Data.assign(data, data + size);
  return kErrorSuccess;
}

Integer TMemoryRegistry::DeleteValue(TRegHandle key, StringView name) {
  std::lock_guard guard(FLock);
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(key, kKeySetValue, node); error != kErrorSuccess) return error;
  const auto value = node->FindValue(name);
  if (value == node->Values.end()) return kErrorFileNotFound;
  node->Values.erase(value);
  return kErrorSuccess;
}

Integer TMemoryRegistry::DeleteKey(TRegHandle parent, StringView subKey) {
  std::lock_guard guard(FLock);
  std::vector<StringView> names;
  if (const Integer error = SplitKeyPath(subKey, names); error != kErrorSuccess) return error;
  // The key itself is refused: only a key below the handle's goes.
  if (names.empty()) return kErrorAccessDenied;
  std::shared_ptr<TNode> node;
  if (const Integer error = Lookup(parent, 0, node); error != kErrorSuccess) return error;
  for (size_t i = 0; i + 1 < names.size(); ++i) {
    const auto child = node->FindChild(names[i]);
    if (child == node->Children.end()) return kErrorFileNotFound;
    node = *child;
  }
  const auto target = node->FindChild(names.back());
  if (target == node->Children.end()) return kErrorFileNotFound;
  if (!(*target)->Children.empty()) return kErrorAccessDenied;
  (*target)->Deleted = true;
  node->Children.erase(target);
  return kErrorSuccess;
}

size_t TMemoryRegistry::OpenHandleCount() const {
  std::lock_guard guard(FLock);
  return FOpenKeys.size();
}
