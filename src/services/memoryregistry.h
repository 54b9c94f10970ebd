// A registry held in memory, with the platform registry's rules: names compare
// without regard to case, key names have at most 255 characters, a key with
// subkeys cannot be deleted, handles of a deleted key stop working, and access
// rights given when a key was opened are checked.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "services/rawregistry.h"

class TMemoryRegistry final : public TRawRegistry {
 public:
  TMemoryRegistry();
  ~TMemoryRegistry() override;
  TMemoryRegistry(const TMemoryRegistry&) = delete;
  TMemoryRegistry& operator=(const TMemoryRegistry&) = delete;

  Integer OpenKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) override;
  Integer CreateKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) override;
  Integer CloseKey(TRegHandle key) override;
  Integer QueryInfoKey(TRegHandle key, TRegKeyInfo& info) override;
  Integer EnumKey(TRegHandle key, Cardinal index, Cardinal capacity, String& name) override;
  Integer EnumValue(TRegHandle key, Cardinal index, Cardinal capacity, String& name) override;
  Integer QueryValue(TRegHandle key, StringView name, Cardinal& type, Byte* data, Cardinal& size) override;
  Integer SetValue(TRegHandle key, StringView name, Cardinal type, const Byte* data, Cardinal size) override;
  Integer DeleteValue(TRegHandle key, StringView name) override;
  Integer DeleteKey(TRegHandle parent, StringView subKey) override;

  // Handles given out and not closed yet (tests check that nothing leaks).
  size_t OpenHandleCount() const;

 private:
  struct TNode;
  struct TOpenKey {
    std::shared_ptr<TNode> Node;
    Cardinal Access = 0;
  };

  // The open key of a handle, or an error code.
  Integer Lookup(TRegHandle key, Cardinal neededAccess, std::shared_ptr<TNode>& node) const;
  Integer Walk(TRegHandle parent, StringView subKey, bool create, std::shared_ptr<TNode>& node);
  TRegHandle AddHandle(std::shared_ptr<TNode> node, Cardinal access);

  mutable std::mutex FLock;
  std::map<TRegHandle, std::shared_ptr<TNode>> FRoots;
  std::map<TRegHandle, TOpenKey> FOpenKeys;
  TRegHandle FNextHandle = 0x1000;
};
