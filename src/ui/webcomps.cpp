#include "ui/webcomps.h"

#include "classes/reflection.h"

KST_CLASS_IMPL(TXMLDocument, "XMLDoc")
KST_CLASS_IMPL(TWebActionItem, "HTTPApp")
KST_CLASS_IMPL(TWebActionItems, "HTTPApp")
KST_CLASS_IMPL(TWebDispatcher, "HTTPApp")
KST_CLASS_IMPL(TPageProducer, "HTTPProd")
KST_CLASS_IMPL(TDataSetPageProducer, "DSProd")
KST_CLASS_IMPL(TDataSetTableProducer, "DBWeb")
KST_CLASS_IMPL(TQueryTableProducer, "DBBdeWeb")
KST_CLASS_IMPL(TSQLQueryTableProducer, "DBXpressWeb")

const TTypeInfo& DescribeType(TypeTag<TMethodType>) {
  static const TEnumTypeInfo t(u"TMethodType", u"HTTPApp", {u"mtAny", u"mtGet", u"mtPut", u"mtPost", u"mtHead"});
  return t;
}

void TXMLDocument::Describe(TClassBuilder<TXMLDocument>& c) {
  c.Property(u"Active", &TXMLDocument::Active).Default(0);
  c.Property(u"DOMVendor", &TXMLDocument::DOMVendor);
  c.Property(u"FileName", &TXMLDocument::FileName);
  c.Property(u"NodeIndentStr", &TXMLDocument::NodeIndentStr);
  c.Property(u"XML", &TXMLDocument::GetXML, &TXMLDocument::SetXML);
  c.Property(u"AfterClose", &TXMLDocument::AfterClose);
  c.Property(u"AfterNodeChange", &TXMLDocument::AfterNodeChange);
  c.Property(u"AfterOpen", &TXMLDocument::AfterOpen);
  c.Property(u"BeforeClose", &TXMLDocument::BeforeClose);
  c.Property(u"BeforeNodeChange", &TXMLDocument::BeforeNodeChange);
  c.Property(u"BeforeOpen", &TXMLDocument::BeforeOpen);
  c.Property(u"OnAsyncLoad", &TXMLDocument::OnAsyncLoad);
}
TXMLDocument::TXMLDocument(TComponent* owner) : TComponent(owner), FXML(std::make_unique<TStringList>()) {}
TXMLDocument::~TXMLDocument() = default;
void TXMLDocument::SetXML(const TStrings* lines) {
  if (lines) FXML->Assign(*lines);
}

void TWebActionItem::Describe(TClassBuilder<TWebActionItem>& c) {
  c.Property(u"Default", &TWebActionItem::Default).Default(0);
  c.Property(u"Enabled", &TWebActionItem::Enabled).Default(1);
  c.Property(u"MethodType", &TWebActionItem::MethodType).Default(mtAny);
  c.Property(u"Name", &TWebActionItem::Name);
  c.Property(u"PathInfo", &TWebActionItem::PathInfo);
  c.Property(u"Producer", &TWebActionItem::Producer, &TWebActionItem::SetProducer);
  c.Property(u"OnAction", &TWebActionItem::OnAction);
}
TWebActionItem::~TWebActionItem() = default;
// An item is no component: its dispatcher is told when the producer goes.
void TWebActionItem::SetProducer(TComponent* producer) {
  FProducer = producer;
  if (!producer || !Collection()) return;
  if (auto* dispatcher = dynamic_cast<TWebDispatcher*>(Collection()->GetOwner())) producer->FreeNotification(dispatcher);
}
void TWebActionItems::Describe(TClassBuilder<TWebActionItems>&) {}

void TWebDispatcher::Describe(TClassBuilder<TWebDispatcher>& c) {
  c.Property(u"Actions", &TWebDispatcher::GetActions, &TWebDispatcher::SetActions);
  c.Property(u"AfterDispatch", &TWebDispatcher::AfterDispatch);
  c.Property(u"BeforeDispatch", &TWebDispatcher::BeforeDispatch);
}
TWebDispatcher::TWebDispatcher(TComponent* owner)
    : TComponent(owner), FActions(std::make_unique<TWebActionItems>(this)) {}
TWebDispatcher::~TWebDispatcher() = default;
void TWebDispatcher::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  for (int i = 0; i < FActions->Count(); ++i) {
    auto* item = static_cast<TWebActionItem*>(FActions->Items(i));
    if (item->Producer() == component) item->SetProducer(nullptr);
  }
}
void TWebDispatcher::SetActions(const TWebActionItems* actions) {
  if (actions) FActions->Assign(actions);
}

void TPageProducer::Describe(TClassBuilder<TPageProducer>& c) {
  c.Property(u"HTMLDoc", &TPageProducer::GetHTMLDoc, &TPageProducer::SetHTMLDoc);
  c.Property(u"HTMLFile", &TPageProducer::HTMLFile);
  c.Property(u"OnHTMLTag", &TPageProducer::OnHTMLTag);
}
void TDataSetPageProducer::Describe(TClassBuilder<TDataSetPageProducer>& c) {
  c.Property(u"DataSet", &TPageProducer::DataSet, &TPageProducer::SetDataSet);
}
template <class T>
static void PublishTableProducer(TClassBuilder<T>& c, StringView dataSetName) {
  c.Property(u"Caption", &TPageProducer::Caption);
  c.Property(String(dataSetName), &TPageProducer::DataSet, &TPageProducer::SetDataSet);
  c.Property(u"Footer", &TPageProducer::GetFooter, &TPageProducer::SetFooter);
  c.Property(u"Header", &TPageProducer::GetHeader, &TPageProducer::SetHeader);
  c.Property(u"MaxRows", &TPageProducer::MaxRows).Default(20);
  c.Property(u"OnCreateContent", &TPageProducer::OnCreateContent);
  c.Property(u"OnFormatCell", &TPageProducer::OnFormatCell);
}
void TDataSetTableProducer::Describe(TClassBuilder<TDataSetTableProducer>& c) {
  PublishTableProducer(c, u"DataSet");
}
void TQueryTableProducer::Describe(TClassBuilder<TQueryTableProducer>& c) {
  PublishTableProducer(c, u"Query");
}
void TSQLQueryTableProducer::Describe(TClassBuilder<TSQLQueryTableProducer>& c) {
  PublishTableProducer(c, u"Query");
}

TPageProducer::TPageProducer(TComponent* owner)
    : TComponent(owner),
      FHTMLDoc(std::make_unique<TStringList>()),
      FHeader(std::make_unique<TStringList>()),
      FFooter(std::make_unique<TStringList>()) {}
TPageProducer::~TPageProducer() {
  SetDataSet(nullptr);
}
void TPageProducer::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FDataSet) FDataSet = nullptr;
}

void RegisterWebClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TXMLDocument::StaticClass(), &TWebActionItem::StaticClass(), &TWebActionItems::StaticClass(),
       &TWebDispatcher::StaticClass(), &TPageProducer::StaticClass(), &TDataSetPageProducer::StaticClass(),
       &TDataSetTableProducer::StaticClass(), &TQueryTableProducer::StaticClass(),
       &TSQLQueryTableProducer::StaticClass()},
      u"ui");
  registry.RegisterType(DescribeType(TypeTag<TMethodType>{}));
}
