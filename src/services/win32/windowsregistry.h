// The Windows registry behind the raw registry interface.
#pragma once

#include "services/rawregistry.h"

class TWindowsRegistry final : public TRawRegistry {
 public:
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
};
