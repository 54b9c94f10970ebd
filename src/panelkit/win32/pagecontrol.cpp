#include "panelkit/win32/pagecontrol.h"

#include <algorithm>

#include "classes/identmaps.h"
#include "panelkit/colorschemes.h"
#include "panelkit/win32/shareddraw.h"
#include "rtl/format.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TPxTabSheet, "PxPageControl")
KST_CLASS_IMPL(TPxCustomNotebook, "PxPageControl")

namespace {


}  // namespace

const TTypeInfo& DescribeType(TypeTag<TTabDisplayMode>) {
  static const TEnumTypeInfo t(u"TTabDisplayMode", u"PxPageControl", {u"tdTextOnly", u"tdGlyph", u"tdImageIndex"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPxPanelStyle>) {
  static const TEnumTypeInfo t(u"TPxPanelStyle", u"PxClasses", {u"ptDefault", u"ptGradient", u"ptInverseGradient"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<pxtabs::TTabStyle>) {
  static const TEnumTypeInfo t(u"TTabStyle", u"PxPageControl",
                               {u"tsClassic", u"tsFlat", u"tsOneNote", u"tsWhidbey", u"tsDexter"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<pxtabs::TTabPosition>) {
  static const TEnumTypeInfo t(u"TTabPosition", u"PxPageControl", {u"tpTop", u"tpBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBackgroundKind>) {
  static const TEnumTypeInfo t(
      u"TBackgroundKind", u"PxPageControl",
      {u"bkSolid", u"bkCustom", u"bkHorzGradient", u"bkTransparent", u"bkVertGradient", u"bkInveseVertGradient"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TScrollMethod>) {
  static const TEnumTypeInfo t(u"TScrollMethod", u"PxPageControl", {u"smTab", u"smPixels", u"smSelect"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPageOption>) {
  static const TEnumTypeInfo t(
      u"TPageOption", u"PxPageControl",
      {u"pgAlwaysShowTabsRect", u"pgBoldActiveTab", u"pgCloseButton", u"pgConstantScroll", u"pgCustomTabsPopup",
       u"pgPageBorder", u"pgScrollButtons", u"pgTabsPopup", u"pgTopBorder"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPageOptions>) {
  static const TSetTypeInfo t(u"TPageOptions", u"PxPageControl",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPageOption>{})));
  return t;
}
const TMethodTypeInfo& PageChangingEventType() {
  static const TMethodTypeInfo t(
      u"TPageChangingEvent", u"PxPageControl", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"PageIndex", u"Integer"), Param(u"AllowChange", u"Boolean", kVarParam)});
  return t;
}
const TMethodTypeInfo& PageCloseEventType() {
  static const TMethodTypeInfo t(
      u"TPageCloseEvent", u"PxPageControl", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"PageIndex", u"Integer"), Param(u"Accept", u"Boolean", kVarParam)});
  return t;
}
const TMethodTypeInfo& CustomTabsPopupEventType() {
  static const TMethodTypeInfo t(u"TPxCustomTabsPopupEvent", u"PxPageControl", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"X", u"Integer"), Param(u"Y", u"Integer")});
  return t;
}
const TMethodTypeInfo& CustomDrawBackgroundType() {
  static const TMethodTypeInfo t(u"TCustomDrawBackground", u"PxPageControl", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"BackgroundRect", u"TRect", kVarParam)});
  return t;
}
const TMethodTypeInfo& TabClickEventType() {
  static const TMethodTypeInfo t(u"TTabClickEvent", u"PxPageControl", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"PageIndex", u"Integer")});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TCustomDrawBackground>) {
  return CustomDrawBackgroundType();
}

// ---------------------------------------------------------------------------
// Tab sheet

void TPxTabSheet::Describe(TClassBuilder<TPxTabSheet>& c) {
  c.Property(u"ActiveTabColor", &TPxTabSheet::ActiveTabColor, &TPxTabSheet::SetActiveTabColor, &types::Color())
      .Default(clWindow);
  c.Property(u"Caption", &TPxTabSheet::Caption, &TPxTabSheet::SetCaption);
  publish::Color(c);
  c.Property(u"DisplayMode", &TPxTabSheet::DisplayMode, &TPxTabSheet::SetDisplayMode).Default(tdGlyph);
  publish::Font(c);
  c.Property(u"Glyph", &TPxTabSheet::GetGlyph, &TPxTabSheet::SetGlyph);
  c.Property(u"ImageIndex", &TPxTabSheet::ImageIndex, &TPxTabSheet::SetImageIndex).Default(-1);
  c.Property(u"Margin", &TPxTabSheet::Margin, &TPxTabSheet::SetMargin).Default(0);
  c.Property(u"PageIndex", &TPxTabSheet::PageIndex, &TPxTabSheet::SetPageIndex).Stored(false);
  c.Property(u"PageStyle", &TPxTabSheet::PageStyle, &TPxTabSheet::SetPageStyle).Default(ptDefault);
  c.Property(u"PageVisible", &TPxTabSheet::PageVisible, &TPxTabSheet::SetPageVisible).Default(1);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::ParentFont(c);
  c.Property(u"ParentTabFont", &TPxTabSheet::ParentTabFont, &TPxTabSheet::SetParentTabFont).Default(1);
  c.Property(u"TabColor", &TPxTabSheet::TabColor, &TPxTabSheet::SetTabColor, &types::Color()).Default(clWindow);
  c.Property(u"TabFont", &TPxTabSheet::GetTabFont, &TPxTabSheet::SetTabFont).StoredWhen([](const TPxTabSheet& s) {
    return !s.ParentTabFont();
  });
  c.Property(u"TabVisible", &TPxTabSheet::TabVisible, &TPxTabSheet::SetTabVisible).Default(1);
  c.Property(u"TabWidth", &TPxTabSheet::TabWidth, &TPxTabSheet::SetTabWidth).Default(0);
  c.Property(u"TransparentColor", &TPxTabSheet::TransparentColor, &TPxTabSheet::SetTransparentColor, &types::Color())
      .Default(clNone);
  c.Property(u"OnHide", &TPxTabSheet::OnHide);
  c.Property(u"OnPaint", &TPxTabSheet::OnPaint);
  c.Property(u"OnShow", &TPxTabSheet::OnShow);
}

TPxTabSheet::TPxTabSheet(TComponent* owner)
    : TCustomControl(owner), FGlyph(std::make_unique<TBitmap>()), FTabFont(std::make_unique<TFont>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csReplicatable};
  FGlyph->OnChange = TNotifyEvent(this, &TPxTabSheet::GlyphChanged);
  FTabFont->OnChange = TNotifyEvent(this, &TPxTabSheet::TabFontChanged);
  SetParentColor(true);
}

TPxTabSheet::~TPxTabSheet() {
  FGlyph->OnChange = {};
  FTabFont->OnChange = {};
  if (TPxCustomNotebook* container = FPageControl) container->RemovePage(this);
  FPageControl = nullptr;
}

void TPxTabSheet::SetParent(TWinControl* parent) {
  auto* notebook = dynamic_cast<TPxCustomNotebook*>(parent);
  if (FPageControl && FPageControl != notebook) FPageControl->RemovePage(this);
  TCustomControl::SetParent(parent);
  if (notebook && FPageControl != notebook) notebook->JoinPage(this);
}

void TPxTabSheet::SetZOrder(bool topMost) {
  TCustomControl::SetZOrder(topMost);
  TPxCustomNotebook* container = FPageControl;
  if (FUpdating || !container || container->Loading()) return;
  if (topMost) {
    container->SetActivePageIndex(PageIndex());
    return;
  }
  if (container->ActivePage() != this || container->ControlCount() == 0) return;
  if (auto* top = dynamic_cast<TPxTabSheet*>(container->Controls(container->ControlCount() - 1)))
    container->SetActivePage(top);
}

void TPxTabSheet::SetPageControl(TPxCustomNotebook* value) {
  if (value == FPageControl) return;
  if (value)
    value->AddPage(this, true);
  else
    SetParent(nullptr);
}

void TPxTabSheet::SetCaption(const String& value) {
  FCaption = value;
  TabChanged();
}

void TPxTabSheet::SetActiveTabColor(TColor value) {
  if (value == FActiveTabColor) return;
  FActiveTabColor = value;
  if (FPageControl && FPageControl->ActivePage() == this) FPageControl->RefreshPage(PageIndex());
}

void TPxTabSheet::SetTabColor(TColor value) {
  FTabColor = value;
  if (FPageControl) FPageControl->RefreshPage(PageIndex());
}

void TPxTabSheet::SetDisplayMode(TTabDisplayMode value) {
  FDisplayMode = value;
  TabChanged();
}

void TPxTabSheet::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  TabChanged();
}

