#include <gtest/gtest.h>

#include "classes/collection.h"
#include "classes/component.h"
#include "rtl/uitypes.h"
#include "rtl/unicode.h"

namespace {

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TSide>) {
  static const TEnumTypeInfo type(u"TSide", u"Probe", {u"sdLeft", u"sdTop", u"sdRight", u"sdBottom"});
  return type;
}
const TTypeInfo& DescribeType(TypeTag<TSides>) {
  static const TSetTypeInfo type(u"TSides", u"Probe", static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TSide>{})));
  return type;
}

namespace {

class TProbe : public TComponent {
  KST_CLASS(TProbe, TComponent)
 public:
  using TComponent::TComponent;
  Integer Width = 10;
  TSide Side = sdTop;
  TSides Sides{sdLeft};
  double Ratio = 0.5;
  String Caption;
  TProbe* Buddy = nullptr;
  TNotifyEvent OnClick;
  const String& GetCaption() const { return Caption; }
  void SetCaption(const String& value) { Caption = value; }
  void Clicked(TObject*) { ++Clicks; }
  int Clicks = 0;
};
KST_CLASS_IMPL(TProbe, "Probe")

class TWideProbe : public TProbe {
  KST_CLASS(TWideProbe, TProbe)
 public:
  using TProbe::TProbe;
  Integer Depth = 0;
  TProbe* Child = nullptr;
};
KST_CLASS_IMPL(TWideProbe, "Probe")

void TProbe::Describe(TClassBuilder<TProbe>& c) {
  c.Property(u"Width", &TProbe::Width).Default(10);
  c.Property(u"Side", &TProbe::Side);
  c.Property(u"Sides", &TProbe::Sides);
  c.Property(u"Ratio", &TProbe::Ratio);
  c.Property(u"Caption", &TProbe::GetCaption, &TProbe::SetCaption);
  c.Property(u"Buddy", &TProbe::Buddy);
  c.Property(u"OnClick", &TProbe::OnClick);
  c.Method(u"Clicked", &TProbe::Clicked);
}

void TWideProbe::Describe(TClassBuilder<TWideProbe>& c) {
  c.Property(u"Depth", &TWideProbe::Depth);
  c.Property(u"Width", &TWideProbe::Width).Default(20);  // redeclared: keeps its place
  c.Field(u"Child", &TWideProbe::Child);
}

std::vector<String> PropertyNames(const TClassInfo& cls) {
  std::vector<String> names;
  for (const TPropInfo* p : cls.AllProperties()) names.push_back(p->Name());
  return names;
}

TEST(Reflection, PropertiesComeAncestorsFirstAndRedeclaredOnesKeepTheirPlace) {
  const auto& cls = TWideProbe::StaticClass();
  std::vector<String> expected{u"Name", u"Tag",     u"Width", u"Side",    u"Sides",
                               u"Ratio", u"Caption", u"Buddy", u"OnClick", u"Depth"};
  EXPECT_EQ(PropertyNames(cls), expected);
  EXPECT_EQ(cls.FindProperty(u"WIDTH")->Default(), 20);
  EXPECT_EQ(&cls.FindProperty(u"width")->Owner(), &cls);
  EXPECT_EQ(TProbe::StaticClass().FindProperty(u"Width")->Default(), 10);
  EXPECT_EQ(cls.ClassParent(), &TProbe::StaticClass());
  EXPECT_TRUE(cls.InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(cls.IsComponentClass());
  EXPECT_FALSE(TCollection::StaticClass().IsComponentClass());
}

TEST(Reflection, KindsAndTypeNames) {
  const auto& cls = TProbe::StaticClass();
  struct Case {
    const char16_t* name;
    TTypeKind kind;
    const char16_t* typeName;
  } cases[] = {{u"Name", tkUString, u"TComponentName"}, {u"Tag", tkInteger, u"Integer"},
               {u"Side", tkEnumeration, u"TSide"},      {u"Sides", tkSet, u"TSides"},
               {u"Ratio", tkFloat, u"Double"},          {u"Caption", tkUString, u"string"},
               {u"Buddy", tkClass, u"TProbe"},          {u"OnClick", tkMethod, u"TNotifyEvent"}};
  for (const auto& c : cases) {
    const TPropInfo* p = cls.FindProperty(c.name);
    ASSERT_NE(p, nullptr) << StringToUTF8(c.name);
    EXPECT_EQ(p->Kind(), c.kind) << StringToUTF8(c.name);
    EXPECT_EQ(p->PropType().Name(), c.typeName) << StringToUTF8(c.name);
  }
  EXPECT_FALSE(cls.FindProperty(u"Name")->IsStored(TProbe(nullptr)));
}

TEST(Reflection, ReadsAndWritesByKind) {
  TProbe probe(nullptr);
  const auto& cls = ClassOf(probe);
  cls.FindProperty(u"Width")->Access().SetOrd(probe, 77);
  cls.FindProperty(u"Side")->Access().SetOrd(probe, sdBottom);
  cls.FindProperty(u"Sides")->Access().SetOrd(probe, 0b1010);
  cls.FindProperty(u"Ratio")->Access().SetFloat(probe, 2.25L);
  cls.FindProperty(u"Caption")->Access().SetStr(probe, u"Hello");
  EXPECT_EQ(probe.Width, 77);
  EXPECT_EQ(probe.Side, sdBottom);
  EXPECT_TRUE(probe.Sides.Contains(sdTop) && probe.Sides.Contains(sdBottom) && !probe.Sides.Contains(sdLeft));
  EXPECT_EQ(probe.Ratio, 2.25);
  EXPECT_EQ(probe.Caption, u"Hello");
  EXPECT_EQ(cls.FindProperty(u"Caption")->Access().GetStr(probe), u"Hello");
  EXPECT_THROW(cls.FindProperty(u"Caption")->Access().GetOrd(probe), EPropertyError);

  TWideProbe other(nullptr);
  cls.FindProperty(u"Buddy")->Access().SetObject(probe, &other);
  EXPECT_EQ(probe.Buddy, &other);
  TCollection notAProbe(TCollectionItem::StaticClass());
  EXPECT_THROW(cls.FindProperty(u"Buddy")->Access().SetObject(probe, &notAProbe), EInvalidCast);
}

TEST(Reflection, EventsBindToPublishedMethodsByName) {
  TProbe probe(nullptr);
  const auto& cls = ClassOf(probe);
  const TMethodInfo* method = cls.FindMethod(u"clicked");
  ASSERT_NE(method, nullptr);
  const TPropInfo* event = cls.FindProperty(u"OnClick");
  EXPECT_FALSE(event->Access().IsMethodAssigned(probe));
  event->Access().SetMethod(probe, method->Bind(probe));
  EXPECT_TRUE(event->Access().IsMethodAssigned(probe));
  probe.OnClick(&probe);
  EXPECT_EQ(probe.Clicks, 1);
  // The handler's name is found again from the delegate, as a writer needs it.
  const TMethodInfo* found = cls.FindMethodOf(event->Access().GetMethod(probe), probe);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Name(), u"Clicked");
  TProbe stranger(nullptr);
  EXPECT_EQ(cls.FindMethodOf(event->Access().GetMethod(probe), stranger), nullptr);
}

TEST(Reflection, FieldsAreFilledByNameAndTypeChecked) {
  TWideProbe form(nullptr);
  auto* child = new TProbe(&form);
  const TFieldInfo* field = form.ClassType()->FindField(u"child");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(&field->FieldClass(), &TProbe::StaticClass());
  EXPECT_TRUE(field->Set(form, child));
  EXPECT_EQ(form.Child, child);
  TCollection wrong(TCollectionItem::StaticClass());
  EXPECT_FALSE(field->Set(form, &wrong));
  EXPECT_EQ(form.ClassType()->FindFieldClass(u"TPROBE"), &TProbe::StaticClass());
}

TEST(ClassRegistry, RegistersAncestorsAndUnregistersByModule) {
  TClassRegistry registry;
  EXPECT_TRUE(registry.RegisterClass(TWideProbe::StaticClass(), u"pkg"));
  EXPECT_FALSE(registry.RegisterClass(TWideProbe::StaticClass()));
  EXPECT_EQ(registry.FindClass(u"twideprobe"), &TWideProbe::StaticClass());
  EXPECT_EQ(registry.FindClass(u"TProbe"), &TProbe::StaticClass());
  EXPECT_EQ(registry.FindClass(u"TComponent"), &TComponent::StaticClass());
  EXPECT_EQ(registry.FindClass(u"TPersistent"), nullptr);
  EXPECT_EQ(registry.Count(), 3);
  try {
    registry.GetClass(u"TNothing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), u"Class TNothing not found");
  }
  registry.RegisterClass(TCollection::StaticClass(), u"other");
  EXPECT_EQ(registry.UnRegisterModuleClasses(u"pkg"), 3);
  EXPECT_EQ(registry.FindClass(u"TProbe"), nullptr);
  EXPECT_NE(registry.FindClass(u"TCollection"), nullptr);
}

TEST(ClassRegistry, CreatesComponentsWithAnOwner) {
  TComponent owner(nullptr);
  TObject* made = TWideProbe::StaticClass().Create(&owner);
  ASSERT_NE(dynamic_cast<TWideProbe*>(made), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(static_cast<TComponent*>(made)->Owner(), &owner);
  TCollection items(TCollectionItem::StaticClass());
  EXPECT_THROW(TComponent::StaticClass().CreateItem(items), EInvalidOperation);
  EXPECT_THROW(TCollectionItem::StaticClass().Create(nullptr), EInvalidOperation);
}

class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  TComponent* Watched = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Watched) Watched = nullptr;
  }
};

