#include "app/inspectorrows.h"

#include <gtest/gtest.h>

#include "app/objectinspector.h"
#include "classes/identmaps.h"

namespace {

class TRowFont : public TPersistent {
  KST_CLASS(TRowFont, TPersistent)
 public:
  Integer Height = -11;
  Integer Color = 0;
};
KST_CLASS_IMPL(TRowFont, "RowProbe")
void TRowFont::Describe(TClassBuilder<TRowFont>& c) {
  c.Property(u"Height", &TRowFont::Height);
  c.Property(u"Color", &TRowFont::Color, &types::Color());
}

class TRowButton : public TComponent {
  KST_CLASS(TRowButton, TComponent)
 public:
  explicit TRowButton(TComponent* owner) : TComponent(owner), Font(std::make_unique<TRowFont>()) {}
  String Caption = u"Live";
  Integer Left = 5;
  Integer Color = static_cast<Integer>(0xFF00000F);  // clBtnFace
  Integer Cursor = -21;
  TRowButton* Buddy = nullptr;
  std::unique_ptr<TRowFont> Font;
  TNotifyEvent OnClick;
  TNotifyEvent OnEnter;
  TRowFont* GetFont() const { return Font.get(); }
};
KST_CLASS_IMPL(TRowButton, "RowProbe")
void TRowButton::Describe(TClassBuilder<TRowButton>& c) {
  c.Property(u"Caption", &TRowButton::Caption);
  c.Property(u"Left", &TRowButton::Left);
  c.Property(u"Color", &TRowButton::Color, &types::Color());
  c.Property(u"Cursor", &TRowButton::Cursor, &types::Cursor());
  c.Property(u"Buddy", &TRowButton::Buddy);
  c.Property(u"Font", &TRowButton::GetFont);
  c.Property(u"OnClick", &TRowButton::OnClick);
  c.Property(u"OnEnter", &TRowButton::OnEnter);
}

struct Lines : TStringList {
  explicit Lines(const String& text) { SetTextStr(text); }
};

const String kForm =
    u"object Form1: TForm1\r\n"
    u"  Caption = 'Form'\r\n"
    u"  object Button1: TRowButton\r\n"
    u"    Left = 8\r\n"
    u"    Caption = 'OK'\r\n"
    u"    Font.Height = -13\r\n"
    u"    OnClick = Button1Click\r\n"
    u"    object Inner: TPanel\r\n"
    u"      Left = 99\r\n"
    u"    end\r\n"
    u"    Tag = 7\r\n"
    u"  end\r\n"
    u"  object List: TListView\r\n"
    u"    Columns = <\r\n"
    u"      item\r\n"
    u"        Caption = 'A'\r\n"
    u"        Width = 50\r\n"
    u"      end\r\n"
    u"      item\r\n"
    u"        Width = 60\r\n"
    u"      end>\r\n"
    u"    Items.Data = {\r\n"
    u"      0102}\r\n"
    u"    Lines.Strings = (\r\n"
    u"      'a')\r\n"
    u"  end\r\n"
    u"end\r\n";

const TObjectNodeData* Find(const std::vector<TInspectorRow>& rows, const char16_t* name, Integer parent = -1) {
  for (const TInspectorRow& row : rows)
    if (row.Parent == parent && row.Data.Name == name) return &row.Data;
  return nullptr;
}

TEST(InspectorRows, ObjectTextLines) {
  Lines form(kForm);
  TStringList list;
  ReadObjectProperties(form, u"button1", list);
  // The child's header is collected, its own lines and what follows it are not.
  EXPECT_EQ(list.Text(),
            u"Left = 8\r\nCaption = 'OK'\r\nFont.Height = -13\r\nOnClick = Button1Click\r\nobject Inner: TPanel\r\n");

  ReadObjectProperties(form, u"List", list);
  EXPECT_EQ(list.Text(),
            u"Columns = <\r\nItem[0].Caption = 'A'\r\nItem[0].Width = 50\r\nItem[1].Width = 60\r\n"
            u"Items.Data = {\r\nLines.Strings = (\r\n");

  list.Add(u"kept");
  ReadObjectProperties(form, u"", list);
  EXPECT_EQ(list[list.Count() - 1], u"kept");

  // A header on the last line has nothing below it.
  ReadObjectProperties(Lines(u"object Last: TForm"), u"Last", list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(InspectorRows, ValueTexts) {
  EXPECT_EQ(FormatValueText(u"<", u""), u"(TCollection)");
  EXPECT_EQ(FormatValueText(u"{", u""), u"(Binary data)");
  EXPECT_EQ(FormatValueText(u"(", u""), u"(TStrings)");
  EXPECT_EQ(FormatValueText(u"(", u"one"), u"one");
  EXPECT_EQ(FormatValueText(u"OK", u"Live"), u"OK");
  EXPECT_EQ(FormatValueText(u"", u"Live"), u"");
}

class InspectorRowsLive : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = std::make_unique<TComponent>(nullptr);
    button = new TRowButton(owner.get());
    button->SetName(u"Button1");
    inspector = new TMObjectInspector(owner.get());
  }
  std::unique_ptr<TComponent> owner;
  TRowButton* button = nullptr;
  TMObjectInspector* inspector = nullptr;
  Lines form{kForm};
};

TEST_F(InspectorRowsLive, TextSetPropertiesAreMarkedWithTheirWrittenValues) {
  std::vector<TInspectorRow> rows = PropertyRows(*inspector, button, u"", form);
  const TObjectNodeData* caption = Find(rows, u"Caption");
  ASSERT_TRUE(caption);
  EXPECT_EQ(caption->ValueText, u"OK");
  EXPECT_EQ(caption->TextIndex, 1);
  EXPECT_EQ(Find(rows, u"Left")->ValueText, u"8");
  // Not set by the text: the live value as the designer shows its type.
  EXPECT_EQ(Find(rows, u"Color")->TextIndex, -1);
  EXPECT_EQ(Find(rows, u"Color")->ValueText, u"clBtnFace");
  EXPECT_EQ(Find(rows, u"Cursor")->ValueText, u"crHandPoint");
  EXPECT_EQ(Find(rows, u"OnClick"), nullptr);

  // Nested rows meet their dotted text lines.
  Integer fontRow = -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Data.Name == u"Font") fontRow = static_cast<Integer>(i);
  ASSERT_GE(fontRow, 0);
  EXPECT_EQ(rows[fontRow].Data.ValueObject, button->Font.get());
  const TObjectNodeData* height = Find(rows, u"Height", fontRow);
  ASSERT_TRUE(height);
  EXPECT_EQ(height->ValueText, u"-13");
  EXPECT_GE(height->TextIndex, 0);
  EXPECT_EQ(Find(rows, u"Color", fontRow)->ValueText, u"clBlack");
}

