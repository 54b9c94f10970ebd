#include "app/objectinspector.h"

#include <gtest/gtest.h>

#include "classes/identmaps.h"
#include "rtl/unicode.h"
#include "support/testcomponents.h"

namespace {

enum TWideKind { w0, w1, w2, w3, w4, w5, w6, w7, w8, w9, w10, w11, w12, w13, w14, w15, w16, w17 };
using TWideSet = TSet<TWideKind>;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TWideKind>) {
  static const TEnumTypeInfo t(u"TWideKind", u"Probe",
                               {u"w0", u"w1", u"w2", u"w3", u"w4", u"w5", u"w6", u"w7", u"w8", u"w9", u"w10", u"w11",
                                u"w12", u"w13", u"w14", u"w15", u"w16", u"w17"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TWideSet>) {
  static const TSetTypeInfo t(u"TWideSet", u"Probe",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TWideKind>{})));
  return t;
}

namespace {

class TProbeFont : public TPersistent {
  KST_CLASS(TProbeFont, TPersistent)
 public:
  explicit TProbeFont(TPersistent* owner) : FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }
  String GetNamePath() const override { return FOwner ? FOwner->GetNamePath() + u".Font" : String(u"Font"); }
  String Name = u"Tahoma";

 private:
  TPersistent* FOwner;
};
KST_CLASS_IMPL(TProbeFont, "Probe")
void TProbeFont::Describe(TClassBuilder<TProbeFont>& c) { c.Property(u"Name", &TProbeFont::Name); }

class TProbeControl : public TComponent {
  KST_CLASS(TProbeControl, TComponent)
 public:
  explicit TProbeControl(TComponent* owner)
      : TComponent(owner), Font(std::make_unique<TProbeFont>(this)), Lines(std::make_unique<TStringList>()) {}
  TTestAlign Align = talNone;
  TTestAnchors Anchors{takLeft, takTop};
  TWideSet Wide;
  String Caption = u"Hello";
  String Hint;
  Integer Color = 0xFF00000F;
  char16_t Accel = u'A';
  double Ratio = 1.0 / 3.0;
  Currency Price = Currency::FromScaled(12345);
  Variant Extra = Variant(Integer{42});
  TProbeControl* Buddy = nullptr;
  std::unique_ptr<TProbeFont> Font;
  std::unique_ptr<TStringList> Lines;
  TNotifyEvent OnClick;
  TProbeFont* GetFont() const { return Font.get(); }
  TStringList* GetLines() const { return Lines.get(); }
  void ButtonClick(TObject*) {}
};
KST_CLASS_IMPL(TProbeControl, "Probe")
void TProbeControl::Describe(TClassBuilder<TProbeControl>& c) {
  c.Property(u"Align", &TProbeControl::Align);
  c.Property(u"Anchors", &TProbeControl::Anchors);
  c.Property(u"Wide", &TProbeControl::Wide);
  c.Property(u"Caption", &TProbeControl::Caption);
  c.Property(u"Hint", &TProbeControl::Hint);
  c.Property(u"Color", &TProbeControl::Color, &types::Color());
  c.Property(u"Accel", &TProbeControl::Accel);
  c.Property(u"Ratio", &TProbeControl::Ratio);
  c.Property(u"Price", &TProbeControl::Price);
  c.Property(u"Extra", &TProbeControl::Extra);
  c.Property(u"Buddy", &TProbeControl::Buddy);
  c.Property(u"Font", &TProbeControl::GetFont);
  c.Property(u"Lines", &TProbeControl::GetLines);
  c.Property(u"OnClick", &TProbeControl::OnClick);
  c.Method(u"ButtonClick", &TProbeControl::ButtonClick);
}

String ValueOf(const TMObjectInspector& oi, const char16_t* name) {
  Integer row = oi.Properties()->IndexOf(name);
  return row < 0 ? String(u"<not listed>") : oi.Values()->Get(row);
}

class ObjectInspector : public ::testing::Test {
 protected:
  void SetUp() override {
    application = std::make_unique<TComponent>(nullptr);
    SetApplicationComponent(application.get());
    form = new TProbeControl(application.get());
    form->SetName(u"Form1");
    other = new TProbeControl(application.get());
    other->SetName(u"Form2");
    control = new TProbeControl(form);
    control->SetName(u"Button1");
    inspector = new TMObjectInspector(form);
  }
  void TearDown() override {
    application.reset();
    SetApplicationComponent(nullptr);
  }
  std::unique_ptr<TComponent> application;
  TProbeControl* form = nullptr;
  TProbeControl* other = nullptr;
  TProbeControl* control = nullptr;
  TMObjectInspector* inspector = nullptr;
};

