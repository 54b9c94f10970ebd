// The tabbed page containers of the panel kit: the page list they share
// (TPxCustomNotebook) with its pages (TPxTabSheet), the page control with
// its strip of styled tabs, scroll buttons and tabs menu, the plain notebook
// with its design bar, and the glyph page control whose tabs are bitmaps.
#pragma once

#include "ui/winapi.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "panelkit/tabstrip.h"
#include "ui/controls.h"
#include "ui/extctrls.h"
#include "ui/imglist.h"
#include "ui/menus.h"
#include "ui/tabs.h"

enum TTabDisplayMode { tdTextOnly, tdGlyph, tdImageIndex };
enum TPxPanelStyle { ptDefault, ptGradient, ptInverseGradient };

using TPageChangingEvent = TDelegate<void(TObject* Sender, Integer PageIndex, bool& AllowChange)>;
using TPageCloseEvent = TDelegate<void(TObject* Sender, Integer PageIndex, bool& Accept)>;
using TPxCustomTabsPopupEvent = TDelegate<void(TObject* Sender, Integer X, Integer Y)>;
using TCustomDrawBackground = TDelegate<void(TObject* Sender, TRect& BackgroundRect)>;
using TTabClickEvent = TDelegate<void(TObject* Sender, Integer PageIndex)>;

const TTypeInfo& DescribeType(TypeTag<TTabDisplayMode>);
const TTypeInfo& DescribeType(TypeTag<TPxPanelStyle>);
const TTypeInfo& DescribeType(TypeTag<pxtabs::TTabStyle>);
const TTypeInfo& DescribeType(TypeTag<pxtabs::TTabPosition>);
const TTypeInfo& DescribeType(TypeTag<TBackgroundKind>);
const TTypeInfo& DescribeType(TypeTag<TScrollMethod>);
const TTypeInfo& DescribeType(TypeTag<TPageOption>);
const TTypeInfo& DescribeType(TypeTag<TPageOptions>);
// The event types by name: delegates of the same signature are one C++ type
// (the tab set's change event is this page-changing one), so each property
// names its type.
const TMethodTypeInfo& PageChangingEventType();
const TMethodTypeInfo& PageCloseEventType();
const TMethodTypeInfo& CustomTabsPopupEventType();
const TMethodTypeInfo& CustomDrawBackgroundType();
const TMethodTypeInfo& TabClickEventType();
const TTypeInfo& DescribeType(TypeTag<TCustomDrawBackground>);

class TPxCustomNotebook;

// Fills a tab band by its background kind: gradients run from the first
// colour to the second; bkTransparent shows the parent; bkCustom calls the
// given drawing, when there is one.
void DrawBandBackground(TCustomControl& control, TCanvas& canvas, const TRect& band, TBackgroundKind kind, TColor first,
                        TColor second, const std::function<void()>& custom = {});

// One page: a container whose tab (caption, colours, font, glyph) the
// owning notebook draws.
class TPxTabSheet : public TCustomControl {
  KST_CLASS(TPxTabSheet, TCustomControl)
 public:
  explicit TPxTabSheet(TComponent* owner);
  ~TPxTabSheet() override;

