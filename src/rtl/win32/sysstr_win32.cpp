// Linguistic comparison in the user's locale, as the platform's Ansi...
// comparisons do.
#include <windows.h>

#include <climits>

#include "rtl/sysstr_platform.h"

namespace sysstr_platform {

namespace {

class TUserLocaleCollator : public TTextCollator {
 public:
  int Compare(StringView s1, StringView s2, bool ignoreCase) const override {
    if (s1.size() <= INT_MAX && s2.size() <= INT_MAX) {
      const int result = CompareStringW(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0,
                                        reinterpret_cast<const wchar_t*>(s1.data()), static_cast<int>(s1.size()),
                                        reinterpret_cast<const wchar_t*>(s2.data()), static_cast<int>(s2.size()));
      if (result != 0) return result - CSTR_EQUAL;
    }
    // Only absurd lengths or a broken locale get here.
    return FFallback.Compare(s1, s2, ignoreCase);
  }

 private:
  TInvariantTextCollator FFallback;
};

}  // namespace

const TTextCollator& PlatformTextCollator() {
  static const TUserLocaleCollator collator;
  return collator;
}

}  // namespace sysstr_platform