TEST(Component, OwnersDeleteWhatTheyOwnAndNotifyWatchers) {
  TWatcher watcher(nullptr);
  {
    TComponent owner(nullptr);
    auto* a = new TProbe(&owner);
    a->SetName(u"Probe1");
    watcher.Watched = a;
    a->FreeNotification(&watcher);
    EXPECT_EQ(owner.FindComponent(u"PROBE1"), a);
    EXPECT_THROW((new TProbe(&owner))->SetName(u"probe1"), EComponentError);
  }
  EXPECT_EQ(watcher.Watched, nullptr);
}

TEST(Component, NamesMustBeIdentifiers) {
  TProbe probe(nullptr);
  for (const char16_t* bad : {u"1abc", u"a b", u"a-b", u"a.b"}) {
    try {
      probe.SetName(bad);
      FAIL() << StringToUTF8(bad);
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), u"'" + String(bad) + u"' is not a valid component name");
    }
  }
  probe.SetName(u"_ok9");
  probe.SetName(u"");
  EXPECT_EQ(probe.Name(), u"");
}

class TProbeItem : public TCollectionItem {
  KST_CLASS(TProbeItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  String Text;
  void Assign(const TPersistent* source) override {
    if (auto* other = dynamic_cast<const TProbeItem*>(source)) Text = other->Text;
    else TCollectionItem::Assign(source);
  }
};
KST_CLASS_IMPL(TProbeItem, "Probe")
void TProbeItem::Describe(TClassBuilder<TProbeItem>& c) { c.Property(u"Text", &TProbeItem::Text); }

class TProbeHolder : public TComponent {
  KST_CLASS(TProbeHolder, TComponent)
 public:
  explicit TProbeHolder(TComponent* owner)
      : TComponent(owner), Items(std::make_unique<TOwnedCollection>(this, TProbeItem::StaticClass())) {}
  std::unique_ptr<TOwnedCollection> Items;
  TOwnedCollection* GetItems() const { return Items.get(); }
};
KST_CLASS_IMPL(TProbeHolder, "Probe")
void TProbeHolder::Describe(TClassBuilder<TProbeHolder>& c) { c.Property(u"Items", &TProbeHolder::GetItems); }

TEST(Collection, ItemsOfTheItemClassWithNamePathsAndIds) {
  TProbeHolder holder(nullptr);
  holder.SetName(u"Holder1");
  auto* first = static_cast<TProbeItem*>(holder.Items->Add());
  auto* second = static_cast<TProbeItem*>(holder.Items->Add());
  first->Text = u"a";
  second->Text = u"b";
  EXPECT_EQ(holder.Items->Count(), 2);
  EXPECT_EQ(second->GetNamePath(), u"Holder1.Items[1]");
  second->SetIndex(0);
  EXPECT_EQ(holder.Items->Items(0), second);
  EXPECT_EQ(holder.Items->FindItemID(0), first);
  EXPECT_THROW(holder.Items->Items(5), EListError);

  TOwnedCollection copy(nullptr, TProbeItem::StaticClass());
  copy.Assign(holder.Items.get());
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(static_cast<TProbeItem*>(copy.Items(0))->Text, u"b");
  delete first;
  EXPECT_EQ(holder.Items->Count(), 1);
  try {
    TProbe probe(nullptr);
    probe.Assign(&copy);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Cannot assign a TOwnedCollection to a TProbe");
  }
}

}  // namespace
