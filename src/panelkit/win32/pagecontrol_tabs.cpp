// The page control: its strip of tabs, buttons, scrolling and input.
#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "classes/identmaps.h"
#include "panelkit/win32/lifeguard.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "rtl/sysstr.h"
#include "ui/dialogs.h"
#include "ui/forms.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TPxPageControl, "PxPageControl")

namespace {

// The close button's picture when the program carries none of its own: a
// small cross on white, which is drawn transparent.
void DrawDefaultCloseBitmap(TBitmap& bitmap) {
  bitmap.SetSize(8, 8);
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(clWhite);
  c.FillRect(Rect(0, 0, 8, 8));
  c.Pen().SetColor(clBlack);
  for (Integer offset : {0, 1}) {
    c.MoveTo(offset, 0);
    c.LineTo(8, 8 - offset);
    c.MoveTo(7 - offset, 0);
    c.LineTo(-1, 8 - offset);
  }
}

}  // namespace

void TPxPageControl::Describe(TClassBuilder<TPxPageControl>& c) {
  c.Property(u"AdaptiveColors", &TPxPageControl::AdaptiveColors, &TPxPageControl::SetAdaptiveColors).Default(1);
  c.Property(u"BackgroundColor", &TPxPageControl::BackgroundColor, &TPxPageControl::SetBackgroundColor, &types::Color())
      .Default(0xC0C0C0);
  c.Property(u"BackgroundKind", &TPxPageControl::BackgroundKind, &TPxPageControl::SetBackgroundKind).Default(bkSolid);
  c.Property(u"Images", &TPxPageControl::Images, &TPxPageControl::SetImages);
  c.Property(u"Indent", &TPxPageControl::Indent, &TPxPageControl::SetIndent).Default(2);
  c.Property(u"Margin", &TPxPageControl::Margin, &TPxPageControl::SetMargin);
  c.Property(u"Options", &TPxPageControl::Options, &TPxPageControl::SetOptions)
      .Default(static_cast<Integer>(kDefaultPageOptions.Bits()));
  c.Property(u"PartialTabs", &TPxPageControl::PartialTabs, &TPxPageControl::SetPartialTabs).Default(0);
  c.Property(u"ScrollMethod", &TPxPageControl::ScrollMethod, &TPxPageControl::SetScrollMethod).Default(smPixels);
  c.Property(u"ShowTabs", &TPxPageControl::ShowTabs, &TPxPageControl::SetShowTabs).Default(1);
  c.Property(u"Spacing", &TPxPageControl::Spacing, &TPxPageControl::SetSpacing);
  c.Property(u"TabAlignment", &TPxPageControl::TabAlignment, &TPxPageControl::SetTabAlignment).Default(taCenter);
  c.Property(u"TabMargin", &TPxPageControl::TabMargin, &TPxPageControl::SetTabMargin).Default(0);
  c.Property(u"TabHeight", &TPxPageControl::TabHeight, &TPxPageControl::SetTabHeight);
  c.Property(u"TabMaxWidth", &TPxPageControl::TabMaxWidth, &TPxPageControl::SetTabMaxWidth).Default(0);
  c.Property(u"TabPosition", &TPxPageControl::TabPosition, &TPxPageControl::SetTabPosition).Default(pxtabs::tpTop);
  c.Property(u"TabStyle", &TPxPageControl::TabStyle, &TPxPageControl::SetTabStyle).Default(pxtabs::tsWhidbey);
  c.Property(u"TopIndent", &TPxPageControl::TopIndent, &TPxPageControl::SetTopIndent).Default(3);
  c.Property(u"OnCustomDrawBackground", &TPxPageControl::OnCustomDrawBackground, &CustomDrawBackgroundType());
  c.Property(u"OnCustomTabsPopup", &TPxPageControl::OnCustomTabsPopup, &CustomTabsPopupEventType());
  c.Property(u"OnTabClick", &TPxPageControl::OnTabClick, &TabClickEventType());
}

TPxPageControl::TPxPageControl(TComponent* owner)
    : TPxCustomNotebook(owner), FCloseBtnBitmap(std::make_unique<TBitmap>()), FMeasure(std::make_unique<TBitmap>()) {
  try {
    FCloseBtnBitmap->LoadFromResourceName(GetModuleHandleW(nullptr), u"CLOSEBTN");
  } catch (const Exception&) {
    DrawDefaultCloseBitmap(*FCloseBtnBitmap);
  }
  FCloseBtnBitmap->SetTransparentColor(clWhite);
  FCloseBtnBitmap->SetTransparent(true);
  FMeasure->SetSize(1, 1);
  FScrollTimer = new TTimer(this);
  FScrollTimer->SetEnabled(false);
  FScrollTimer->SetInterval(100);
  FScrollTimer->SetOnTimer(TNotifyEvent(this, &TPxPageControl::ScrollTimerTick));
  FTabsPopup = new TPopupMenu(this);
}

