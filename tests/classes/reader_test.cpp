// Component trees read from text forms through the binary encoding.
#include "classes/reader.h"

#include <gtest/gtest.h>

#include "classes/collection.h"
#include "formfile/formconvert.h"
#include "rtl/unicode.h"
#include "support/testcomponents.h"

namespace {

TBytes ToBinary(const std::string& text) {
  TBytesStream input(TBytes(text.begin(), text.end()));
  TBytesStream output{TBytes()};
  FormTextToBinary(input, output);
  TBytes bytes = output.Bytes();
  bytes.resize(static_cast<size_t>(output.Size()));
  return bytes;
}

// An item that refers to a component, and a control that holds such items.
class TLinkItem : public TCollectionItem {
  KST_CLASS(TLinkItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  TTestControl* Target = nullptr;
  Integer Width = 0;
};
KST_CLASS_IMPL(TLinkItem, "Probe")
void TLinkItem::Describe(TClassBuilder<TLinkItem>& c) {
  c.Property(u"Target", &TLinkItem::Target);
  c.Property(u"Width", &TLinkItem::Width);
}

class TLinkHolder : public TTestControl {
  KST_CLASS(TLinkHolder, TTestControl)
 public:
  explicit TLinkHolder(TComponent* owner)
      : TTestControl(owner), Links(std::make_unique<TOwnedCollection>(this, TLinkItem::StaticClass())) {}
  std::unique_ptr<TOwnedCollection> Links;
  TOwnedCollection* GetLinks() const { return Links.get(); }
};
KST_CLASS_IMPL(TLinkHolder, "Probe")
void TLinkHolder::Describe(TClassBuilder<TLinkHolder>& c) {
  c.Property(u"Links", &TLinkHolder::GetLinks);
}

class Reader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestComponents(registry);
    TTestControl::LoadedCounter = 0;
  }
  // Reads a text form into a new root; errors collected when `collect`.
  std::unique_ptr<TComponent> Read(const std::string& text, bool collect = false) {
    TBytes binary = ToBinary(text);
    TBytesStream stream(binary);
    TComponentReader reader(stream, registry);
    if (collect) reader.OnError = [this](TComponentReader&, const String& m, bool& handled) {
      errors.push_back(m);
      handled = true;
    };
    return std::unique_ptr<TComponent>(reader.ReadRootComponent());
  }
  String ReadError(const std::string& text) {
    try {
      Read(text);
    } catch (const Exception& e) {
      return e.Message();
    }
    return u"<no error>";
  }
  TClassRegistry registry;
  std::vector<String> errors;
};

const char* kForm = R"(object Form1: TTestForm
  Left = 10
  Caption = 'Main'
  object Panel1: TTestContainer
    Align = alTop
    Anchors = [akLeft, akRight]
    Color = clRed
    object Button1: TTestControl
      Caption = 'OK'
      Cursor = crHandPoint
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      Font.Color = clBlue
      Buddy = Memo1
      OnClick = Button1Click
      Accelerator = 'K'
      Ratio = 0.25
      Big = 10000000000
      Extra = 'text'
      Price = 12.5
    end
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'first'
      'second')
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end
      item
        Caption = 'Size'
      end>
    Picture.Data = {0A0B0C}
  end
end
)";

