// What the IDE writes that the library keeps without acting on it: how a
// control's or an action's help is found (keyword help of forms, pages and
// actions), a panel's bevel kind and edges, a tool bar's drag kind, a
// button's double buffering, a control bar's own background; and what newer
// IDEs write that a preview does not act on (docking, styling, owner data,
// owner drawing, handlers of custom drawing).
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classes/propaccess.h"
#include "rtl/sysstr.h"
#include "ui/actnlist.h"
#include "ui/buttons.h"
#include "ui/commdlg.h"
#include "ui/statusbar.h"
#include "ui/comctrls.h"
#include "ui/extctrls.h"
#include "ui/morectrls.h"
#include "ui/stdctrls.h"
#include "ui/toolbar.h"
#include "ui/uitest.h"

namespace {

class KeptProperties : public UiTest {};

TEST_F(KeptProperties, HelpBevelAndDragKindAreRead) {
  const std::string text =
      "object Dialog: TForm\n"
      "  HelpType = htKeyword\n"
      "  HelpKeyword = 'ui_dialog'\n"
      "  object Pages: TPageControl\n"
      "    ActivePage = Sheet\n"
      "    object Sheet: TTabSheet\n"
      "      HelpType = htKeyword\n"
      "      HelpKeyword = 'ui_sheet'\n"
      "      Caption = 'Sheet'\n"
      "    end\n"
      "  end\n"
      "  object Panel: TPanel\n"
      "    BevelEdges = [beBottom]\n"
      "    BevelKind = bkFlat\n"
      "  end\n"
      "  object Bar: TToolBar\n"
      "    DragKind = dkDock\n"
      "  end\n"
      "  object Button: TButton\n"
      "    DoubleBuffered = True\n"
      "  end\n"
      "  object Bands: TControlBar\n"
      "    ParentBackground = False\n"
      "  end\n"
      "  object Actions: TActionList\n"
      "    object Open: TAction\n"
      "      Caption = 'Open'\n"
      "      HelpKeyword = 'ui_open'\n"
      "      HelpType = htKeyword\n"
      "    end\n"
      "    object Close: TAction\n"
      "      HelpContext = 12\n"
      "    end\n"
      "  end\n"
      "end\n";
  auto* form = new TForm(FApp.get());
  EXPECT_EQ(ReadFormText(text, *form, FRegistry), std::vector<String>{});
  EXPECT_EQ(form->Kept.HelpType, htKeyword);
  EXPECT_EQ(form->Kept.HelpKeyword, u"ui_dialog");
  auto* sheet = dynamic_cast<TTabSheet*>(form->FindComponent(u"Sheet"));
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->Kept.HelpType, htKeyword);
  EXPECT_EQ(sheet->Kept.HelpKeyword, u"ui_sheet");
  auto* open = dynamic_cast<TAction*>(form->FindComponent(u"Open"));
  auto* close = dynamic_cast<TAction*>(form->FindComponent(u"Close"));
  ASSERT_NE(open, nullptr);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(open->HelpType(), htKeyword);
  EXPECT_EQ(open->HelpKeyword(), u"ui_open");
  EXPECT_EQ(close->HelpType(), htContext) << "context help unless the form says otherwise";
  EXPECT_EQ(close->HelpContext(), 12);
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent(u"Panel"));
  auto* bar = dynamic_cast<TToolBar*>(form->FindComponent(u"Bar"));
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(panel->Kept.BevelKind, bkFlat);
  EXPECT_EQ(panel->Kept.BevelEdges, TBevelEdges{beBottom});
  EXPECT_EQ(bar->Kept.DragKind, dkDock);
  auto* button = dynamic_cast<TButton*>(form->FindComponent(u"Button"));
  auto* bands = dynamic_cast<TControlBar*>(form->FindComponent(u"Bands"));
  ASSERT_NE(button, nullptr);
  ASSERT_NE(bands, nullptr);
  EXPECT_TRUE(button->DoubleBuffered());
  EXPECT_FALSE(bands->ParentBackground());
  delete form;
}

// A published value as a form states it.
String PropText(const TObject& object, const TPropInfo& prop) {
  switch (prop.Kind()) {
    case tkEnumeration:
      return GetEnumProp(object, prop);
    case tkSet:
      return GetSetProp(object, prop, true);
    default:
      return IntToStr(GetOrdProp(object, prop));
  }
}

