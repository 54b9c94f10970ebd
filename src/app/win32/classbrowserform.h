// The class browser window: every type the reflection registry describes,
// with its ancestry and members, searched by type name as the user types.
// Editor windows locate the class of an object in it.
#pragma once

#include "ui/winapi.h"

#include <vector>

#include "app/classbrowser.h"
#include "ui/comctrls.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"

class TdlgClassBrowser : public TForm {
  KST_CLASS(TdlgClassBrowser, TForm)
 public:
  using TForm::TForm;

  TEdit* eSearch = nullptr;
  TTreeView* CBTree = nullptr;

  // Fills the tree from the registry: one top-level node per type, with
  // "Origin", "Methods (%d)", "Properties (%d)" and "Fields (%d)" below it
  // where they have children; the caption counts the types.
  void CreateCBTree(const TClassRegistry& registry);
  // The top-level node of the first matching type (see FindBrowserType); none when no type matches.
  TTreeNode* FindNode(StringView text, bool partial) const;
  // Selects the type of that exact qualified name and scrolls it into view; false when it is not listed.
  bool Locate(StringView qualifiedName);
  Integer TypeCount() const { return static_cast<Integer>(FTypes.size()); }

  void FormCreate(TObject* sender);
  void eSearchChange(TObject* sender);

 private:
  void Reveal(TTreeNode* node);
  std::vector<TBrowserType> FTypes;
  std::vector<TTreeNode*> FTypeNodes;
};

// The owner's class browser, made and filled from the application's
// registry on first use and brought to the front.
TdlgClassBrowser* ShowClassBrowser(TComponent* owner);
// Shows the owner's class browser at the class of that unit, when it lists it.
bool LocateInClassBrowser(TComponent* owner, const String& unitName, const String& className);
