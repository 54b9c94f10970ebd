#include "app/previewreader.h"

#include <gtest/gtest.h>

#include "classes/reflection.h"
#include "rtl/unicode.h"
#include "support/testcomponents.h"

namespace {

struct Lines : TStringList {
  explicit Lines(const String& text) { SetTextStr(text); }
};

class PreviewReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestComponents(registry);
    owner = std::make_unique<TComponent>(nullptr);
    root = new TTestContainer(owner.get());
  }
  TClassRegistry registry;
  std::unique_ptr<TComponent> owner;
  TTestContainer* root = nullptr;
  TStringList errors;
};

TEST(PreviewText, RootWindowKindAndFocusAreNeutralised) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  ActiveControl = Button1\r\n"
      u"  BorderStyle = bsNone\r\n"
      u"  FormStyle = fsMDIChild\r\n"
      u"  inline Frame1: TFrame1\r\n"
      u"    ActiveControl = Edit1\r\n"
      u"  end\r\n"
      u"end\r\n");
  AdjustPreviewText(text);
  EXPECT_EQ(text.Text(),
            u"object Form1: TForm1\r\n"
            u"BorderStyle = bsSizeable\r\n"
            u"FormStyle = fsNormal\r\n"
            u"  inline Frame1: TFrame1\r\n"
            u"    ActiveControl = Edit1\r\n"
            u"  end\r\n"
            u"end\r\n");
}

TEST_F(PreviewReader, HandlersStayUnboundAndNamedNowhere) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  Caption = 'Preview'\r\n"
      u"  object Button1: TTestControl\r\n"
      u"    Caption = 'OK'\r\n"
      u"    OnClick = Button1Click\r\n"
      u"  end\r\n"
      u"end\r\n");
  ReadPreview(text, *root, registry, errors);
  EXPECT_EQ(errors.Count(), 0) << std::string(StringToUTF8(errors.Text()));
  EXPECT_EQ(root->Caption, u"Preview");
  ASSERT_EQ(root->Controls().size(), 1u);
  EXPECT_EQ(root->Controls()[0]->Caption, u"OK");
  EXPECT_FALSE(root->Controls()[0]->OnClick);
}

TEST_F(PreviewReader, AnUnknownClassOrPropertyLeavesTheRestStanding) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  object Fancy1: TFancyWidget\r\n"
      u"    Left = 1\r\n"
      u"  end\r\n"
      u"  object Button1: TTestControl\r\n"
      u"    Shiny = True\r\n"
      u"    Caption = 'OK'\r\n"
      u"  end\r\n"
      u"end\r\n");
  ReadPreview(text, *root, registry, errors);
  ASSERT_EQ(errors.Count(), 2) << std::string(StringToUTF8(errors.Text()));
  EXPECT_NE(errors[0].find(u"TFancyWidget"), String::npos);
  EXPECT_EQ(errors[0].substr(0, 6), u"ERROR=");
  EXPECT_NE(errors[1].find(u"Shiny"), String::npos);
  ASSERT_EQ(root->Controls().size(), 1u);
  EXPECT_EQ(root->Controls()[0]->Caption, u"OK");
}

TEST_F(PreviewReader, ASyntaxErrorEndsTheReading) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  Caption = \r\n"
      u"end\r\n");
  ReadPreview(text, *root, registry, errors);
  ASSERT_EQ(errors.Count(), 1);
  EXPECT_EQ(errors[0].substr(0, 13), u"ERROR=Reader:");
}

}  // namespace