TEST_F(InspectorRowsLive, CursorNumbersOutsideTheNamedRange) {
  button->Cursor = 0;
  EXPECT_EQ(Find(PropertyRows(*inspector, button, u"", form), u"Cursor")->ValueText, u"crDefault");
  button->Cursor = 5;
  EXPECT_EQ(Find(PropertyRows(*inspector, button, u"", form), u"Cursor")->ValueText, u"5");
}

TEST_F(InspectorRowsLive, CyclicReferencesEnd) {
  auto* other = new TRowButton(owner.get());
  other->SetName(u"Button2");
  button->Buddy = other;
  other->Buddy = button;
  std::vector<TInspectorRow> rows = PropertyRows(*inspector, button, u"", form);
  // Button1 > Buddy (Button2) > Buddy (Button1 again: not entered).
  size_t buddies = 0;
  for (const TInspectorRow& row : rows) buddies += row.Data.Name == u"Buddy";
  EXPECT_EQ(buddies, 2u);

  button->Buddy = button;
  rows = PropertyRows(*inspector, button, u"", form);
  buddies = 0;
  for (const TInspectorRow& row : rows) buddies += row.Data.Name == u"Buddy";
  EXPECT_EQ(buddies, 1u);
}

TEST_F(InspectorRowsLive, EventsShowTheHandlerNamesTheTextWrites) {
  std::vector<TInspectorRow> rows = EventRows(*inspector, button, u"", form);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(Find(rows, u"OnClick")->ValueText, u"Button1Click");
  EXPECT_GE(Find(rows, u"OnClick")->TextIndex, 0);
  EXPECT_EQ(Find(rows, u"OnEnter")->ValueText, u"");
  EXPECT_EQ(Find(rows, u"OnEnter")->TextIndex, -1);
  EXPECT_TRUE(EventRows(*inspector, nullptr, u"Button1", form).empty());
}

TEST_F(InspectorRowsLive, AnObjectThePreviewDidNotBuildShowsItsTextLines) {
  std::vector<TInspectorRow> rows = PropertyRows(*inspector, nullptr, u"List", form);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].Data.Name, u"Columns");
  EXPECT_EQ(rows[0].Data.ValueText, u"(TCollection)");
  EXPECT_EQ(rows[1].Data.Name, u"Item[0].Caption");
  EXPECT_EQ(rows[1].Data.ValueText, u"A");
  EXPECT_EQ(rows[4].Data.ValueText, u"(Binary data)");
  EXPECT_EQ(rows[5].Data.ValueText, u"(TStrings)");
  for (const TInspectorRow& row : rows) {
    EXPECT_EQ(row.Data.TextIndex, -1);
    EXPECT_EQ(row.Data.ClassName, u"");
  }
}

}  // namespace