TEST_F(Reader, BuildsTheTreeWithFieldsEventsAndReferences) {
  auto root = Read(kForm);
  auto* form = dynamic_cast<TTestForm*>(root.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), u"Form1");
  EXPECT_EQ(form->Left, 10);
  EXPECT_EQ(form->Caption, u"Main");
  ASSERT_NE(form->Panel1, nullptr);
  ASSERT_NE(form->Button1, nullptr);
  ASSERT_NE(form->Memo1, nullptr);
  EXPECT_EQ(form->ComponentCount(), 3) << "all owned by the root";
  EXPECT_EQ(form->Panel1->Align, talTop);
  EXPECT_EQ(form->Panel1->Anchors, (TTestAnchors{takLeft, takRight}));
  EXPECT_EQ(form->Panel1->Color, 0x0000FF);
  EXPECT_EQ(form->Button1->ParentControl(), form->Panel1);
  EXPECT_EQ(form->Panel1->ParentControl(), form);
  EXPECT_EQ(form->Button1->Cursor, -21);
  EXPECT_EQ(form->Button1->Font->Name, u"Arial");
  EXPECT_EQ(form->Button1->Font->Style, (TFontStyles{fsBold}));
  EXPECT_EQ(form->Button1->Font->Color, 0xFF0000);
  EXPECT_EQ(form->Button1->Buddy, form->Memo1) << "a reference to a later component";
  EXPECT_EQ(form->Button1->Accelerator, u'K');
  EXPECT_EQ(form->Button1->Ratio, 0.25);
  EXPECT_EQ(form->Button1->Big, 10000000000);
  EXPECT_EQ(VarToStr(form->Button1->Extra), u"text");
  EXPECT_EQ(form->Button1->Price, Currency::FromScaled(125000));
  form->Button1->OnClick(form->Button1);
  EXPECT_EQ(form->Clicks, 1);
  ASSERT_EQ(form->Memo1->Lines->GetCount(), 2);
  EXPECT_EQ(form->Memo1->Lines->Get(1), u"second");
  ASSERT_EQ(form->Memo1->Columns->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(form->Memo1->Columns->Items(0))->Width, 120);
  EXPECT_EQ(static_cast<TTestItem*>(form->Memo1->Columns->Items(1))->Caption, u"Size");
  EXPECT_EQ(form->Memo1->Picture->Data, (TBytes{0x0A, 0x0B, 0x0C}));
  // Loaded in reading order, root first; no component is left loading.
  EXPECT_EQ(form->LoadedOrder, 0);
  EXPECT_EQ(form->Panel1->LoadedOrder, 1);
  EXPECT_EQ(form->Button1->LoadedOrder, 2);
  EXPECT_EQ(form->Memo1->LoadedOrder, 3);
  EXPECT_FALSE(form->Button1->ComponentState().Contains(csLoading));
  EXPECT_FALSE(form->ComponentState().Contains(csReading));
}

TEST_F(Reader, ErrorTextsName) {
  struct Case {
    const char* text;
    const char16_t* message;
  } cases[] = {
      {"object F: TTestForm\n  Nonsense = 1\nend\n", u"Error reading F.Nonsense: Property Nonsense does not exist"},
      {"object F: TTestForm\n  Left = 'x'\nend\n", u"Error reading F.Left: Invalid property value"},
      {"object F: TTestForm\n  Left = 1.5\nend\n", u"Error reading F.Left: Invalid property value"},
      {"object F: TTestForm\n  Align = alMiddle\nend\n", u"Error reading F.Align: Invalid property value"},
      {"object F: TTestForm\n  Color = clNoSuch\nend\n", u"Error reading F.Color: Invalid property value"},
      {"object F: TTestForm\n  Caption.X = 1\nend\n", u"Error reading F.Caption.X: Invalid property path"},
      {"object F: TTestForm\n  OnClick = NoHandler\nend\n", u"Error reading F.OnClick: Invalid property value"},
      {"object F: TTestForm\n  Anchors = [akLeft, akNone]\nend\n", u"Error reading F.Anchors: Invalid property value"},
      {"object F: TTestForm\n  object X: TNoSuchClass\n  end\nend\n", u"Class TNoSuchClass not found"},
      {"object F: TTestForm\n  inherited X: TTestControl\n  end\nend\n", u"Ancestor for 'X' not found"},
      {"object F: TNoSuchForm\nend\n", u"Class TNoSuchForm not found"},
      {"object F: TTestForm\n  object A: TTestControl\n  end\n  object a: TTestControl\n  end\nend\n",
       u"A component named a already exists"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadError(c.text), c.message) << c.text;
}

TEST_F(Reader, FloatPropertiesTakeIntegersButNotOtherTags) {
  EXPECT_EQ(ReadError("object F: TTestForm\n  object B: TTestControl\n    Ratio = 3\n  end\nend\n"), u"<no error>");
  EXPECT_EQ(ReadError("object F: TTestForm\n  object B: TTestControl\n    Ratio = 1.5s\n  end\nend\n"),
            u"Error reading B.Ratio: Invalid property value");
}

TEST_F(Reader, HandledErrorsSkipAndGoOn) {
  auto root = Read(R"(object Form1: TTestForm
  Nonsense = (
    1
    2)
  Left = 7
  object Lost: TNoSuchClass
    Caption = 'x'
    object Inner: TTestControl
    end
  end
  object Button1: TTestControl
    Width = 'bad'
    Height = 33
    Buddy = Lost
  end
end
)",
                   true);
  auto* form = dynamic_cast<TTestForm*>(root.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Left, 7);
  ASSERT_NE(form->Button1, nullptr);
  EXPECT_EQ(form->Button1->Height, 33);
  EXPECT_EQ(form->Button1->Buddy, nullptr) << "a reference to nothing stays unset";
  EXPECT_EQ(form->ComponentCount(), 1) << "the failed component and its record are gone";
  std::vector<String> expected{u"Error reading Form1.Nonsense: Property Nonsense does not exist",
                               u"Class TNoSuchClass not found",
                               u"Error reading Button1.Width: Invalid property value"};
  EXPECT_EQ(errors, expected);
}