void TPxTabSheet::SetImageIndex(TImageIndex value) {
  FImageIndex = value;
  if (FPageControl) FPageControl->RefreshPage(PageIndex());
}

void TPxTabSheet::SetMargin(Integer value) {
  FMargin = ClampExtent(value);
  Invalidate();
  Realign();
}

Integer TPxTabSheet::PageIndex() const {
  return FPageControl ? FPageControl->GetPageIndex(this) : -1;
}

void TPxTabSheet::SetPageIndex(Integer value) {
  if (!FPageControl) return;
  FPageControl->SetPageIndex(this, value);
  FPageControl->Invalidate();
}

void TPxTabSheet::SetPageStyle(TPxPanelStyle value) {
  FPageStyle = value;
  Invalidate();
}

void TPxTabSheet::SetPageVisible(bool value) {
  FPageVisible = value;
  if (FPageControl) {
    SetVisible(value && FPageControl->ActivePage() == this);
    FPageControl->Invalidate();
  } else {
    SetVisible(false);
  }
}

void TPxTabSheet::SetParentTabFont(bool value) {
  if (value == FParentTabFont) return;
  FParentTabFont = value;
  if (value && FPageControl) TakeTabFont(FPageControl->Font());
  TabChanged();
}

void TPxTabSheet::SetTabFont(const TFont* value) {
  FTabFont->Assign(value);
  TabChanged();
}

