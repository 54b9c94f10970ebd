#include "rtl/exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, CarryMessageAndHelpContextThroughTheHierarchy) {
  try {
    throw EReadError(u"Stream read error \u00E9", 7);
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(), u"Stream read error \u00E9");
    EXPECT_EQ(e.HelpContext(), 7);
    EXPECT_STREQ(e.what(), "Stream read error \xC3\xA9");
  }
}