TEST_F(Reader, FillsASuppliedRootWithAUniqueName) {
  TComponent application(nullptr);
  SetApplicationComponent(&application);
  auto* first = new TTestForm(&application);
  first->SetName(u"Form1");
  auto* taken = new TTestForm(&application);
  taken->SetName(u"Form1_1");
  auto* root = new TTestForm(&application);
  TBytes binary = ToBinary("object Form1: TSomethingElse\n  Top = 5\nend\n");
  TBytesStream stream(binary);
  TComponentReader reader(stream, registry);
  EXPECT_EQ(reader.ReadRootComponent(root), root);
  EXPECT_EQ(root->Name(), u"Form1_2");
  EXPECT_EQ(root->Top, 5);
  SetApplicationComponent(nullptr);
}

TEST_F(Reader, MethodHookSuppliesOrExcusesHandlers) {
  TBytes binary = ToBinary("object F: TTestForm\n  OnClick = Elsewhere\n  Left = 3\nend\n");
  TBytesStream stream(binary);
  TComponentReader reader(stream, registry);
  String asked;
  reader.OnFindMethod = [&](TComponentReader&, const String& name, std::any&, bool& error) {
    asked = name;
    error = false;
  };
  std::unique_ptr<TComponent> root(reader.ReadRootComponent());
  EXPECT_EQ(asked, u"Elsewhere");
  EXPECT_EQ(static_cast<TTestForm*>(root.get())->Left, 3);
  EXPECT_FALSE(static_cast<TTestForm*>(root.get())->OnClick);
}

TEST_F(Reader, ChildPositionsAndInheritedChildren) {
  TTestForm root(nullptr);
  auto* existing = new TTestControl(&root);
  existing->SetName(u"Old");
  existing->SetParentComponent(&root);
  TBytes binary = ToBinary(
      "object F: TTestForm\n  object A: TTestControl\n  end\n"
      "  inherited Old: TTestControl\n    Width = 99\n  end\n"
      "  object B: TTestControl [0]\n  end\nend\n");
  TBytesStream stream(binary);
  TComponentReader reader(stream, registry);
  reader.ReadRootComponent(&root);
  EXPECT_EQ(existing->Width, 99);
  ASSERT_EQ(root.Controls().size(), 3u);
  EXPECT_EQ(root.Controls()[0]->Name(), u"B");
}

TEST_F(Reader, TruncatedStreamsFailCleanly) {
  TBytes full = ToBinary(kForm);
  for (size_t cut = 0; cut < full.size(); cut += 7) {
    TBytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    TBytesStream stream(part);
    TComponentReader reader(stream, registry);
    EXPECT_THROW(reader.ReadRootComponent(), EReadError) << cut;
  }
}

}  // namespace

