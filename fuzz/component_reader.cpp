// Reading component trees from any bytes: every failure is one of the
// system's exceptions, nothing leaks and nothing is read out of bounds.
#include <cstddef>
#include <cstdint>

#include "classes/reader.h"
#include "support/testcomponents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TClassRegistry registry = [] {
    TClassRegistry r;
    RegisterTestComponents(r);
    return r;
  }();
  TBytes bytes(data, data + size);
  TBytesStream stream(bytes);
  TComponentReader reader(stream, registry);
  reader.OnError = [](TComponentReader&, const String&, bool& handled) { handled = true; };
  try {
    delete reader.ReadRootComponent();
  } catch (const Exception&) {
  }
  return 0;
}
