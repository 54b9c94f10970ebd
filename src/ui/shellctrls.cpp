#include "ui/shellctrls.h"

#include "ui/publish.h"

KST_CLASS_IMPL(TShellTreeView, "ShellCtrls")
KST_CLASS_IMPL(TShellListView, "ShellCtrls")
KST_CLASS_IMPL(TShellComboBox, "ShellCtrls")

const TTypeInfo& DescribeType(TypeTag<TShellObjectType>) {
  static const TEnumTypeInfo t(u"TShellObjectType", u"ShellCtrls", {u"otFolders", u"otNonFolders", u"otHidden"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TShellObjectTypes>) {
  static const TSetTypeInfo t(u"TShellObjectTypes", u"ShellCtrls",
                              static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TShellObjectType>{})));
  return t;
}

void TShellLinks::Forget(TComponent* component) {
  for (TComponent** link : {&TreeView, &ListView, &ComboBox})
    if (*link == component) *link = nullptr;
}

String ShellRootName(const String& root) {
  if (root.size() > 2 && root.starts_with(u"rf")) return root.substr(2);
  return root;
}

namespace {

// A link to another shell control of the form, followed so that it clears.
template <class T, class C>
void PublishLink(TClassBuilder<T>& c, const String& name, TComponent* TShellLinks::*link) {
  c.Property(
      name, [link](const T& o) { return dynamic_cast<C*>(o.Shell.*link); },
      [link](T& o, C* value) {
        if (o.Shell.*link) (o.Shell.*link)->RemoveFreeNotification(&o);
        o.Shell.*link = value;
        if (value) value->FreeNotification(&o);
      });
}

template <class T>
void PublishShell(TClassBuilder<T>& c) {
  c.Property(
       u"AutoContextMenus", [](const T& o) { return o.Shell.AutoContextMenus; },
       [](T& o, bool v) { o.Shell.AutoContextMenus = v; })
      .Default(1);
  c.Property(
       u"AutoRefresh", [](const T& o) { return o.Shell.AutoRefresh; }, [](T& o, bool v) { o.Shell.AutoRefresh = v; })
      .Default(0);
  c.Property(
      u"ObjectTypes", [](const T& o) { return o.Shell.ObjectTypes; },
      [](T& o, const TShellObjectTypes& v) { o.Shell.ObjectTypes = v; });
  c.Property(
      u"Root", [](const T& o) { return o.Shell.Root; }, [](T& o, const String& v) { o.Shell.Root = v; });
  c.Property(
       u"UseShellImages", [](const T& o) { return o.Shell.UseShellImages; },
       [](T& o, bool v) { o.Shell.UseShellImages = v; })
      .Default(1);
}

// Each control drops its links before it goes, so no other keeps a stale one.
template <class T>
void DropLinks(T& self) {
  for (TComponent* link : {self.Shell.TreeView, self.Shell.ListView, self.Shell.ComboBox})
    if (link) link->RemoveFreeNotification(&self);
  self.Shell = TShellLinks{};
}

}  // namespace

void TShellTreeView::Describe(TClassBuilder<TShellTreeView>& c) {
  PublishShell(c);
  PublishLink<TShellTreeView, TShellComboBox>(c, u"ShellComboBox", &TShellLinks::ComboBox);
  PublishLink<TShellTreeView, TShellListView>(c, u"ShellListView", &TShellLinks::ListView);
}

TShellTreeView::TShellTreeView(TComponent* owner) : TTreeView(owner) {}
TShellTreeView::~TShellTreeView() {
  DropLinks(*this);
}

void TShellTreeView::Loaded() {
  TTreeView::Loaded();
  Items().Clear();
  Items().Add(nullptr, ShellRootName(Shell.Root));
}

void TShellTreeView::Notification(TComponent* component, TOperation operation) {
  TTreeView::Notification(component, operation);
  if (operation == opRemove) Shell.Forget(component);
}

void TShellListView::Describe(TClassBuilder<TShellListView>& c) {
  PublishShell(c);
  c.Property(u"AutoNavigate", &TShellListView::AutoNavigate).Default(1);
  PublishLink<TShellListView, TShellComboBox>(c, u"ShellComboBox", &TShellLinks::ComboBox);
  PublishLink<TShellListView, TShellTreeView>(c, u"ShellTreeView", &TShellLinks::TreeView);
  c.Property(u"Sorted", &TShellListView::Sorted).Default(1);
}

TShellListView::TShellListView(TComponent* owner) : TListView(owner) {
  Shell.ObjectTypes = {otFolders, otNonFolders};
}
TShellListView::~TShellListView() {
  DropLinks(*this);
}

void TShellListView::Notification(TComponent* component, TOperation operation) {
  TListView::Notification(component, operation);
  if (operation == opRemove) Shell.Forget(component);
}

void TShellComboBox::Describe(TClassBuilder<TShellComboBox>& c) {
  PublishShell(c);
  PublishLink<TShellComboBox, TShellListView>(c, u"ShellListView", &TShellLinks::ListView);
  PublishLink<TShellComboBox, TShellTreeView>(c, u"ShellTreeView", &TShellLinks::TreeView);
}

TShellComboBox::TShellComboBox(TComponent* owner) : TComboBox(owner) {}
TShellComboBox::~TShellComboBox() {
  DropLinks(*this);
}

void TShellComboBox::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == opRemove) Shell.Forget(component);
}

void RegisterShellControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TShellTreeView::StaticClass(), &TShellListView::StaticClass(), &TShellComboBox::StaticClass()}, u"ui");
  registry.RegisterType(DescribeType(TypeTag<TShellObjectType>{}));
  registry.RegisterType(DescribeType(TypeTag<TShellObjectTypes>{}));
}