  TPxCustomNotebook* PageControl() const { return FPageControl; }
  void SetPageControl(TPxCustomNotebook* value);
  void SetParent(TWinControl* parent) override;
  // The tab's text (apart from the window text).
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  TColor ActiveTabColor() const { return FActiveTabColor; }
  void SetActiveTabColor(TColor value);
  TColor TabColor() const { return FTabColor; }
  void SetTabColor(TColor value);
  TTabDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TTabDisplayMode value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  TImageIndex ImageIndex() const { return FImageIndex; }
  void SetImageIndex(TImageIndex value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  Integer PageIndex() const;
  void SetPageIndex(Integer value);
  Integer Index() const { return PageIndex(); }
  TPxPanelStyle PageStyle() const { return FPageStyle; }
  void SetPageStyle(TPxPanelStyle value);
  bool PageVisible() const { return FPageVisible; }
  void SetPageVisible(bool value);
  bool ParentTabFont() const { return FParentTabFont; }
  void SetParentTabFont(bool value);
  TFont* GetTabFont() const { return FTabFont.get(); }
  TFont& TabFont() const { return *FTabFont; }
  void SetTabFont(const TFont* value);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);
  Integer TabWidth() const { return FTabWidth; }
  void SetTabWidth(Integer value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  TObject* Data() const { return FData; }
  void SetData(TObject* value) { FData = value; }
  void AdjustClientRect(TRect& rect) const override;
  // The container's font as the tab font, without taking it as the user's choice.
  void TakeTabFont(const TFont& font);

  TNotifyEvent OnHide;
  TNotifyEvent OnShow;
  TNotifyEvent OnPaint;

 protected:
  friend class TPxCustomNotebook;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  // Brought to the front the sheet becomes the active page; the active
  // sheet sent to the back gives way to the sheet then on top.
  void SetZOrder(bool topMost) override;
  virtual void TabChanged();
  virtual void DoHide();
  virtual void DoShow();
  virtual void DoPaint();

 private:
  void TabFontChanged(TObject*);
  void GlyphChanged(TObject*);
  void ApplyTransparentColor();

  TColor FActiveTabColor = clWindow;
  String FCaption;
  TObject* FData = nullptr;
  TTabDisplayMode FDisplayMode = tdGlyph;
  std::unique_ptr<TBitmap> FGlyph;
  TImageIndex FImageIndex = -1;
  Integer FMargin = 0;
  TPxCustomNotebook* FPageControl = nullptr;
  TPxPanelStyle FPageStyle = ptDefault;
  bool FPageVisible = true;
  bool FParentTabFont = true;
  TColor FTabColor = clWindow;
  std::unique_ptr<TFont> FTabFont;
  bool FTabFontUpdating = false;
  bool FTabVisible = true;
  Integer FTabWidth = 0;
  TColor FTransparentColor = clNone;
  // Set while the notebook itself brings the sheet to the front, so that
  // the z-order change is not taken as a request.
  bool FUpdating = false;
};

// The page list: exactly one page shown, a question before a switch and a
// report after it.
class TPxCustomNotebook : public TCustomControl {
  KST_CLASS(TPxCustomNotebook, TCustomControl)
 public:
  explicit TPxCustomNotebook(TComponent* owner);
  ~TPxCustomNotebook() override;

  TPxTabSheet* ActivePage() const { return FActivePage; }
  // Every switch passes here: OnChanging may refuse, then the old page
  // hides, the new one shows and OnChange reports (no events while loading).
  void SetActivePage(TPxTabSheet* page);
  // The active page's position in the list, -1 without one.
  Integer ActivePageIndex() const;
  // Out of range: nothing happens.
  void SetActivePageIndex(Integer value);
  int PageCount() const { return static_cast<int>(FPageList.size()); }
  TPxTabSheet* Pages(int index) const;

  void AddPage(TPxTabSheet* page, bool insert);
  void InsertPage(Integer index, TPxTabSheet* page);
  void DeletePage(TPxTabSheet* page);
  virtual void RemovePage(TPxTabSheet* page);
  Integer GetPageIndex(const TPxTabSheet* page) const;
  void SetPageIndex(TPxTabSheet* page, Integer index);
  void MovePage(Integer fromPos, Integer toPos);
  // The next or previous page whose page and tab are both visible; no wrap-around.
  void SelectNextPage();
  void SelectPrevPage();
  virtual void RefreshPage(Integer index);
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void AlignControls(TControl* control, TRect& rect) override;

  TNotifyEvent OnChange;
  TPageChangingEvent OnChanging;
  TPageCloseEvent OnPageClose;

 protected:
  friend class TPxTabSheet;
  virtual void ActivePageChanged() {}
  virtual Integer GetPageHeight() const;
  virtual void DoChange();
  virtual void DoChanging(Integer pageIndex, bool& allowChange);
  virtual void DoPageClose(Integer pageIndex, bool& accept);
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void WMEraseBkgnd(TMessage& message) override;
  // Only pages may be children.
  void ValidateInsert(TControl* control) override;
  bool Loading() const { return ComponentState().Contains(csLoading); }
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  // A sheet that made this notebook its parent joins the list.
  void JoinPage(TPxTabSheet* page);

