#include "services/memoryregistry.h"

// No registry here: the settings live in memory for the life of the process.
TRawRegistry& PlatformRegistry() {
  static TMemoryRegistry registry;
  return registry;
}
