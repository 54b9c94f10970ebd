#include "app/classbrowser.h"

#include <gtest/gtest.h>

#include "classes/component.h"
#include "classes/reflection.h"

namespace {

class TBrowsedPanel : public TComponent {
  KST_CLASS(TBrowsedPanel, TComponent)
 public:
  using TComponent::TComponent;
  String Caption;
  TBrowsedPanel* Child = nullptr;
  TNotifyEvent OnClick;
  void PanelClick(TObject*) {}
};
KST_CLASS_IMPL(TBrowsedPanel, "Panels")
void TBrowsedPanel::Describe(TClassBuilder<TBrowsedPanel>& c) {
  c.Property(u"Caption", &TBrowsedPanel::Caption);
  c.Property(u"OnClick", &TBrowsedPanel::OnClick);
  c.Method(u"PanelClick", &TBrowsedPanel::PanelClick);
  c.Field(u"Child", &TBrowsedPanel::Child);
}

class TMainWindow : public TComponent {
  KST_CLASS(TMainWindow, TComponent)
 public:
  using TComponent::TComponent;
};
KST_CLASS_IMPL(TMainWindow, "Main")
void TMainWindow::Describe(TClassBuilder<TMainWindow>&) {}

// The program's own windows register under "Kestrum_" units.
class TEditorWindow : public TComponent {
  KST_CLASS(TEditorWindow, TComponent)
 public:
  using TComponent::TComponent;
};
KST_CLASS_IMPL(TEditorWindow, "Kestrum_Editor")
void TEditorWindow::Describe(TClassBuilder<TEditorWindow>&) {}

struct BrowserRegistry {
  TClassInfo StringsInfo{u"TStrings", u"Classes", &TPersistent::StaticClass(), {}};
  TClassInfo StringListInfo{u"TStringList", u"Classes", &StringsInfo, {}};
  TClassRegistry Registry;
  BrowserRegistry() {
    Registry.RegisterClasses(
        {&TBrowsedPanel::StaticClass(), &StringListInfo, &StringsInfo, &TMainWindow::StaticClass(),
         &TEditorWindow::StaticClass()});
  }
};

TEST(ClassBrowser, TypesSortedWithTheirMembers) {
  BrowserRegistry classes;
  std::vector<TBrowserType> types = BrowserTypes(classes.Registry);
  // Registering a class registers its ancestors; the program's own "Main"
  // and "Kestrum_" units are left out.
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[0].QualifiedName, u"Classes.TComponent");
  EXPECT_EQ(types[1].QualifiedName, u"Classes.TStringList");
  EXPECT_EQ(types[2].QualifiedName, u"Classes.TStrings");
  EXPECT_EQ(types[3].QualifiedName, u"Panels.TBrowsedPanel");
  EXPECT_EQ(types[1].Origin, (std::vector<String>{u"TStrings", u"TPersistent", u"TObject"}));

  const TBrowserType& panel = types[3];
  EXPECT_EQ(panel.Origin.front(), u"TComponent");
  EXPECT_EQ(panel.Methods, (std::vector<String>{u"procedure PanelClick"}));
  ASSERT_EQ(panel.Properties.size(), 2u);
  EXPECT_EQ(panel.Properties[0],
            u"property Caption: " + TBrowsedPanel::StaticClass().FindProperty(u"Caption")->PropType().Name());
  EXPECT_EQ(panel.Fields, (std::vector<String>{u"Child: TBrowsedPanel"}));
  EXPECT_TRUE(types[2].Methods.empty());
}

TEST(ClassBrowser, FindByNameAfterADot) {
  BrowserRegistry classes;
  std::vector<TBrowserType> types = BrowserTypes(classes.Registry);
  EXPECT_EQ(FindBrowserType(types, u"tstrin", true), 1);
  EXPECT_EQ(FindBrowserType(types, u"TBrow", true), 3);
  EXPECT_EQ(FindBrowserType(types, u"Classes", true), -1);
  EXPECT_EQ(FindBrowserType(types, u"classes.tstrings", false), 2);
  EXPECT_EQ(FindBrowserType(types, u"TStrings", false), -1);
  EXPECT_EQ(FindBrowserType({}, u"x", true), -1);
  EXPECT_EQ(ClassBrowserCaption(3), u"Class Browser (3)");
}

}  // namespace