TEST_F(ObjectInspector, ListsValuesAsText) {
  control->Wide = {w1, w15, w16, w17};
  control->Lines->Add(u"one");
  control->Lines->Add(u"two");
  auto* edit = new TProbeControl(other);
  edit->SetName(u"Edit1");
  control->Buddy = edit;
  inspector->SetComponent(control);
  EXPECT_EQ(inspector->ObjectName(), u"Button1");
  EXPECT_EQ(inspector->ObjectType(), u"TProbeControl");
  struct Case {
    const char16_t* name;
    const char16_t* value;
  } cases[] = {{u"Align", u"alNone"},     {u"Anchors", u"[akLeft,akTop]"}, {u"Wide", u"[w1,w15]"},
               {u"Caption", u"Hello"},    {u"Hint", u""},                  {u"Color", u"-16777201"},
               {u"Accel", u"A"},          {u"Ratio", u"0.333333333333333"}, {u"Price", u"1.2345"}, {u"Extra", u"42"}, {u"Buddy", u"Form2.Edit1"},
               {u"Font", u"(Button1.Font)"}, {u"Lines", u"(TStrings)"},     {u"OnClick", u""},
               {u"Name", u"Button1"},     {u"Tag", u"0"}};
  for (const auto& c : cases) EXPECT_EQ(ValueOf(*inspector, c.name), c.value) << StringToUTF8(c.name);
  // Sorted by name; kinds as numbers; the event's declaration.
  EXPECT_EQ(inspector->Properties()->Get(0), u"Accel");
  EXPECT_EQ(inspector->Kinds()->Get(inspector->Properties()->IndexOf(u"Align")), u"3");
  EXPECT_EQ(inspector->Types()->Get(inspector->Properties()->IndexOf(u"Color")), u"TColor");
  ASSERT_EQ(inspector->Declarations()->GetCount(), 1);
  EXPECT_EQ(inspector->Declarations()->Get(0), u"procedure OnClick (Sender :TObject)");
}

TEST_F(ObjectInspector, LeavesOutObjectPropertiesHoldingNothing) {
  inspector->SetComponent(control);
  EXPECT_EQ(ValueOf(*inspector, u"Buddy"), u"<not listed>");
  EXPECT_NE(inspector->GetProperty(u"buddy"), nullptr) << "still reachable by name";
  control->Buddy = static_cast<TProbeControl*>(form->FindComponent(u"Button1"));
  inspector->SetComponent(control);
  EXPECT_EQ(ValueOf(*inspector, u"Buddy"), u"Button1") << "same owner: no prefix";
}

TEST_F(ObjectInspector, SetsValuesFromText) {
  inspector->SetComponent(control);
  EXPECT_TRUE(inspector->SetPropertyValue(u"Align", u"alclient"));
  EXPECT_EQ(control->Align, talClient);
  EXPECT_TRUE(inspector->SetPropertyValue(u"Align", u"alMiddle"));
  EXPECT_EQ(control->Align, talClient) << "no such value: unchanged";
  EXPECT_TRUE(inspector->SetPropertyValue(u"Anchors", u"[akRight, akBottom]"));
  EXPECT_EQ(control->Anchors, (TTestAnchors{takRight, takBottom}));
  EXPECT_TRUE(inspector->SetPropertyValue(u"Color", u"12"));
  EXPECT_EQ(control->Color, 12);
  EXPECT_TRUE(inspector->SetPropertyValue(u"Color", u"red"));
  EXPECT_EQ(control->Color, 0) << "no number gives 0";
  EXPECT_TRUE(inspector->SetPropertyValue(u"Ratio", u"2.5"));
  EXPECT_EQ(control->Ratio, 2.5);
  EXPECT_TRUE(inspector->SetPropertyValue(u"Price", u"7.25"));
  EXPECT_EQ(control->Price, Currency::FromScaled(72500));
  EXPECT_TRUE(inspector->SetPropertyValue(u"Extra", u"text"));
  EXPECT_EQ(control->Extra.VarType(), varUString);
  EXPECT_FALSE(inspector->SetPropertyValue(u"NoSuch", u"1"));

  String failure;
  inspector->OnException = [&](TObject*, const Exception& e) { failure = e.Message(); };
  EXPECT_TRUE(inspector->SetPropertyValue(u"Accel", u""));
  EXPECT_FALSE(failure.empty());
  failure.clear();
  EXPECT_TRUE(inspector->SetPropertyValue(u"Ratio", u"abc"));
  EXPECT_EQ(failure, u"'abc' is not a valid floating point value");
  // A number beyond the property's type is refused, and the value stays.
  failure.clear();
  EXPECT_TRUE(inspector->SetPropertyValue(u"Ratio", u"1e400"));
  EXPECT_EQ(failure, u"Floating point overflow");
  EXPECT_EQ(control->Ratio, 2.5);
  EXPECT_TRUE(inspector->SetPropertyValue(u"Ratio", u"-1e308"));
  EXPECT_EQ(control->Ratio, -1e308);
}