  std::vector<TPxTabSheet*> FPageList;
  TPxTabSheet* FActivePage = nullptr;
};

class TPxPageControl : public TPxCustomNotebook {
  KST_CLASS(TPxPageControl, TPxCustomNotebook)
 public:
  explicit TPxPageControl(TComponent* owner);
  ~TPxPageControl() override;

  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value) { Store(FAdaptiveColors, value); }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor value) { Store(FBackgroundColor, value); }
  TBackgroundKind BackgroundKind() const { return FBackgroundKind; }
  void SetBackgroundKind(TBackgroundKind value) { Store(FBackgroundKind, value); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer value) { Store(FIndent, ClampExtent(value)); }
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value) { StoreAndRealign(FMargin, ClampExtent(value)); }
  TPageOptions Options() const { return FOptions; }
  void SetOptions(TPageOptions value);
  bool PartialTabs() const { return FPartialTabs; }
  void SetPartialTabs(bool value) { Store(FPartialTabs, value); }
  TScrollMethod ScrollMethod() const { return FScrollMethod; }
  void SetScrollMethod(TScrollMethod value) { Store(FScrollMethod, value); }
  bool ShowTabs() const { return FShowTabs; }
  void SetShowTabs(bool value) { StoreAndRealign(FShowTabs, value); }
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer value) { Store(FSpacing, value); }
  TAlignment TabAlignment() const { return FTabAlignment; }
  void SetTabAlignment(TAlignment value) { Store(FTabAlignment, value); }
  Integer TabMargin() const { return FTabMargin; }
  void SetTabMargin(Integer value) { Store(FTabMargin, ClampExtent(value)); }
  Integer TabHeight() const { return FTabHeight; }
  void SetTabHeight(Integer value) { StoreAndRealign(FTabHeight, std::max(0, ClampExtent(value))); }
  Integer TabMaxWidth() const { return FTabMaxWidth; }
  void SetTabMaxWidth(Integer value) { Store(FTabMaxWidth, ClampExtent(value)); }
  pxtabs::TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(pxtabs::TTabPosition value) { StoreAndRealign(FTabPosition, value); }
  pxtabs::TTabStyle TabStyle() const { return FTabStyle; }
  void SetTabStyle(pxtabs::TTabStyle value) { Store(FTabStyle, value); }
  Integer TopIndent() const { return FTopIndent; }
  void SetTopIndent(Integer value) { StoreAndRealign(FTopIndent, ClampExtent(value)); }
  Integer ScrollPos() const { return FScrollPos; }
  TPageButton HoverButton() const { return FHoverButton; }
  TPageButton DownButton() const { return FDownButton; }

  // The strip as it stands now (sizes, tab widths, visibility, scrolling).
  TTabStripLayout Layout() const;
  Integer GetTabsEdge() const { return Layout().TabsEdge(); }
  TRect GetTabsClientRect() const { return Layout().TabsClientRect(); }
  Integer GetTabWidth(const TPxTabSheet* page) const;
  Integer GetTabClientWidth(const TPxTabSheet* page) const { return GetTabWidth(page) - GetTabOverlap(); }
  TRect GetTabRect(Integer index) const { return Layout().TabRect(index); }
  Integer GetTabsRight() const { return Layout().TabsRight(); }
  Integer GetTabsClientWidth() const { return ClientWidth() - FIndent - GetTabsRight(); }
  bool IsTabVisible(const TPxTabSheet* page) const { return page && page->TabVisible() && page->PageVisible(); }
  TPxTabSheet* GetTabAtPos(Integer x, Integer y) const;
  TPageButton GetButtonAtPos(TPoint p) const { return Layout().ButtonAtPos(p); }
  TPxTabSheet* GetTabByCaption(const String& s, bool ignoreCase) const;
  virtual void GetPageButtonRect(TPageButton button, TRect& rect) const { rect = Layout().ButtonRect(button); }
  virtual Integer GetTabOverlap() const { return TabOverlap(FTabStyle, FTabHeight); }
  void ScrollTabs(Integer delta);
  void ScrollToTab(Integer index);
  // Scrolls so that the tab lies within the strip.
  void MakeVisible(Integer index);
  void RefreshButton(TPageButton button);
  void RefreshPage(Integer index) override;
  void RefreshTabs();
  // The tabs menu as the menu button shows it, filled anew (for tests).
  TPopupMenu& TabsPopup() const { return *FTabsPopup; }
  void FillTabsPopup();
  void AdjustClientRect(TRect& rect) const override;

  TCustomDrawBackground OnCustomDrawBackground;
  TPxCustomTabsPopupEvent OnCustomTabsPopup;
  TTabClickEvent OnTabClick;

 protected:
  void ActivePageChanged() override;
  Integer GetPageHeight() const override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void WMSize(TMessage& message) override;
  virtual void DrawPolygon(const std::vector<TPoint>& points, const TRect& rect);
  virtual void DrawPolyline(const std::vector<TPoint>& points, const TRect& rect);
  virtual void DrawTab(const TRect& rect, TPxTabSheet* page, bool active, bool first);
  virtual void DrawBackground();
  virtual void DoCustomDrawBackground(TRect rect);
  virtual void DoCustomTabsPopup(Integer x, Integer y);
  virtual void DoTabClick(Integer pageIndex);

 private:
  template <class V>
  void Store(V& field, V value) {
    field = value;
    Invalidate();
  }
  template <class V>
  void StoreAndRealign(V& field, V value) {
    field = value;
    Invalidate();
    Realign();
  }
  std::vector<TPoint> Oriented(const std::vector<TPoint>& points, const TRect& rect) const;
  // The area made one pixel taller towards the page, repainted without erasing.
  void InvalidateTowardsPage(TRect r);
  void ClipToPolygon(const std::vector<TPoint>& points, const TRect& rect);
  void DrawPageBorder();
  void DrawPageButton(TPageButton button);
  void DrawTabShape(const TRect& r, bool active, bool first, TColor color);
  void ScrollStep(int direction);
  bool AtScrollEnd(int direction) const;
  void ScrollTimerTick(TObject*);
  void TabsMenuClick(TObject* sender);
  void ShowTabsMenu();
  TColor FrameColor() const;

  bool FAdaptiveColors = true;
  TColor FBackgroundColor = 0xC0C0C0;
  TBackgroundKind FBackgroundKind = bkSolid;
  std::unique_ptr<TBitmap> FCloseBtnBitmap;
  TPageButton FDownButton = TPageButton::pbNone;
  TPxTabSheet* FDownTab = nullptr;
  TPageButton FHoverButton = TPageButton::pbNone;
  TCustomImageList* FImages = nullptr;
  Integer FIndent = 2;
  Integer FMargin = 0;
  Integer FOldHeight = 0;
  Integer FOldWidth = 0;
  TPageOptions FOptions = kDefaultPageOptions;
  TScrollMethod FScrollMethod = smPixels;
  Integer FScrollPos = 0;
  TTimer* FScrollTimer = nullptr;
  bool FShowTabs = true;
  Integer FSpacing = 0;
  TAlignment FTabAlignment = taCenter;
  Integer FTabHeight = 17;
  Integer FTabMaxWidth = 0;
  pxtabs::TTabPosition FTabPosition = pxtabs::tpTop;
  TPopupMenu* FTabsPopup = nullptr;
  pxtabs::TTabStyle FTabStyle = pxtabs::tsWhidbey;
  Integer FTopIndent = 3;
  Integer FTabMargin = 0;
  bool FPartialTabs = false;
  // Measures captions without a window of its own.
  std::unique_ptr<TBitmap> FMeasure;
};

