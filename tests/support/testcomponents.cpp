#include "support/testcomponents.h"

#include <algorithm>

#include "classes/filer.h"
#include "classes/identmaps.h"

KST_CLASS_IMPL(TTestFont, "TestCtrls")
KST_CLASS_IMPL(TTestItem, "TestCtrls")
KST_CLASS_IMPL(TTestPicture, "TestCtrls")
KST_CLASS_IMPL(TTestControl, "TestCtrls")
KST_CLASS_IMPL(TTestContainer, "TestCtrls")
KST_CLASS_IMPL(TTestMemo, "TestCtrls")
KST_CLASS_IMPL(TTestForm, "TestForms")

int TTestControl::LoadedCounter = 0;

const TTypeInfo& DescribeType(TypeTag<TTestAlign>) {
  static const TEnumTypeInfo t(u"TAlign", u"Controls", {u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TTestAnchor>) {
  static const TEnumTypeInfo t(u"TAnchorKind", u"Controls", {u"akLeft", u"akTop", u"akRight", u"akBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TTestAnchors>) {
  static const TSetTypeInfo t(u"TAnchors", u"Controls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TTestAnchor>{})));
  return t;
}

String TTestFont::GetNamePath() const { return FOwner ? FOwner->GetNamePath() + u".Font" : String(u"Font"); }

void TTestFont::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TTestFont*>(source)) {
    Name = other->Name;
    Size = other->Size;
    Color = other->Color;
    Charset = other->Charset;
    Style = other->Style;
    return;
  }
  TPersistent::Assign(source);
}

void TTestFont::Describe(TClassBuilder<TTestFont>& c) {
  c.Property(u"Charset", &TTestFont::Charset, &types::FontCharset());
  c.Property(u"Color", &TTestFont::Color, &types::Color());
  c.Property(u"Name", &TTestFont::Name);
  c.Property(u"Size", &TTestFont::Size);
  c.Property(u"Style", &TTestFont::Style);
}

void TTestItem::Describe(TClassBuilder<TTestItem>& c) {
  c.Property(u"Caption", &TTestItem::Caption);
  c.Property(u"Width", &TTestItem::Width);
}

TTestControl::TTestControl(TComponent* owner) : TComponent(owner), Font(std::make_unique<TTestFont>(this)) {}

TTestControl::~TTestControl() { SetParentComponent(nullptr); }

TComponent* TTestControl::GetParentComponent() const { return FParentControl; }

void TTestControl::SetParentComponent(TComponent* parent) {
  if (FParentControl) {
    auto& list = static_cast<TTestContainer*>(FParentControl)->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    FParentControl->RemoveFreeNotification(this);
  }
  FParentControl = dynamic_cast<TTestContainer*>(parent);
  if (FParentControl) {
    static_cast<TTestContainer*>(FParentControl)->FControls.push_back(this);
    FParentControl->FreeNotification(this);
  }
}

void TTestControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == Buddy) Buddy = nullptr;
  if (component == FParentControl) FParentControl = nullptr;
}

void TTestControl::Loaded() {
  TComponent::Loaded();
  LoadedOrder = LoadedCounter++;
}

void TTestControl::Describe(TClassBuilder<TTestControl>& c) {
  c.Property(u"Left", &TTestControl::Left);
  c.Property(u"Top", &TTestControl::Top);
  c.Property(u"Width", &TTestControl::Width);
  c.Property(u"Height", &TTestControl::Height);
  c.Property(u"Align", &TTestControl::Align);
  c.Property(u"Anchors", &TTestControl::Anchors);
  c.Property(u"Caption", &TTestControl::Caption);
  c.Property(u"Color", &TTestControl::Color, &types::Color());
  c.Property(u"Cursor", &TTestControl::Cursor, &types::Cursor());
  c.Property(u"Accelerator", &TTestControl::Accelerator);
  c.Property(u"Visible", &TTestControl::Visible);
  c.Property(u"Ratio", &TTestControl::Ratio);
  c.Property(u"Big", &TTestControl::Big);
  c.Property(u"Buddy", &TTestControl::Buddy);
  c.Property(u"Font", &TTestControl::GetFont);
  c.Property(u"OnClick", &TTestControl::OnClick);
}

TTestContainer::~TTestContainer() {
  for (TTestControl* child : std::vector<TTestControl*>(FControls)) child->SetParentComponent(nullptr);
}

void TTestContainer::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
  for (TTestControl* child : FControls) proc(child);
}

void TTestContainer::SetChildOrder(TComponent* child, int order) {
  auto it = std::find(FControls.begin(), FControls.end(), child);
  if (it == FControls.end()) return;
  TTestControl* control = *it;
  FControls.erase(it);
  order = std::clamp(order, 0, static_cast<int>(FControls.size()));
  FControls.insert(FControls.begin() + order, control);
}

void TTestContainer::Describe(TClassBuilder<TTestContainer>&) {}

void TTestMemo::Describe(TClassBuilder<TTestMemo>& c) {
  c.Property(u"Lines", &TTestMemo::GetLines);
  c.Property(u"Columns", &TTestMemo::GetColumns);
  c.Property(u"Picture", &TTestMemo::GetPicture);
}

void TTestPicture::Describe(TClassBuilder<TTestPicture>&) {}

void TTestPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"Data",
      [this](TStream& stream) {
        Data.resize(static_cast<size_t>(stream.Size()));
        if (!Data.empty()) stream.ReadBuffer(Data.data(), static_cast<Int64>(Data.size()));
      },
      nullptr, !Data.empty());
}

void TTestForm::Describe(TClassBuilder<TTestForm>& c) {
  c.Field(u"Panel1", &TTestForm::Panel1);
  c.Field(u"Button1", &TTestForm::Button1);
  c.Field(u"Memo1", &TTestForm::Memo1);
  c.Method(u"Button1Click", &TTestForm::Button1Click);
  c.Method(u"FormCreate", &TTestForm::FormCreate);
}

void RegisterTestComponents(TClassRegistry& registry) {
  registry.RegisterClasses({&TTestControl::StaticClass(), &TTestContainer::StaticClass(), &TTestMemo::StaticClass(),
                            &TTestForm::StaticClass()});
}
