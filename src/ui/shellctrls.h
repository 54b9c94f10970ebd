// The shell controls, kept inert: a previewed form names a folder of the
// machine as its root, and the preview lists nothing of the file system
// for it; the tree shows the root's name alone, the list and combo stay empty.
#pragma once

#include "ui/comctrls.h"
#include "ui/stdctrls.h"

class TShellListView;
class TShellComboBox;

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;
const TTypeInfo& DescribeType(TypeTag<TShellObjectType>);
const TTypeInfo& DescribeType(TypeTag<TShellObjectTypes>);

// What the shell controls share: the root and the controls they follow.
struct TShellLinks {
  String Root = u"rfDesktop";
  TShellObjectTypes ObjectTypes{otFolders};
  bool AutoContextMenus = true, AutoRefresh = false, UseShellImages = true;
  TComponent* TreeView = nullptr;
  TComponent* ListView = nullptr;
  TComponent* ComboBox = nullptr;
  // Forgets a control that goes.
  void Forget(TComponent* component);
};

// The name the root shows: a special folder without its prefix, or the path.
String ShellRootName(const String& root);

class TShellTreeView : public TTreeView {
  KST_CLASS(TShellTreeView, TTreeView)
 public:
  explicit TShellTreeView(TComponent* owner);
  ~TShellTreeView() override;
  TShellLinks Shell;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
};

class TShellListView : public TListView {
  KST_CLASS(TShellListView, TListView)
 public:
  explicit TShellListView(TComponent* owner);
  ~TShellListView() override;
  TShellLinks Shell;
  bool AutoNavigate = true, Sorted = true;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
};

class TShellComboBox : public TComboBox {
  KST_CLASS(TShellComboBox, TComboBox)
 public:
  explicit TShellComboBox(TComponent* owner);
  ~TShellComboBox() override;
  TShellLinks Shell;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
};

void RegisterShellControlClasses(TClassRegistry& registry);