namespace {

TEST_F(Reader, CollectionItemsWithALeadingIndexReadTheSame) {
  TBytesStream stream{TBytes()};
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteUTF8Str(StringView(u"TTestForm"));
    writer.WriteUTF8Str(StringView(u"F"));
    writer.WriteListEnd();  // no properties
    writer.WriteUTF8Str(StringView(u"TTestMemo"));
    writer.WriteUTF8Str(StringView(u"M"));
    writer.WriteUTF8Str(StringView(u"Columns"));
    writer.WriteValue(vaCollection);
    writer.WriteValue(vaInt16);  // an index as the IDE may write it
    const Byte index[2] = {0x07, 0x00};
    writer.Write(index, 2);
    writer.WriteListBegin();
    writer.WriteUTF8Str(StringView(u"Width"));
    writer.WriteInteger(Integer{9});
    writer.WriteListEnd();
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteListEnd();  // end of the collection
    writer.WriteListEnd();  // end of M's properties
    writer.WriteListEnd();  // M has no children
    writer.WriteListEnd();  // end of F's children
    writer.FlushBuffer();
  }
  stream.SetPosition(0);
  TComponentReader reader(stream, registry);
  std::unique_ptr<TComponent> root(reader.ReadRootComponent());
  auto* memo = static_cast<TTestMemo*>(root->FindComponent(u"M"));
  ASSERT_NE(memo, nullptr);
  ASSERT_EQ(memo->Columns->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(memo->Columns->Items(0))->Width, 9);
  EXPECT_EQ(static_cast<TTestItem*>(memo->Columns->Items(1))->Width, 50);
}

TEST_F(Reader, ACollectionReadTwiceDropsTheReferencesOfItsClearedItems) {
  registry.RegisterClass(TLinkHolder::StaticClass());
  auto root = Read(R"(object F: TTestForm
  object L: TLinkHolder
    Links = <
      item
        Target = B
      end
      item
        Target = B
      end>
    Links = <
      item
        Width = 3
      end>
  end
  object B: TTestControl
  end
end
)");
  auto* holder = static_cast<TLinkHolder*>(root->FindComponent(u"L"));
  ASSERT_NE(holder, nullptr);
  ASSERT_EQ(holder->Links->Count(), 1);
  auto* item = static_cast<TLinkItem*>(holder->Links->Items(0));
  EXPECT_EQ(item->Width, 3);
  EXPECT_EQ(item->Target, nullptr) << "the second record names no target";
}

TEST_F(Reader, CollectionItemErrorsNameTheItemByItsClass) {
  Read(
      "object F: TTestForm\n  object M: TTestMemo\n    Columns = <\n      item\n        Nonsense = 1\n      end>\n"
      "  end\nend\n",
      true);
  EXPECT_EQ(errors, std::vector<String>{u"Error reading TTestItem.Nonsense: Property Nonsense does not exist"});
}

// Each failed collection record leaves the nesting as it found it: many of
// them do not make a later valid item too deep.
TEST_F(Reader, FailedCollectionsLeaveTheNestingAsItWas) {
  TBytesStream stream{TBytes()};
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteUTF8Str(StringView(u"TTestMemo"));
    writer.WriteUTF8Str(StringView(u"M"));
    for (int i = 0; i < 300; ++i) {
      // An item whose unknown property fails it: the record ends there, as
      // the reader goes on with the memo's next property.
      writer.WriteUTF8Str(StringView(u"Columns"));
      writer.WriteValue(vaCollection);
      writer.WriteListBegin();
      writer.WriteUTF8Str(StringView(u"Nonsense"));
      writer.WriteInteger(Integer{1});
    }
    writer.WriteUTF8Str(StringView(u"Columns"));
    writer.WriteValue(vaCollection);
    writer.WriteListBegin();
    writer.WriteUTF8Str(StringView(u"Width"));
    writer.WriteInteger(Integer{9});
    writer.WriteListEnd();
    writer.WriteListEnd();  // end of the collection
    writer.WriteListEnd();  // end of M's properties
    writer.WriteListEnd();  // M has no children
    writer.FlushBuffer();
  }
  stream.SetPosition(0);
  TComponentReader reader(stream, registry);
  int outer = 0;
  reader.OnError = [&](TComponentReader&, const String& message, bool& handled) {
    // The item's own failure goes on up; the collection's is handled.
    handled = message.starts_with(u"Error reading M.Columns: ");
    if (handled) ++outer;
  };
  std::unique_ptr<TComponent> root(reader.ReadRootComponent());
  EXPECT_EQ(outer, 300);
  auto* memo = static_cast<TTestMemo*>(root.get());
  ASSERT_EQ(memo->Columns->Count(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(memo->Columns->Items(0))->Width, 9);
}

}  // namespace
