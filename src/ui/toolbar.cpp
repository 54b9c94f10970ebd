#include "ui/toolbar.h"

#include <algorithm>

#include "rtl/format.h"
#include "ui/actnlist.h"
#include "ui/db.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TToolButton, "ComCtrls")
KST_CLASS_IMPL(TToolBar, "ComCtrls")

const TTypeInfo& DescribeType(TypeTag<TToolButtonStyle>) {
  static const TEnumTypeInfo t(u"TToolButtonStyle", u"ComCtrls",
                               {u"tbsButton", u"tbsCheck", u"tbsDropDown", u"tbsSeparator", u"tbsDivider"});
  return t;
}

namespace {
constexpr Integer kSeparatorWidth = 8;
// The width the system's tool bar gives the arrow of a drop-down button.
constexpr Integer kDropDownArrowWidth = 14;
}

// ---------------------------------------------------------------------------
// Buttons

void TToolButton::Describe(TClassBuilder<TToolButton>& c) {
  KST_KEPT_PROPERTY(u"AutoSize", AutoSize).Default(0);
  publish::Action(c);
  c.Property(u"AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(0);
  publish::Caption(c);
  c.Property(u"Down", &TToolButton::Down, &TToolButton::SetDown).Default(0);
  c.Property(u"DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
  c.Property(u"EnableDropdown", &TToolButton::EnableDropdown, &TToolButton::SetEnableDropdown).Default(0);
  publish::Enabled(c);
  c.Property(u"Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(0);
  c.Property(u"ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
  publish::Visible(c);
  c.Property(u"Wrap", &TToolButton::Wrap, &TToolButton::SetWrap).Default(0);
  c.Property(u"OnClick", &TToolButton::OnClick);
  c.Property(u"OnContextPopup", &TToolButton::OnContextPopup);
  c.Property(u"OnMouseDown", &TToolButton::OnMouseDown);
  c.Property(u"OnMouseMove", &TToolButton::OnMouseMove);
  c.Property(u"OnMouseUp", &TToolButton::OnMouseUp);
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption};
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
  if (TToolBar* bar = ToolBar()) bar->RemoveButton(this);
}

TToolBar* TToolButton::ToolBar() const {
  return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = ToolBar();
  if (old == parent && old) return;
  if (old) old->RemoveButton(this);
  TGraphicControl::SetParent(parent);
  if (TToolBar* bar = ToolBar()) bar->AddButton(this);
}

void TToolButton::SetStyle(TToolButtonStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (IsSeparator() && FWidth == 23 && !ComponentState().Contains(csLoading)) SetWidth(kSeparatorWidth);
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
  Invalidate();
}

void TToolButton::SetImageIndex(Integer value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  Invalidate();
}

void TToolButton::SetDown(bool value) {
  if (value == FDown) return;
  if (!value && FDown && FGrouped && !FAllowAllUp && !ComponentState().Contains(csLoading)) {
    // The last button of a group that must keep one down stays down.
    bool otherDown = false;
    if (TToolBar* bar = ToolBar())
      for (TToolButton* b : bar->FButtons)
        if (b != this && b->FGrouped && b->FDown) otherDown = true;
    if (!otherDown) return;
  }
  FDown = value;
  if (value && FGrouped)
    if (TToolBar* bar = ToolBar()) {
      // Only the neighbours of the group: the run of grouped check buttons around this one.
      auto& buttons = bar->FButtons;
      auto at = std::find(buttons.begin(), buttons.end(), this);
      if (at != buttons.end()) {
        auto inGroup = [](TToolButton* b) { return b->FGrouped && b->FStyle == tbsCheck; };
        for (auto it = at; it != buttons.begin() && inGroup(*(it - 1)); --it) {
          (*(it - 1))->FDown = false;
          (*(it - 1))->Invalidate();
        }
        for (auto it = at + 1; it != buttons.end() && inGroup(*it); ++it) {
          (*it)->FDown = false;
          (*it)->Invalidate();
        }
      }
    }
  Invalidate();
}

void TToolButton::SetDropdownMenu(TPopupMenu* value) {
  FollowComponent(*this, FDropdownMenu, value);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FDropdownMenu) FDropdownMenu = nullptr;
}

TRect TToolButton::ArrowRect() const {
  if (FStyle != tbsDropDown) return TRect();
  return Rect(std::max<Integer>(0, Width() - kDropDownArrowWidth), 0, Width(), Height());
}

// The menu's items run only handlers and actions of their own: in a
// previewed form they have none and the standard actions show nothing.
bool TToolButton::DropDown() {
  if (!FDropdownMenu) return false;
  const TPoint at = ClientToScreen(Point(0, Height()));
  FDropdownMenu->SetPopupComponent(this);
  FPressed = true;
  Repaint();
  FDropdownMenu->Popup(at.X, at.Y);
  FPressed = false;
  Invalidate();
  return true;
}

void TToolButton::Click() {
  if (IsSeparator()) return;
  if (FStyle == tbsCheck && !Action()) SetDown(!FDown);
  TGraphicControl::Click();
}

void TToolButton::ActionChange(TBasicAction* action) {
  TGraphicControl::ActionChange(action);
  if (auto* a = dynamic_cast<TCustomAction*>(action)) {
    SetImageIndex(a->ImageIndex());
    if (FStyle == tbsCheck || a->Checked()) {
      if (a->Checked() != FDown) {
        FDown = a->Checked();
        Invalidate();
      }
    }
  }
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && Enabled() && FStyle == tbsDropDown && FDropdownMenu &&
      (FEnableDropdown || ArrowRect().Contains(Point(x, y)))) {
    // The arrow opens the menu at once and is no click of the button.
    FControlState.Exclude(csClicked);
    SetMouseCapture(false);
    TGraphicControl::MouseDown(button, shift, x, y);
    DropDown();
    return;
  }
  if (button == mbLeft && Enabled() && !IsSeparator()) {
    FPressed = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (FPressed) {
    FPressed = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::CMMouseEnter(TMessage& m) {
  TGraphicControl::CMMouseEnter(m);
  if (!FHot) {
    FHot = true;
    Invalidate();
  }
}

void TToolButton::CMMouseLeave(TMessage& m) {
  TGraphicControl::CMMouseLeave(m);
  if (FHot || FPressed) {
    FHot = false;
    FPressed = false;
    Invalidate();
  }
}

void TToolButton::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  HDC dc = canvas.Handle();
  TToolBar* bar = ToolBar();
  if (IsSeparator()) {
    if (FStyle == tbsDivider || (bar && bar->Flat())) {
      RECT line{r.Width() / 2 - 1, r.Top + 2, r.Width() / 2 + 1, r.Bottom - 2};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
    return;
  }
  bool flat = bar ? bar->Flat() : true;
  bool enabled = Enabled();
  bool sunken = FDown || (FPressed && FHot);
  if (FStyle == tbsDropDown) {
    // The arrow has its own frame beside the face; the face draws in what is left.
    const TRect arrow = ArrowRect();
    RECT arrowFrame = ToRECT(arrow);
    if (!flat || (FHot && enabled)) DrawEdge(dc, &arrowFrame, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    const Integer cx = (arrow.Left + arrow.Right) / 2, cy = (arrow.Top + arrow.Bottom) / 2 - 1;
    canvas.Pen().SetColor(enabled ? clBtnText : clGrayText);
    for (Integer i = 0; i < 3; ++i) {
      canvas.MoveTo(cx - 2 + i, cy + i);
      canvas.LineTo(cx + 3 - i, cy + i);
    }
    r.Right = arrow.Left;
  }
  RECT frame = ToRECT(r);
  if (FDown && !FPressed) {
    // A checked button: a lighter, sunken face.
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
  }
  if (sunken)
    DrawEdge(dc, &frame, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat || (FHot && enabled))
    DrawEdge(dc, &frame, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  Integer shift = sunken ? 1 : 0;
  TCustomImageList* images = bar ? bar->Images() : nullptr;
  bool captions = bar && bar->ShowCaptions() && !Caption().empty();
  Integer textHeight = 0;
  if (captions) {
    canvas.Font().Assign(&Font());
    textHeight = canvas.TextExtent(u"Ag").cy;
  }
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    Integer x = (r.Width() - images->Width()) / 2 + shift;
    Integer y = (r.Height() - images->Height() - (captions ? textHeight + 2 : 0)) / 2 + shift;
    images->Draw(canvas, x, y, FImageIndex, enabled);
  }
  if (captions) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(enabled ? clBtnText : clGrayText);
    TRect text = Rect(r.Left + 1 + shift, r.Bottom - textHeight - 3 + shift, r.Right - 1 + shift, r.Bottom - 3 + shift);
    canvas.DrawText(Caption(), text, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  }
}

// ---------------------------------------------------------------------------
// The bar

const TTypeInfo& DescribeType(TypeTag<TEdgeBorder>) {
  static const TEnumTypeInfo t(u"TEdgeBorder", u"ComCtrls", {u"ebLeft", u"ebTop", u"ebRight", u"ebBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TEdgeBorders>) {
  static const TSetTypeInfo t(u"TEdgeBorders", u"ComCtrls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TEdgeBorder>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TEdgeStyle>) {
  static const TEnumTypeInfo t(u"TEdgeStyle", u"ComCtrls", {u"esNone", u"esRaised", u"esLowered"});
  return t;
}

void TToolBar::Describe(TClassBuilder<TToolBar>& c) {
  c.Property(
      u"HotImages", [](const TToolBar& o) { return o.Kept.HotImages; },
      [](TToolBar& o, TCustomImageList* images) {
        if (o.Kept.HotImages) o.Kept.HotImages->RemoveFreeNotification(&o);
        o.Kept.HotImages = images;
        if (images) images->FreeNotification(&o);
      });
  KST_KEPT_PROPERTY(u"Transparent", Transparent).Default(0);
  c.Property(u"EdgeBorders", &TToolBar::EdgeBorders);
  c.Property(u"EdgeInner", &TToolBar::EdgeInner).Default(esRaised);
  c.Property(u"EdgeOuter", &TToolBar::EdgeOuter).Default(esLowered);
  publish::BorderWidth(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize).Default(0);
  c.Property(u"ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  c.Property(u"ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::DragProperties(c);
  publish::Enabled(c);
  c.Property(u"Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(0);
  publish::Font(c);
  c.Property(u"Images", &TToolBar::Images, &TToolBar::SetImages);
  c.Property(u"Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(0);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable).Default(1);
  publish::MouseEvents(c);
  publish::ResizeEvents(c);
}

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner), FImageChangeLink(std::make_unique<TChangeLink>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption};
  FImageChangeLink->OnChange = TNotifyEvent(this, &TToolBar::ImageListChange);
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  Destroying();
  SetImages(nullptr);
  FButtons.clear();
}

TToolButton* TToolBar::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FButtons[static_cast<size_t>(index)];
}

void TToolBar::AddButton(TToolButton* button) {
  if (std::find(FButtons.begin(), FButtons.end(), button) != FButtons.end()) return;
  // Read from a form file, the buttons are sorted by their places once all are read.
  FButtons.push_back(button);
  ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
  auto it = std::find(FButtons.begin(), FButtons.end(), button);
  if (it == FButtons.end()) return;
  FButtons.erase(it);
  ArrangeButtons();
}

void TToolBar::Loaded() {
  // The places the buttons had when read decide their order.
  std::stable_sort(FButtons.begin(), FButtons.end(), [](TToolButton* a, TToolButton* b) {
    return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
  });
  TCustomControl::Loaded();
  ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
  if (FArranging || ComponentState().Contains(csDestroying) || ComponentState().Contains(csLoading)) return;
  FArranging = true;
  try {
    Integer x = FIndent;
    Integer y = 0;
    Integer width = ClientWidth();
    for (TToolButton* button : FButtons) {
      if (!button->Visible()) continue;
      Integer w = button->IsSeparator()
                      ? (button->Width() > 0 && button->Width() != FButtonWidth ? button->Width() : kSeparatorWidth)
                      : FButtonWidth + (button->Style() == tbsDropDown ? kDropDownArrowWidth : 0);
      if (FWrapable && x > FIndent && x + w > width && width > 0 && !button->IsSeparator()) {
        x = FIndent;
        y += FButtonHeight;
      }
      button->SetBounds(x, y, w, FButtonHeight);
      x += w;
      if (button->Wrap()) {
        x = FIndent;
        y += FButtonHeight;
      }
    }
    if (FAutoSize && Align() != alLeft && Align() != alRight) {
      Integer h = y + FButtonHeight + (Height() - ClientHeight());
      if (h != Height()) SetHeight(h);
    }
  } catch (...) {
    FArranging = false;
    throw;
  }
  FArranging = false;
}

void TToolBar::AlignControls(TControl* control, TRect& rect) {
  // The buttons have their row; other children align as usual.
  TCustomControl::AlignControls(control, rect);
  ArrangeButtons();
}

void TToolBar::SetButtonWidth(Integer value) {
  if (value == FButtonWidth || value <= 0) return;
  FButtonWidth = value;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(Integer value) {
  if (value == FButtonHeight || value <= 0) return;
  FButtonHeight = value;
  ArrangeButtons();
}

void TToolBar::SetIndent(Integer value) {
  if (value == FIndent) return;
  FIndent = value;
  ArrangeButtons();
}

void TToolBar::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  Invalidate();
}

void TToolBar::SetShowCaptions(bool value) {
  if (value == FShowCaptions) return;
  FShowCaptions = value;
  Invalidate();
}

void TToolBar::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* images) {
  if (!SwitchImageList(*this, FImages, images, FImageChangeLink.get())) return;
  ImageListChange(nullptr);
}

void TToolBar::ImageListChange(TObject*) {
  if (!ComponentState().Contains(csDestroying)) Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

void TToolBar::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}