void TPxTabSheet::TakeTabFont(const TFont& font) {
  FTabFontUpdating = true;
  try {
    FTabFont->Assign(&font);
  } catch (...) {
    FTabFontUpdating = false;
    throw;
  }
  FTabFontUpdating = false;
}

void TPxTabSheet::SetTabVisible(bool value) {
  FTabVisible = value;
  TabChanged();
}

void TPxTabSheet::SetTabWidth(Integer value) {
  FTabWidth = ClampExtent(value);
  if (FPageControl) FPageControl->Invalidate();
}

void TPxTabSheet::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  ApplyTransparentColor();
}

void TPxTabSheet::ApplyTransparentColor() {
  if (FTransparentColor == clNone || FGlyph->Empty()) return;
  TNotifyEvent watcher = FGlyph->OnChange;
  FGlyph->OnChange = {};
  FGlyph->SetTransparentColor(FTransparentColor);
  FGlyph->SetTransparent(true);
  FGlyph->OnChange = watcher;
}

void TPxTabSheet::TabFontChanged(TObject*) {
  if (FTabFontUpdating) return;
  FParentTabFont = false;
  TabChanged();
}

void TPxTabSheet::GlyphChanged(TObject*) {
  ApplyTransparentColor();
  TabChanged();
}

void TPxTabSheet::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  rect.Inflate(-FMargin, -FMargin);
}

void TPxTabSheet::TabChanged() {
  if (FPageControl) FPageControl->Invalidate();
}

void TPxTabSheet::DoHide() {
  if (OnHide) OnHide(this);
}

void TPxTabSheet::DoShow() {
  if (OnShow) OnShow(this);
}

void TPxTabSheet::DoPaint() {
  if (OnPaint) OnPaint(this);
}

void TPxTabSheet::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  switch (FPageStyle) {
    case ptDefault:
      canvas.Brush().SetColor(Color());
      canvas.FillRect(client);
      break;
    case ptGradient: FillVertGradient(canvas, client, Color(), SchemeColor(3, csDefault)); break;
    case ptInverseGradient: FillVertGradient(canvas, client, SchemeColor(3, csDefault), Color()); break;
  }
  if (ComponentState().Contains(csDesigning) && FMargin > 0) {
    TRect marked = client;
    marked.Inflate(-(FMargin - 1), -(FMargin - 1));
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetColor(clGrayText);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(marked);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetStyle(psSolid);
  }
  DoPaint();
}

