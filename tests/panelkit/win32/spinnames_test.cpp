// The panel kit's spin halves and the platform's spin button class share a
// name in their own units; one file includes both.
#include <gtest/gtest.h>

#include <type_traits>

#include "panelkit/win32/editbuttons.h"
#include "rtl/unicode.h"
#include "ui/scrollctrls.h"

namespace {

static_assert(std::is_class_v<TSpinButton>, "TSpinButton is the platform's control class");
static_assert(std::is_enum_v<pxedit::TSpinButton>, "the panel kit's halves are an enumeration");

TEST(SpinNames, BothSpinButtonsLiveInOneFile) {
  TSpinButtonSet halves{pxedit::sbUp};
  EXPECT_TRUE(halves.Contains(pxedit::sbUp));
  EXPECT_FALSE(halves.Contains(pxedit::sbDown));
  EXPECT_EQ(StringToUTF8(TSpinButton::StaticClass().ClassName()), "TSpinButton");
  EXPECT_EQ(StringToUTF8(DescribeType(TypeTag<pxedit::TSpinButton>{}).Name()), "TSpinButton");
  EXPECT_EQ(StringToUTF8(DescribeType(TypeTag<TSpinButtonSet>{}).Name()), "TSpinButtonSet");
}

}  // namespace