// A notebook without tabs; at design time, or with DesignButtons, a bar
// along its bottom lists the pages by name.
class TPxNotebook : public TPxCustomNotebook {
  KST_CLASS(TPxNotebook, TPxCustomNotebook)
 public:
  explicit TPxNotebook(TComponent* owner);
  bool DesignButtons() const { return FDesignButtons; }
  void SetDesignButtons(bool value);
  Integer ScrollPos() const { return FScrollPos; }
  void AdjustClientRect(TRect& rect) const override;
  // The page whose design tab is at the point, -1 for none.
  Integer GetDesignTabAtPos(Integer x, Integer y) const;
  Integer GetMaxScrollPos() const;
  void ScrollTabs(Integer delta);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  virtual void DrawDesignTabs();

 private:
  bool BarShown() const { return FDesignButtons || Designing(); }
  std::vector<Integer> DesignTabWidths() const;
  void DrawArrowButton(const TRect& r, bool enabled, bool back);
  bool FDesignButtons = false;
  Integer FScrollPos = 0;
};

// The two bitmaps of one tab look: the body and the right end.
class TPxTabGlyph : public TPersistent {
  KST_CLASS(TPxTabGlyph, TPersistent)
 public:
  TPxTabGlyph();
  TBitmap* GetLeftGlyph() const { return FLeftGlyph.get(); }
  void SetLeftGlyph(const TBitmap* value) { FLeftGlyph->Assign(value); }
  TBitmap* GetRightGlyph() const { return FRightGlyph.get(); }
  void SetRightGlyph(const TBitmap* value) { FRightGlyph->Assign(value); }
  void Assign(const TPersistent* source) override;

