#include "app/win32/classbrowserform.h"

#include "classes/reflection.h"
#include "rtl/format.h"

KST_CLASS_IMPL(TdlgClassBrowser, "Kestrum_ClassBrowser")

void TdlgClassBrowser::Describe(TClassBuilder<TdlgClassBrowser>& c) {
  c.Field(u"eSearch", &TdlgClassBrowser::eSearch);
  c.Field(u"CBTree", &TdlgClassBrowser::CBTree);
  c.Method(u"FormCreate", &TdlgClassBrowser::FormCreate);
  c.Method(u"eSearchChange", &TdlgClassBrowser::eSearchChange);
}

void TdlgClassBrowser::FormCreate(TObject*) {
  CreateCBTree(Application->ClassRegistry());
}

namespace {

// A group node with one child per member; none when there are no members.
void AddMembers(TTreeNodes& nodes, TTreeNode* parent, const char16_t* title, const std::vector<String>& members) {
  if (members.empty()) return;
  TTreeNode* group = nodes.AddChild(parent, Format(title, {static_cast<Integer>(members.size())}));
  for (const String& member : members) nodes.AddChild(group, member);
}

}  // namespace

void TdlgClassBrowser::CreateCBTree(const TClassRegistry& registry) {
  TTreeNodes& nodes = CBTree->Items();
  nodes.BeginUpdate();
  struct TEndUpdate {
    TTreeNodes& Nodes;
    ~TEndUpdate() { Nodes.EndUpdate(); }
  } endUpdate{nodes};
  nodes.Clear();
  FTypeNodes.clear();
  FTypes = BrowserTypes(registry);
  for (const TBrowserType& type : FTypes) {
    TTreeNode* node = nodes.Add(nullptr, type.QualifiedName);
    FTypeNodes.push_back(node);
    if (!type.Origin.empty()) {
      TTreeNode* link = nodes.AddChild(node, u"Origin");
      for (const String& ancestor : type.Origin) link = nodes.AddChild(link, ancestor);
    }
    AddMembers(nodes, node, u"Methods (%d)", type.Methods);
    AddMembers(nodes, node, u"Properties (%d)", type.Properties);
    AddMembers(nodes, node, u"Fields (%d)", type.Fields);
  }
  SetCaption(ClassBrowserCaption(TypeCount()));
}

TTreeNode* TdlgClassBrowser::FindNode(StringView text, bool partial) const {
  const Integer index = FindBrowserType(FTypes, text, partial);
  return index >= 0 && index < static_cast<Integer>(FTypeNodes.size()) ? FTypeNodes[index] : nullptr;
}

void TdlgClassBrowser::Reveal(TTreeNode* node) {
  CBTree->SetSelected(node);
  node->MakeVisible();
}

bool TdlgClassBrowser::Locate(StringView qualifiedName) {
  TTreeNode* node = FindNode(qualifiedName, false);
  if (node) Reveal(node);
  return node != nullptr;
}

void TdlgClassBrowser::eSearchChange(TObject*) {
  const String text = eSearch->Text();
  if (text.empty()) return;
  if (TTreeNode* node = FindNode(text, true)) Reveal(node);
}

TdlgClassBrowser* ShowClassBrowser(TComponent* owner) {
  TdlgClassBrowser* browser = nullptr;
  for (int i = 0; i < owner->ComponentCount() && !browser; ++i)
    browser = dynamic_cast<TdlgClassBrowser*>(owner->Components(i));
  if (!browser) browser = CreateForm<TdlgClassBrowser>(owner);
  browser->Show();
  browser->BringToFront();
  return browser;
}

bool LocateInClassBrowser(TComponent* owner, const String& unitName, const String& className) {
  return ShowClassBrowser(owner)->Locate(unitName + u"." + className);
}
