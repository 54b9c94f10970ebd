#include "ui/ddeman.h"

KST_CLASS_IMPL(TDdeServerConv, "DdeMan")
KST_CLASS_IMPL(TDdeServerItem, "DdeMan")
KST_CLASS_IMPL(TDdeClientConv, "DdeMan")
KST_CLASS_IMPL(TDdeClientItem, "DdeMan")

const TTypeInfo& DescribeType(TypeTag<TDataMode>) {
  static const TEnumTypeInfo t(u"TDataMode", u"DdeMan", {u"ddeAutomatic", u"ddeManual"});
  return t;
}

namespace {

// A reference to another component of the form, cleared when that one goes.
template <class C>
void Follow(TComponent& self, C*& field, C* value) {
  if (field) field->RemoveFreeNotification(&self);
  field = value;
  if (field) field->FreeNotification(&self);
}

}  // namespace

void TDdeServerConv::Describe(TClassBuilder<TDdeServerConv>& c) {
  c.Property(u"OnClose", &TDdeServerConv::OnClose);
  c.Property(u"OnExecuteMacro", &TDdeServerConv::OnExecuteMacro);
  c.Property(u"OnOpen", &TDdeServerConv::OnOpen);
}

void TDdeServerItem::Describe(TClassBuilder<TDdeServerItem>& c) {
  c.Property(u"Lines", &TDdeServerItem::GetLines, &TDdeServerItem::SetLines);
  c.Property(u"ServerConv", &TDdeServerItem::ServerConv, &TDdeServerItem::SetServerConv);
  c.Property(u"Text", &TDdeServerItem::Text);
  c.Property(u"OnChange", &TDdeServerItem::OnChange);
  c.Property(u"OnPokeData", &TDdeServerItem::OnPokeData);
}

TDdeServerItem::TDdeServerItem(TComponent* owner) : TComponent(owner), FLines(std::make_unique<TStringList>()) {}
TDdeServerItem::~TDdeServerItem() {
  SetServerConv(nullptr);
}
void TDdeServerItem::SetLines(const TStrings* lines) {
  if (lines) FLines->Assign(*lines);
}
void TDdeServerItem::SetServerConv(TDdeServerConv* conv) {
  Follow(*this, FServerConv, conv);
}
void TDdeServerItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FServerConv) FServerConv = nullptr;
}

void TDdeClientConv::Describe(TClassBuilder<TDdeClientConv>& c) {
  c.Property(u"ConnectMode", &TDdeClientConv::ConnectMode).Default(ddeAutomatic);
  c.Property(u"DdeService", &TDdeClientConv::DdeService);
  c.Property(u"DdeTopic", &TDdeClientConv::DdeTopic);
  c.Property(u"FormatChars", &TDdeClientConv::FormatChars).Default(0);
  c.Property(u"ServiceApplication", &TDdeClientConv::ServiceApplication);
  c.Property(u"OnClose", &TDdeClientConv::OnClose);
  c.Property(u"OnOpen", &TDdeClientConv::OnOpen);
}

void TDdeClientItem::Describe(TClassBuilder<TDdeClientItem>& c) {
  c.Property(u"DdeConv", &TDdeClientItem::DdeConv, &TDdeClientItem::SetDdeConv);
  c.Property(u"DdeItem", &TDdeClientItem::DdeItem);
  c.Property(u"Lines", &TDdeClientItem::GetLines, &TDdeClientItem::SetLines);
  c.Property(u"OnChange", &TDdeClientItem::OnChange);
}

TDdeClientItem::TDdeClientItem(TComponent* owner) : TComponent(owner), FLines(std::make_unique<TStringList>()) {}
TDdeClientItem::~TDdeClientItem() {
  SetDdeConv(nullptr);
}
void TDdeClientItem::SetLines(const TStrings* lines) {
  if (lines) FLines->Assign(*lines);
}
void TDdeClientItem::SetDdeConv(TDdeClientConv* conv) {
  Follow(*this, FDdeConv, conv);
}
void TDdeClientItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FDdeConv) FDdeConv = nullptr;
}