TEST_F(KeptProperties, NewerIdePropertiesAreReadAndKept) {
  const std::string text =
      "object Dialog: TForm\n"
      "  TabOrder = 2\n"
      "  TransparentColorValue = clFuchsia\n"
      "  UseDockManager = True\n"
      "  OnAfterMonitorDpiChanged = DialogDpiChanged\n"
      "  OnConstrainedResize = DialogConstrainedResize\n"
      "  OnShortCut = DialogShortCut\n"
      "  object Ok: TBitBtn\n"
      "    Style = bsNew\n"
      "    StyleElements = [seFont]\n"
      "    WordWrap = True\n"
      "  end\n"
      "  object Push: TButton\n"
      "    AlignWithMargins = True\n"
      "    ImageAlignment = iaRight\n"
      "    ImageMargins.Left = 4\n"
      "    Margins.Top = 0\n"
      "    ParentDoubleBuffered = False\n"
      "    WordWrap = True\n"
      "  end\n"
      "  object Check: TCheckBox\n"
      "    Action = Open\n"
      "  end\n"
      "  object Combo: TComboBox\n"
      "    AutoComplete = False\n"
      "  end\n"
      "  object Edit: TEdit\n"
      "    AutoSize = False\n"
      "  end\n"
      "  object Picture: TImage\n"
      "    AlignWithMargins = True\n"
      "  end\n"
      "  object Caption: TLabel\n"
      "    AlignWithMargins = True\n"
      "    StyleElements = [seClient, seBorder]\n"
      "  end\n"
      "  object List: TListBox\n"
      "    ScrollWidth = 300\n"
      "    Style = lbOwnerDrawFixed\n"
      "    OnDrawItem = ListDrawItem\n"
      "  end\n"
      "  object Rows: TListView\n"
      "    ColumnClick = False\n"
      "    OwnerData = True\n"
      "    ParentDoubleBuffered = False\n"
      "    OnAdvancedCustomDraw = RowsAdvancedCustomDraw\n"
      "    OnAdvancedCustomDrawItem = RowsAdvancedCustomDrawItem\n"
      "    OnAdvancedCustomDrawSubItem = RowsAdvancedCustomDrawSubItem\n"
      "    OnCustomDrawItem = RowsCustomDrawItem\n"
      "    OnData = RowsData\n"
      "    OnDeletion = RowsDeletion\n"
      "  end\n"
      "  object Pages: TPageControl\n"
      "    TabIndex = 0\n"
      "    OnDrawTab = PagesDrawTab\n"
      "    object Sheet: TTabSheet\n"
      "      Highlighted = True\n"
      "      OnHide = SheetHide\n"
      "      OnShow = SheetShow\n"
      "    end\n"
      "  end\n"
      "  object Dock: TPanel\n"
      "    AutoSize = True\n"
      "    DockSite = True\n"
      "    ParentDoubleBuffered = False\n"
      "    StyleElements = []\n"
      "    UseDockManager = True\n"
      "  end\n"
      "  object Split: TSplitter\n"
      "    AutoSnap = False\n"
      "    OnCanResize = SplitCanResize\n"
      "  end\n"
      "  object Status: TStatusBar\n"
      "    AutoHint = True\n"
      "    UseSystemFont = False\n"
      "  end\n"
      "  object Tools: TToolBar\n"
      "    HotImages = Icons\n"
      "    Transparent = True\n"
      "    object Tool: TToolButton\n"
      "      AutoSize = True\n"
      "    end\n"
      "  end\n"
      "  object Tree: TTreeView\n"
      "    MultiSelect = True\n"
      "    MultiSelectStyle = [msControlSelect, msShiftSelect]\n"
      "    ParentDoubleBuffered = False\n"
      "    SortType = stText\n"
      "    OnAdvancedCustomDrawItem = TreeAdvancedCustomDrawItem\n"
      "    OnCompare = TreeCompare\n"
      "    OnCustomDrawItem = TreeCustomDrawItem\n"
      "    OnEdited = TreeEdited\n"
      "    OnEditing = TreeEditing\n"
      "  end\n"
      "  object Icons: TImageList\n"
      "  end\n"
      "  object Actions: TActionList\n"
      "    object Open: TAction\n"
      "      SecondaryShortCuts.Strings = (\n"
      "        'Shift+Ins')\n"
      "    end\n"
      "  end\n"
      "  object Fonts: TFontDialog\n"
      "    OnApply = FontsApply\n"
      "  end\n"
      "  object Files: TOpenDialog\n"
      "    OnSelectionChange = FilesSelectionChange\n"
      "  end\n"
      "end\n";
  auto* form = new TForm(FApp.get());
  ASSERT_EQ(ReadFormText(text, *form, FRegistry), std::vector<String>{});
  // Each value as read, and stored again when the form is written.
  const struct {
    const char16_t* Component;
    const char16_t* Property;
    const char16_t* Value;
  } kept[] = {
      {u"Dialog", u"TabOrder", u"2"},
      {u"Dialog", u"UseDockManager", u"True"},
      {u"Ok", u"Style", u"bsNew"},
      {u"Ok", u"StyleElements", u"[seFont]"},
      {u"Ok", u"WordWrap", u"True"},
      {u"Push", u"AlignWithMargins", u"True"},
      {u"Push", u"ImageAlignment", u"iaRight"},
      {u"Push", u"ParentDoubleBuffered", u"False"},
      {u"Push", u"WordWrap", u"True"},
      {u"Combo", u"AutoComplete", u"False"},
      {u"Edit", u"AutoSize", u"False"},
      {u"Picture", u"AlignWithMargins", u"True"},
      {u"Caption", u"StyleElements", u"[seClient,seBorder]"},
      {u"List", u"ScrollWidth", u"300"},
      {u"List", u"Style", u"lbOwnerDrawFixed"},
      {u"Rows", u"ColumnClick", u"False"},
      {u"Rows", u"OwnerData", u"True"},
      {u"Pages", u"TabIndex", u"0"},
      {u"Sheet", u"Highlighted", u"True"},
      {u"Dock", u"AutoSize", u"True"},
      {u"Dock", u"DockSite", u"True"},
      {u"Dock", u"StyleElements", u"[]"},
      {u"Split", u"AutoSnap", u"False"},
      {u"Status", u"AutoHint", u"True"},
      {u"Status", u"UseSystemFont", u"False"},
      {u"Tools", u"Transparent", u"True"},
      {u"Tool", u"AutoSize", u"True"},
      {u"Tree", u"MultiSelect", u"True"},
      {u"Tree", u"MultiSelectStyle", u"[msControlSelect,msShiftSelect]"},
      {u"Tree", u"SortType", u"stText"},
  };
  for (const auto& [component, property, value] : kept) {
    SCOPED_TRACE(StringToUTF8(String(component) + u"." + property));
    const TComponent* object = form->FindComponent(component);
    if (SameText(component, u"Dialog")) object = form;
    ASSERT_NE(object, nullptr);
    const TPropInfo* prop = GetPropInfo(*object, property);
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(PropText(*object, *prop), value);
    EXPECT_TRUE(IsStoredProp(*object, *prop));
  }
  EXPECT_EQ(form->Kept.TransparentColorValue, static_cast<Integer>(clFuchsia));
  auto* push = dynamic_cast<TButton*>(form->FindComponent(u"Push"));
  ASSERT_NE(push, nullptr);
  EXPECT_EQ(push->Kept.ImageMargins->Left, 4);
  EXPECT_EQ(push->Kept.Margins->Top, 0);
  EXPECT_EQ(push->Kept.Margins->Left, 3) << "margins the form leaves out keep the IDE's default";
  auto* check = dynamic_cast<TCheckBox*>(form->FindComponent(u"Check"));
  auto* tools = dynamic_cast<TToolBar*>(form->FindComponent(u"Tools"));
  auto* open = dynamic_cast<TAction*>(form->FindComponent(u"Open"));
  ASSERT_NE(check, nullptr);
  ASSERT_NE(tools, nullptr);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(check->Action(), open);
  EXPECT_EQ(open->SecondaryShortCuts()->Text(), u"Shift+Ins\r\n");
  EXPECT_EQ(tools->Kept.HotImages, form->FindComponent(u"Icons"));
  delete form->FindComponent(u"Icons");
  EXPECT_EQ(tools->Kept.HotImages, nullptr) << "the hot images go with their list";
  delete form;
}

}  // namespace