TEST_F(ObjectInspector, SetsObjectsAndListsFromLines) {
  inspector->SetComponent(control);
  TStringList lines;
  lines.Add(u"Form2");
  EXPECT_TRUE(inspector->SetPropertyValue(u"Buddy", lines));
  EXPECT_EQ(control->Buddy, nullptr) << "Form2 is no component of the owner";
  lines.Clear();
  lines.Add(u"Form2.Nothing");
  EXPECT_TRUE(inspector->SetPropertyValue(u"Buddy", lines));
  EXPECT_EQ(control->Buddy, nullptr);
  auto* target = new TProbeControl(other);
  target->SetName(u"Edit1");
  lines.Clear();
  lines.Add(u"Form2.Edit1");
  EXPECT_TRUE(inspector->SetPropertyValue(u"Buddy", lines));
  EXPECT_EQ(control->Buddy, target);
  lines.Clear();
  lines.Add(u"x");
  lines.Add(u"y");
  EXPECT_TRUE(inspector->SetPropertyValue(u"Lines", lines));
  EXPECT_EQ(control->Lines->GetCount(), 2);
  EXPECT_FALSE(inspector->SetPropertyValue(u"Lines", TStringList()));
}

TEST_F(ObjectInspector, NoObjectKeepsRowsButActsOnNothing) {
  inspector->SetComponent(control);
  Integer rows = inspector->Properties()->GetCount();
  inspector->SetComponent(nullptr);
  EXPECT_EQ(inspector->Properties()->GetCount(), rows);
  TStringList lines;
  lines.Add(u"stale");
  inspector->GetPropertyValue(u"Caption", lines);
  EXPECT_EQ(lines.GetCount(), 0);
  EXPECT_FALSE(inspector->SetPropertyValue(u"Caption", u"x"));
  EXPECT_EQ(control->Caption, u"Hello");
}

TEST_F(ObjectInspector, ForgetsAnObjectThatGoesAway) {
  inspector->SetComponent(control);
  delete control;
  EXPECT_EQ(inspector->Component(), nullptr);
  EXPECT_FALSE(inspector->SetPropertyValue(u"Caption", u"x"));
}

TEST_F(ObjectInspector, NeverTouchesThePreviousObject) {
  auto columns = std::make_unique<TOwnedCollection>(control, TTestItem::StaticClass());
  TCollectionItem* item = columns->Add();
  inspector->SetComponent(item);
  EXPECT_EQ(inspector->InspectedObject(), item);
  columns.reset();  // items tell no one when they go
  inspector->SetComponent(control);
  EXPECT_EQ(inspector->Component(), control);
  EXPECT_EQ(ValueOf(*inspector, u"Caption"), u"Hello");
  delete control;
  EXPECT_EQ(inspector->Component(), nullptr) << "the new component is still watched";
}

TEST_F(ObjectInspector, BindsEventsAndFiltersKinds) {
  inspector->SetFilter(TypeKindBit(tkMethod));
  inspector->SetComponent(control);
  EXPECT_EQ(inspector->Properties()->GetCount(), 1);
  const TMethodInfo* handler = ClassOf(*control).FindMethod(u"ButtonClick");
  EXPECT_TRUE(inspector->SetEventValue(u"OnClick", handler->Bind(*control)));
  inspector->SetComponent(control);
  EXPECT_EQ(ValueOf(*inspector, u"OnClick"), u"Assigned");
  EXPECT_EQ(inspector->GetMethodDecl(u"Caption"), u"");
  EXPECT_EQ(inspector->GetPropertyType(u"OnClick"), u"TNotifyEvent");
}

}  // namespace

#include "classes/reader.h"
#include "formfile/formconvert.h"

namespace {

TEST(ObjectInspectorOverStreamedForms, ShowsWhatTheFormTextSaid) {
  TClassRegistry registry;
  RegisterTestComponents(registry);
  std::string text = R"(object Form1: TTestForm
  object Button1: TTestControl
    Caption = 'OK'
    Color = clRed
    Font.Style = [fsBold, fsItalic]
    Anchors = [akLeft, akTop, akRight]
    Buddy = Memo1
    OnClick = Button1Click
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'a')
  end
end
)";
  TBytesStream input(TBytes(text.begin(), text.end()));
  TBytesStream binary{TBytes()};
  FormTextToBinary(input, binary);
  binary.SetPosition(0);
  TComponentReader reader(binary, registry);
  std::unique_ptr<TComponent> form(reader.ReadRootComponent());
  TMObjectInspector inspector(nullptr);
  inspector.SetComponent(form->FindComponent(u"Button1"));
  EXPECT_EQ(ValueOf(inspector, u"Caption"), u"OK");
  EXPECT_EQ(ValueOf(inspector, u"Color"), u"255");
  EXPECT_EQ(ValueOf(inspector, u"Anchors"), u"[akLeft,akTop,akRight]");
  EXPECT_EQ(ValueOf(inspector, u"Buddy"), u"Memo1");
  EXPECT_EQ(ValueOf(inspector, u"OnClick"), u"Assigned");
  EXPECT_EQ(ValueOf(inspector, u"Font"), u"(Button1.Font)");
  inspector.SetComponent(form->FindComponent(u"Memo1"));
  EXPECT_EQ(ValueOf(inspector, u"Lines"), u"a");
  TStringList lines;
  inspector.GetPropertyValue(u"Columns", lines);
  EXPECT_EQ(lines.GetCount(), 1);
  EXPECT_EQ(lines.Get(0), u"(TOwnedCollection)");
}

}  // namespace
