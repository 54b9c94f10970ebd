// Version resources from outside: any bytes either parse into version
// information or give the reader's one error, and whatever parses can be
// asked for every value without reading outside the block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "services/fileversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto info = TUtFileVersionInfo::Attach(data, size);
    for (int key = vkComments; key <= vkPrivateBuild; ++key) info->GetVersionValue(static_cast<TVersionKey>(key));
    info->FileVersionBuild();
    info->BinProductVersion();
    info->TranslationMatchesLanguages(false);
    for (Integer index = 0; index < info->LanguageCount(); ++index) {
      info->SetLanguageIndex(index);
      if (info->Items().Count() < 0) std::abort();
    }
  } catch (const EUtFileVersionInfoError&) {
  }
  return 0;
}