namespace {

class AlignedMargins : public UiTest {};

// A control aligned with margins keeps them clear inside the space its
// alignment gives it; the one beside it starts after them.
TEST_F(AlignedMargins, AlignedControlsKeepTheirMarginsClear) {
  const std::string text =
      "object Dialog: TForm\n"
      "  ClientWidth = 200\n"
      "  ClientHeight = 100\n"
      "  object Top: TPanel\n"
      "    AlignWithMargins = True\n"
      "    Height = 20\n"
      "    Margins.Left = 5\n"
      "    Margins.Top = 6\n"
      "    Margins.Right = 7\n"
      "    Margins.Bottom = 8\n"
      "    Align = alTop\n"
      "  end\n"
      "  object Rest: TPanel\n"
      "    Align = alClient\n"
      "  end\n"
      "end\n";
  auto* form = new TForm(FApp.get());
  ASSERT_EQ(ReadFormText(text, *form, FRegistry), std::vector<String>{});
  form->Realign();
  const struct {
    const char16_t* Name;
    Integer Left, Top, Width, Height;
  } cases[] = {
      {u"Top", 5, 6, form->ClientWidth() - 5 - 7, 20},
      {u"Rest", 0, 6 + 20 + 8, form->ClientWidth(), form->ClientHeight() - (6 + 20 + 8)},
  };
  for (const auto& [name, left, top, width, height] : cases) {
    SCOPED_TRACE(StringToUTF8(name));
    auto* control = dynamic_cast<TControl*>(form->FindComponent(name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Left(), left);
    EXPECT_EQ(control->Top(), top);
    EXPECT_EQ(control->Width(), width);
    EXPECT_EQ(control->Height(), height);
  }
  delete form;
}

}  // namespace