 private:
  std::unique_ptr<TBitmap> FLeftGlyph;
  std::unique_ptr<TBitmap> FRightGlyph;
};

class TPxGlyphPageControl : public TPxCustomNotebook {
  KST_CLASS(TPxGlyphPageControl, TPxCustomNotebook)
 public:
  explicit TPxGlyphPageControl(TComponent* owner);
  ~TPxGlyphPageControl() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TColor BackgroundColorFrom() const { return FBackgroundColorFrom; }
  void SetBackgroundColorFrom(TColor value);
  TColor BackgroundColorTo() const { return FBackgroundColorTo; }
  void SetBackgroundColorTo(TColor value);
  TBackgroundKind BackgroundKind() const { return FBackgroundKind; }
  void SetBackgroundKind(TBackgroundKind value) { FBackgroundKind = value; }
  TFont* GetFontActive() const { return FFontActive.get(); }
  void SetFontActive(const TFont* value) { FFontActive->Assign(value); }
  TFont* GetFontNormal() const { return FFontNormal.get(); }
  void SetFontNormal(const TFont* value) { FFontNormal->Assign(value); }
  TPxTabGlyph* GetGlyphActive() const { return FGlyphActive.get(); }
  void SetGlyphActive(const TPxTabGlyph* value) { FGlyphActive->Assign(value); }
  TPxTabGlyph* GetGlyphNormal() const { return FGlyphNormal.get(); }
  void SetGlyphNormal(const TPxTabGlyph* value);
  Integer TabHeight() const { return FTabHeight; }
  void SetTabHeight(Integer value) { FTabHeight = std::max(0, ClampExtent(value)); }
  Integer TabPadding() const { return FTabPadding; }
  void SetTabPadding(Integer value);
  Integer TabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(Integer value);
  Integer TopIndent() const { return FTopIndent; }
  void SetTopIndent(Integer value) { FTopIndent = ClampExtent(value); }

  Integer GetTabWidth(Integer index) const;
  Integer GetTabsWidth() const { return Row().TabsWidth(); }
  TRect GetTabRect(Integer index) const { return Row().TabRect(index); }
  TPxTabSheet* GetTabAtPos(Integer x, Integer y) const;
  void RefreshPage(Integer index) override;
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  TGlyphTabRow Row() const;
  void DrawBackground();
  void DrawTab(Integer index);

  Integer FTopIndent = 10;
  Integer FTabHeight = 21;
  std::unique_ptr<TPxTabGlyph> FGlyphNormal;
  Integer FTabPadding = 16;
  Integer FTabSpacing = 2;
  std::unique_ptr<TPxTabGlyph> FGlyphActive;
  std::unique_ptr<TFont> FFontActive;
  TBackgroundKind FBackgroundKind = bkSolid;
  TColor FBackgroundColorFrom = 0x808080;
  TColor FBackgroundColorTo = 0x808080;
  std::unique_ptr<TFont> FFontNormal;
  TAlignment FAlignment = taCenter;
  std::unique_ptr<TBitmap> FMeasure;
};
