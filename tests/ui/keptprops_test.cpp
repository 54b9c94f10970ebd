// What the IDE writes that the library keeps without acting on it: how a
// control's or an action's help is found (keyword help of forms, pages and
// actions), a panel's bevel kind and edges, a tool bar's drag kind, a
// button's double buffering, a control bar's own background.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/actnlist.h"
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

}  // namespace
