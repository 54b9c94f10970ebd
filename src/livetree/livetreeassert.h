// The tree's check of its callers' programming errors: a failed condition
// raises EAssertionFailed with one of the tree's fixed texts.
#pragma once

#include "livetree/livetreetypes.h"
#include "rtl/unicode.h"

inline void LTAssert(bool condition, const char* message) {
  if (!condition) throw EAssertionFailed(S(message));
}