TPxPageControl::~TPxPageControl() {
  Destroying();
  if (FImages) FImages->RemoveFreeNotification(this);
}

void TPxPageControl::SetImages(TCustomImageList* value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TPxPageControl::SetOptions(TPageOptions value) {
  FOptions = value;
  Invalidate();
}

void TPxPageControl::Notification(TComponent* component, TOperation operation) {
  TPxCustomNotebook::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) FImages = nullptr;
  if (component == FDownTab) FDownTab = nullptr;
}

Integer TPxPageControl::GetTabWidth(const TPxTabSheet* page) const {
  if (!page) return 0;
  Integer picture = 0;
  if (page->DisplayMode() == tdGlyph && !page->GetGlyph()->Empty()) picture = page->GetGlyph()->Width();
  if (page->DisplayMode() == tdImageIndex && FImages && page->ImageIndex() >= 0 &&
      page->ImageIndex() < FImages->Count())
    picture = FImages->Width();
  Integer captionWidth = 0;
  if (!page->Caption().empty() && page->TabWidth() == 0) {
    // Measured bold, so that a tab keeps its width when it becomes the bold active one.
    TCanvas& canvas = FMeasure->Canvas();
    canvas.Font().Assign(page->GetTabFont());
    canvas.Font().SetStyle(TFontStyles{fsBold});
    captionWidth = canvas.TextWidth(page->Caption());
  }
  return TabWidthFor(page->TabWidth(), captionWidth, page->Caption().empty(), FTabStyle, FTabHeight, FTabMargin,
                     picture, FTabMaxWidth);
}

TTabStripLayout TPxPageControl::Layout() const {
  TTabStripSettings s;
  TRect client = ClientRect();
  s.ClientWidth = client.Width();
  s.ClientHeight = client.Height();
  s.TabHeight = FTabHeight;
  s.Indent = FIndent;
  s.TopIndent = FTopIndent;
  s.Style = FTabStyle;
  s.Position = FTabPosition;
  s.Options = FOptions;
  s.PartialTabs = FPartialTabs;
  s.ScrollMethod = FScrollMethod;
  std::vector<TStripTab> tabs;
  tabs.reserve(FPageList.size());
  for (TPxTabSheet* page : FPageList) tabs.push_back({GetTabWidth(page), IsTabVisible(page)});
  return TTabStripLayout(s, std::move(tabs), ActivePageIndex(), FScrollPos);
}

TPxTabSheet* TPxPageControl::GetTabAtPos(Integer x, Integer y) const {
  return Pages(Layout().TabAtPos(x, y));
}

TPxTabSheet* TPxPageControl::GetTabByCaption(const String& s, bool ignoreCase) const {
  for (TPxTabSheet* page : FPageList)
    if (ignoreCase ? SameText(page->Caption(), s) : page->Caption() == s) return page;
  return nullptr;
}

void TPxPageControl::ScrollTabs(Integer delta) {
  const TTabStripLayout layout = Layout();
  const Integer old = FScrollPos, max = layout.MaxScrollPos();
  FScrollPos = layout.ClampedScroll(delta);
  if ((old == 0) != (FScrollPos == 0) || FScrollPos == 0) RefreshButton(TPageButton::pbScrollLeft);
  if ((old >= max) != (FScrollPos >= max) || FScrollPos >= max) RefreshButton(TPageButton::pbScrollRight);
  RefreshTabs();
}

void TPxPageControl::ScrollToTab(Integer index) {
  const Integer target = Layout().ScrollToShow(index);
  if (target == FScrollPos) return;
  FScrollPos = target;
  RefreshTabs();
  RefreshButton(TPageButton::pbScrollLeft);
  RefreshButton(TPageButton::pbScrollRight);
}

void TPxPageControl::MakeVisible(Integer index) {
  ScrollToTab(index);
}

void TPxPageControl::RefreshButton(TPageButton button) {
  InvalidateWithoutErase(*this, Layout().ButtonRect(button));
}

void TPxPageControl::InvalidateTowardsPage(TRect r) {
  if (FTabPosition == pxtabs::tpTop)
    r.Bottom += 1;
  else
    r.Top -= 1;
  InvalidateWithoutErase(*this, r);
}