void TPxTabSheet::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_DIALOGCHAR:
      if (FPageControl && IsAccel(static_cast<Word>(m.WParam), FCaption)) {
        FPageControl->SetActivePage(this);
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      if (FPageControl) FPageControl->Invalidate();
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Notebook

void TPxCustomNotebook::Describe(TClassBuilder<TPxCustomNotebook>& c) {
  c.Property(u"ActivePage", &TPxCustomNotebook::ActivePage, &TPxCustomNotebook::SetActivePage);
  c.Property(u"ActivePageIndex", &TPxCustomNotebook::ActivePageIndex, &TPxCustomNotebook::SetActivePageIndex);
  publish::Align(c);
  publish::Anchors(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::ParentFont(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnClick", &TPxCustomNotebook::OnClick);
  c.Property(u"OnDblClick", &TPxCustomNotebook::OnDblClick);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnMouseDown", &TPxCustomNotebook::OnMouseDown);
  c.Property(u"OnMouseMove", &TPxCustomNotebook::OnMouseMove);
  c.Property(u"OnMouseWheelDown", &TPxCustomNotebook::OnMouseWheelDown);
  c.Property(u"OnMouseWheelUp", &TPxCustomNotebook::OnMouseWheelUp);
  c.Property(u"OnMouseUp", &TPxCustomNotebook::OnMouseUp);
  c.Property(u"OnChange", &TPxCustomNotebook::OnChange);
  c.Property(u"OnChanging", &TPxCustomNotebook::OnChanging, &PageChangingEventType());
  c.Property(u"OnPageClose", &TPxCustomNotebook::OnPageClose, &PageCloseEventType());
  c.Property(u"OnResize", &TPxCustomNotebook::OnResize);
}

TPxCustomNotebook::TPxCustomNotebook(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csAcceptsControls, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 300, 250);
}

TPxCustomNotebook::~TPxCustomNotebook() {
  Destroying();
  FActivePage = nullptr;
  // The pages go with their container, the last first; each takes itself
  // out of the list.
  while (!FPageList.empty()) delete FPageList.back();
}

TPxTabSheet* TPxCustomNotebook::Pages(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return FPageList[static_cast<size_t>(index)];
}

Integer TPxCustomNotebook::ActivePageIndex() const {
  return GetPageIndex(FActivePage);
}

void TPxCustomNotebook::SetActivePageIndex(Integer value) {
  if (value < 0 || value > PageCount() - 1) return;
  SetActivePage(FPageList[static_cast<size_t>(value)]);
}

void TPxCustomNotebook::SetActivePage(TPxTabSheet* page) {
  if (ComponentState().Contains(csDestroying)) return;
  if (page && page->FPageControl != this) return;
  const Integer newIndex = GetPageIndex(page);
  bool allow = true;
  if (!Loading()) DoChanging(newIndex, allow);
  if (!allow) return;
  Integer oldIndex = -1;
  if (TPxTabSheet* old = FActivePage) {
    old->SetVisible(false);
    old->DoHide();
    oldIndex = GetPageIndex(old);
  }
  FActivePage = page;
  if (page) {
    if (page->PageVisible()) {
      page->SetVisible(true);
      page->DoShow();
      struct TUpdating {
        bool& Flag;
        ~TUpdating() { Flag = false; }
      } updating{page->FUpdating};
      page->FUpdating = true;
      page->BringToFront();
    }
    if (newIndex >= 0 && newIndex < PageCount()) {
      ActivePageChanged();
      RefreshPage(newIndex);
    }
  }
  if (oldIndex >= 0) RefreshPage(oldIndex);
  if (!Loading()) DoChange();
}

void TPxCustomNotebook::ValidateInsert(TControl* control) {
  TCustomControl::ValidateInsert(control);
  if (control && !dynamic_cast<TPxTabSheet*>(control))
    throw EInvalidOperation(Format(u"Cannot insert %s into ", {control->ClassName()}) + ClassName());
}

void TPxCustomNotebook::AddPage(TPxTabSheet* page, bool insert) {
  if (!page) return;
  if (insert) {
    page->SetParent(this);  // joins through the sheet's parent change
    return;
  }
  JoinPage(page);
}

void TPxCustomNotebook::JoinPage(TPxTabSheet* page) {
  if (std::find(FPageList.begin(), FPageList.end(), page) == FPageList.end()) FPageList.push_back(page);
  page->FPageControl = this;
  page->FreeNotification(this);
  if (!page->ComponentState().Contains(csLoading) && page->FCaption.empty()) page->FCaption = page->Name();
  if (page->FParentTabFont) page->TakeTabFont(Font());
  if (page != FActivePage) page->SetVisible(false);
  page->SetBounds(0, 0, Width(), GetPageHeight());
  Realign();
  Invalidate();
}

void TPxCustomNotebook::InsertPage(Integer index, TPxTabSheet* page) {
  if (!page) return;
  AddPage(page, true);
  SetPageIndex(page, index);
  SetActivePage(page);
  Invalidate();
}

void TPxCustomNotebook::DeletePage(TPxTabSheet* page) {
  delete page;
}

void TPxCustomNotebook::RemovePage(TPxTabSheet* page) {
  auto it = std::find(FPageList.begin(), FPageList.end(), page);
  if (it == FPageList.end()) return;
  const auto position = static_cast<Integer>(it - FPageList.begin());
  // The leaving page is detached before anything else happens, so that it
  // is neither hidden nor told so while it is being freed.
  const bool wasActive = page == FActivePage;
  if (wasActive) FActivePage = nullptr;
  FPageList.erase(it);
  page->FPageControl = nullptr;
  if (ComponentState().Contains(csDestroying)) return;
  if (wasActive) {
    if (FPageList.empty())
      SetActivePage(nullptr);
    else
      SetActivePageIndex(position >= PageCount() ? PageCount() - 1 : 0);
  }
  Invalidate();
}

Integer TPxCustomNotebook::GetPageIndex(const TPxTabSheet* page) const {
  if (!page) return -1;
  auto it = std::find(FPageList.begin(), FPageList.end(), page);
  return it == FPageList.end() ? -1 : static_cast<Integer>(it - FPageList.begin());
}

void TPxCustomNotebook::SetPageIndex(TPxTabSheet* page, Integer index) {
  const Integer from = GetPageIndex(page);
  if (from < 0) return;
  MovePage(from, index);
}

void TPxCustomNotebook::MovePage(Integer fromPos, Integer toPos) {
  if (fromPos < 0 || fromPos >= PageCount()) return;
  toPos = std::clamp(toPos, 0, PageCount() - 1);
  TPxTabSheet* page = FPageList[static_cast<size_t>(fromPos)];
  FPageList.erase(FPageList.begin() + fromPos);
  FPageList.insert(FPageList.begin() + toPos, page);
  Invalidate();
}

void TPxCustomNotebook::SelectNextPage() {
  const Integer active = ActivePageIndex();
  for (Integer i = active + 1; i < PageCount(); ++i) {
    TPxTabSheet* page = FPageList[static_cast<size_t>(i)];
    if (page->PageVisible() && page->TabVisible()) {
      SetActivePage(page);
      return;
    }
  }
}

void TPxCustomNotebook::SelectPrevPage() {
  const Integer active = ActivePageIndex();
  if (active < 0) return;
  for (Integer i = active - 1; i >= 0; --i) {
    TPxTabSheet* page = FPageList[static_cast<size_t>(i)];
    if (page->PageVisible() && page->TabVisible()) {
      SetActivePage(page);
      return;
    }
  }
}

void TPxCustomNotebook::RefreshPage(Integer) {}

void TPxCustomNotebook::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (TPxTabSheet* page : FPageList)
    if (page->Owner() == root) proc(page);
}

void TPxCustomNotebook::AlignControls(TControl*, TRect& rect) {
  AdjustClientRect(rect);
  for (TPxTabSheet* page : FPageList) page->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
}

Integer TPxCustomNotebook::GetPageHeight() const {
  return ClientHeight();
}

void TPxCustomNotebook::DoChange() {
  if (OnChange) OnChange(this);
}

void TPxCustomNotebook::DoChanging(Integer pageIndex, bool& allowChange) {
  if (OnChanging) OnChanging(this, pageIndex, allowChange);
}

void TPxCustomNotebook::DoPageClose(Integer pageIndex, bool& accept) {
  if (OnPageClose) OnPageClose(this, pageIndex, accept);
}

void TPxCustomNotebook::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClass.style &= ~static_cast<UINT>(CS_VREDRAW);
  params.Style |= WS_CLIPCHILDREN;
}

void TPxCustomNotebook::Paint() {
  if (FPageList.empty()) {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
  }
}

void TPxCustomNotebook::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (auto* page = dynamic_cast<TPxTabSheet*>(component)) {
    if (page->FPageControl == this || std::find(FPageList.begin(), FPageList.end(), page) != FPageList.end())
      RemovePage(page);
    if (!ComponentState().Contains(csDestroying)) Invalidate();
  }
}

void TPxCustomNotebook::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}
