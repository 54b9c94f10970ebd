// Controls that call out (a menu, an event, a dialog) and may be freed by
// what they call touch nothing of their own afterwards.
#include "panelkit/win32/panelkittest.h"

#include <cstring>

#include "panelkit/win32/pxbutton.h"
#include "rtl/numbers.h"
#include "ui/menus.h"

namespace {

constexpr unsigned char kFreed = 0xA5;

// Where the last freed probe lay: kept, filled with a mark, so that a write
// after the free shows (and a virtual call through it fails at once).
struct TGrave {
  unsigned char* Memory = nullptr;
  size_t Size = 0;
  bool Intact() const {
    for (size_t i = 0; i < Size; ++i)
      if (Memory[i] != kFreed) return false;
    return true;
  }
  void Release() {
    ::operator delete(Memory);
    Memory = nullptr;
    Size = 0;
  }
};
TGrave& Grave() {
  static TGrave grave;
  return grave;
}

template <class Base>
class TProbe final : public Base {
 public:
  using Base::Base;
  static void operator delete(void* memory, size_t size) {
    std::memset(memory, kFreed, size);
    Grave() = {static_cast<unsigned char*>(memory), size};
  }
};

TEST_F(PanelKitTest, AButtonFreedByItsArrowMenuTouchesNothingAfterwards) {
  TPageKitForm& f = Form();
  auto* button = new TProbe<TPxButton>(&f);
  button->SetParent(&f);
  button->SetBounds(300, 10, 80, 24);
  button->SetShowArrow(true);
  auto* menu = new TPopupMenu(&f);
  auto* item = new TMenuItem(menu);
  item->SetCaption(u"Free the button");
  item->OnClick = TNotifyEvent([&](TObject*) { delete button; });
  menu->Items()->Add(item);
  button->SetPopupMenu(menu);
  menu->TrackHook = [item](TPopupMenu&) { return static_cast<UINT>(item->Command()); };
  Pump();
  harness::SendMouseDown(button->Handle(), 10, 10);
  Pump();
  ASSERT_NE(Grave().Memory, nullptr) << "the menu item freed the button";
  EXPECT_TRUE(Grave().Intact()) << "the button wrote to itself after it was freed";
  Grave().Release();
}

TEST_F(PanelKitTest, APageControlFreedFromItsTabsMenuTouchesNothingAfterwards) {
  TPageKitForm& f = Form();
  auto* pc = new TProbe<TPxPageControl>(&f);
  pc->SetParent(&f);
  pc->SetBounds(10, 200, 300, 80);
  for (int i = 0; i < 3; ++i) {
    auto* sheet = new TPxTabSheet(&f);
    sheet->SetCaption(u"Page " + IntToStr(i));
    sheet->SetPageControl(pc);
  }
  pc->SetOptions({pgTabsPopup});
  pc->SetActivePageIndex(0);
  pc->OnChange = TNotifyEvent([&](TObject*) { delete pc; });
  pc->TabsPopup().TrackHook = [](TPopupMenu& menu) { return static_cast<UINT>(menu.Items()->Items(2)->Command()); };
  Pump();
  TRect popup;
  pc->GetPageButtonRect(TPageButton::pbPopup, popup);
  harness::SendClick(pc->Handle(), popup.Left + 4, popup.Top + 4);
  Pump();
  ASSERT_NE(Grave().Memory, nullptr) << "the change event freed the page control";
  EXPECT_TRUE(Grave().Intact()) << "the page control wrote to itself after it was freed";
  Grave().Release();
}

}  // namespace