void TPxPageControl::RefreshPage(Integer index) {
  if (index < 0 || index >= PageCount()) return;
  InvalidateTowardsPage(GetTabRect(index));
}

void TPxPageControl::RefreshTabs() {
  InvalidateTowardsPage(Layout().StripArea());
}

void TPxPageControl::ActivePageChanged() {
  const Integer active = ActivePageIndex();
  if (active >= 0 && IsTabVisible(FActivePage)) ScrollToTab(active);
}

Integer TPxPageControl::GetPageHeight() const {
  return ClientHeight() - (FOptions.Contains(pgTopBorder) ? 1 : 0) - FTabHeight - FTopIndent;
}

void TPxPageControl::AdjustClientRect(TRect& rect) const {
  TPxCustomNotebook::AdjustClientRect(rect);
  if (FShowTabs) {
    const Integer strip = FTabHeight + FTopIndent + 1;
    if (FTabPosition == pxtabs::tpTop)
      rect.Top += strip;
    else
      rect.Bottom -= strip;
  }
  rect.Inflate(-FMargin, -FMargin);
  if (FOptions.Contains(pgPageBorder)) {
    rect.Left += 1;
    rect.Right -= 1;
    rect.Bottom -= 1;
    if (!FShowTabs) rect.Top += 1;
  }
}

// ---- Scrolling and input -------------------------------------------------

bool TPxPageControl::AtScrollEnd(int direction) const {
  const TTabStripLayout layout = Layout();
  return direction < 0 ? layout.AtLeftEnd() : layout.AtRightEnd();
}

void TPxPageControl::ScrollStep(int direction) {
  const Integer old = FScrollPos;
  switch (FScrollMethod) {
    case smPixels: ScrollTabs(direction * 10); break;
    case smSelect:
      if (direction < 0)
        SelectPrevPage();
      else
        SelectNextPage();
      break;
    case smTab: {
      const Integer target = Layout().TabStepTarget(direction);
      if (target != FScrollPos) ScrollTabs(target - FScrollPos);
      break;
    }
  }
  if (FScrollPos != old) {
    RefreshButton(TPageButton::pbScrollLeft);
    RefreshButton(TPageButton::pbScrollRight);
  }
}

void TPxPageControl::ScrollTimerTick(TObject*) {
  int direction = FDownButton == TPageButton::pbScrollLeft ? -1 : FDownButton == TPageButton::pbScrollRight ? 1 : 0;
  if (direction != 0 && !AtScrollEnd(direction)) ScrollStep(direction);
}

void TPxPageControl::KeyDown(Word& key, TShiftState shift) {
  TPxCustomNotebook::KeyDown(key, shift);
  if (key == VK_LEFT) SelectPrevPage();
  if (key == VK_RIGHT) SelectNextPage();
}

void TPxPageControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TPxCustomNotebook::MouseDown(button, shift, x, y);
  if (guard.Gone()) return;
  if (!Designing() && CanFocus()) SetFocus();
  if (guard.Gone()) return;
  if (TPxTabSheet* tab = GetTabAtPos(x, y)) {
    if (!shift.Contains(ssDouble) && tab != FActivePage) SetActivePage(tab);
    if (guard.Gone()) return;
    FDownTab = tab;
  }
  FDownButton = GetButtonAtPos(Point(x, y));
  int direction = FDownButton == TPageButton::pbScrollLeft ? -1 : FDownButton == TPageButton::pbScrollRight ? 1 : 0;
  if (direction != 0) {
    if (!AtScrollEnd(direction)) ScrollStep(direction);
    if (FOptions.Contains(pgConstantScroll)) FScrollTimer->SetEnabled(true);
  }
}

void TPxPageControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCustomNotebook::MouseMove(shift, x, y);
  if (Designing()) return;
  TPageButton hover = GetButtonAtPos(Point(x, y));
  if (hover == FHoverButton) return;
  TPageButton old = FHoverButton;
  FHoverButton = hover;
  RefreshButton(hover);
  RefreshButton(old);
}

void TPxPageControl::CMMouseLeave(TMessage& m) {
  TPxCustomNotebook::CMMouseLeave(m);
  TPageButton old = FHoverButton;
  FHoverButton = TPageButton::pbNone;
  RefreshButton(old);
}

void TPxPageControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  // The release may close a page, show a dialog or the tabs menu and fire
  // events: any of them may free this control (or its form).
  TPxLifeGuard guard(this);
  TPxCustomNotebook::MouseUp(button, shift, x, y);
  if (guard.Gone()) return;
  FScrollTimer->SetEnabled(false);
  const TPageButton released = GetButtonAtPos(Point(x, y));
  // A button acts only when the press and the release were on it.
  if (FDownButton != TPageButton::pbNone && released == FDownButton) {
    if (released == TPageButton::pbClose && FActivePage) {
      bool confirmed = true;
      if (Designing()) confirmed = MessageDlg(u"Close Page?", mtConfirmation, {mbYes, mbNo}, 0) == mrYes;
      if (guard.Gone()) return;
      if (!confirmed) {
        FDownButton = TPageButton::pbNone;
        FDownTab = nullptr;
        return;
      }
      const Integer index = ActivePageIndex();
      const Integer width = GetTabClientWidth(FActivePage);
      bool accept = true;
      DoPageClose(index, accept);
      if (guard.Gone()) return;
      if (accept && FActivePage) {
        delete FActivePage;
        if (guard.Gone()) return;
        if (FScrollPos > 0) FScrollPos = std::max(0, FScrollPos - width);
        Invalidate();
      }
    } else if (released == TPageButton::pbPopup) {
      ShowTabsMenu();
      if (guard.Gone()) return;
      POINT cursor{};
      GetCursorPos(&cursor);
      if (HandleAllocated() &&
          Layout().ButtonAtPos(ScreenToClient(Point(cursor.x, cursor.y))) != TPageButton::pbPopup) {
        FHoverButton = TPageButton::pbNone;
        RefreshButton(TPageButton::pbPopup);
      }
    }
  }
  if (FDownTab && GetTabAtPos(x, y) == FDownTab) {
    DoTabClick(GetPageIndex(FDownTab));
    if (guard.Gone()) return;
  }
  FDownButton = TPageButton::pbNone;
  FDownTab = nullptr;
}

void TPxPageControl::FillTabsPopup() {
  FTabsPopup->Items()->Clear();
  FTabsPopup->SetImages(FImages);
  for (Integer i = 0; i < PageCount(); ++i) {
    TPxTabSheet* page = Pages(i);
    if (!IsTabVisible(page)) continue;
    auto* item = new TMenuItem(FTabsPopup);
    item->SetCaption(page->Caption());
    item->SetTag(i);
    item->SetImageIndex(page->DisplayMode() == tdImageIndex ? page->ImageIndex() : -1);
    item->OnClick = TNotifyEvent(this, &TPxPageControl::TabsMenuClick);
    FTabsPopup->Items()->Add(item);
  }
}

void TPxPageControl::ShowTabsMenu() {
  TRect button = Layout().ButtonRect(TPageButton::pbPopup);
  TPoint anchor =
      HandleAllocated() ? ClientToScreen(Point(button.Left, button.Bottom)) : Point(button.Left, button.Bottom);
  if (FOptions.Contains(pgCustomTabsPopup)) {
    DoCustomTabsPopup(anchor.X, anchor.Y);
    return;
  }
  FillTabsPopup();
  FTabsPopup->Popup(anchor.X, anchor.Y);
}

void TPxPageControl::TabsMenuClick(TObject* sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(sender)) SetActivePageIndex(item->Tag());
}

void TPxPageControl::DoCustomDrawBackground(TRect rect) {
  if (OnCustomDrawBackground) OnCustomDrawBackground(this, rect);
}

void TPxPageControl::DoCustomTabsPopup(Integer x, Integer y) {
  if (OnCustomTabsPopup) OnCustomTabsPopup(this, x, y);
}

void TPxPageControl::DoTabClick(Integer pageIndex) {
  if (OnTabClick) OnTabClick(this, pageIndex);
}

void TPxPageControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  TPxCustomNotebook::Dispatch(m);
}

void TPxPageControl::WMSize(TMessage& m) {
  TPxCustomNotebook::WMSize(m);
  const TRect client = ClientRect();
  if (FTabPosition == pxtabs::tpBottom && client.Height() != FOldHeight) {
    RefreshTabs();
    if (HandleAllocated()) {
      RECT r{0, std::min(FOldHeight, client.Height()), client.Width(), client.Height()};
      InvalidateRect(FHandle, &r, FALSE);
    }
    FOldHeight = client.Height();
  }
  if (client.Width() != FOldWidth) {
    if (FScrollPos > 0) ScrollTabs(FOldWidth - client.Width());
    FOldWidth = client.Width();
  }
}

void TPxPageControl::CMFontChanged(TMessage& m) {
  TPxCustomNotebook::CMFontChanged(m);
  for (TPxTabSheet* page : FPageList)
    if (page->ParentTabFont()) page->TakeTabFont(Font());
  Invalidate();
}
