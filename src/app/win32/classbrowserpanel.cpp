// The main window's class browser panel: the tree of every registered type,
// the incremental search above it and the locating of a type from the
// editor windows.
#include "app/win32/mainform.h"

#include "classes/reflection.h"
#include "panelkit/win32/headerpanel.h"
#include "rtl/format.h"

namespace {

// A group node with one child per member; none when there are no members.
void AddCBMembers(TTreeNodes& nodes, TTreeNode* parent, const char16_t* title, const std::vector<String>& members) {
  if (members.empty()) return;
  TTreeNode* group = nodes.AddChild(parent, Format(title, {static_cast<Integer>(members.size())}));
  for (const String& member : members) nodes.AddChild(group, member);
}

}  // namespace

void Twnd_kst_Main::CreateCBTree() {
  TTreeNodes& nodes = CBTree->Items();
  nodes.BeginUpdate();
  // Whatever happens, the tree draws again and the caption tells what it lists.
  struct TFinish {
    Twnd_kst_Main& Self;
    ~TFinish() {
      Self.CBTree->Items().EndUpdate();
      Self.CBPanel->SetCaption(ClassBrowserCaption(static_cast<Integer>(Self.FCBTypeNodes.size())));
    }
  } finish{*this};
  nodes.Clear();
  FCBTypeNodes.clear();
  FCBTypes = BrowserTypes(Packages ? Packages->Registry() : Application->ClassRegistry());
  FCBTypeNodes.reserve(FCBTypes.size());
  for (const TBrowserType& type : FCBTypes) {
    TTreeNode* node = nodes.Add(nullptr, type.QualifiedName);
    FCBTypeNodes.push_back(node);
    if (!type.Origin.empty()) {
      TTreeNode* link = nodes.AddChild(node, u"Origin");
      for (const String& ancestor : type.Origin) link = nodes.AddChild(link, ancestor);
    }
    AddCBMembers(nodes, node, u"Methods (%d)", type.Methods);
    AddCBMembers(nodes, node, u"Properties (%d)", type.Properties);
    AddCBMembers(nodes, node, u"Fields (%d)", type.Fields);
  }
}

TTreeNode* Twnd_kst_Main::FindNode(StringView text, bool partial) const {
  // The nodes follow the types one to one, so the search runs on the types.
  const Integer index = FindBrowserType(FCBTypes, text, partial);
  return index >= 0 && index < static_cast<Integer>(FCBTypeNodes.size()) ? FCBTypeNodes[index] : nullptr;
}

void Twnd_kst_Main::RevealCBNode(TTreeNode* node) {
  CBTree->SetSelected(node);
  node->MakeVisible();
}

void Twnd_kst_Main::eSearchChange(TObject*) {
  const String text = eSearch->Text();
  if (text.empty()) return;
  if (TTreeNode* node = FindNode(text, true)) RevealCBNode(node);
}

void Twnd_kst_Main::CBPanelChange(TObject*) {
  const bool expanded = CBPanel->Expanded();
  CBTree->SetVisible(expanded);
  eSearch->SetVisible(expanded);
  CBSplitter->SetVisible(expanded);
}

bool Twnd_kst_Main::LocateType(const String& unitName, const String& className) {
  TTreeNode* node = FindNode(unitName + u"." + className, false);
  if (!node) return false;
  // A type selected in a collapsed panel would not be seen.
  CBPanel->SetExpanded(true);
  RevealCBNode(node);
  return true;
}

bool LocateInClassBrowser(const String& unitName, const String& className) {
  return wnd_kst_Main && wnd_kst_Main->LocateType(unitName, className);
}
