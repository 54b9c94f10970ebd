#include "panelkit/win32/pxbutton.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "classes/identmaps.h"
#include "panelkit/win32/panels.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxButton, "PxCollection")
KST_CLASS_IMPL(TPxLabelMargins, "PxCollection")
KST_CLASS_IMPL(TPxLabel, "PxCollection")

const TTypeInfo& DescribeType(TypeTag<TPxButtonLayout>) {
  static const TEnumTypeInfo t(u"TPxButtonLayout", u"PxCollection",
                               {u"blGlyphBottom", u"blGlyphLeft", u"blGlyphRight", u"blGlyphTop"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THorizontalPosition>) {
  static const TEnumTypeInfo t(u"THorizontalPosition", u"PxCollection", {u"hpLeft", u"hpCenter", u"hpRight"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TVerticalPosition>) {
  static const TEnumTypeInfo t(u"TVerticalPosition", u"PxCollection", {u"vpTop", u"vpMiddle", u"vpBottom"});
  return t;
}

// ---------------------------------------------------------------------------
// Button

void TPxButton::Describe(TClassBuilder<TPxButton>& c) {
  publish::Action(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Cancel", &TPxButton::Cancel, &TPxButton::SetCancel).Default(0);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"Default", &TPxButton::Default, &TPxButton::SetDefault).Default(0);
  c.Property(u"Down", &TPxButton::Down, &TPxButton::SetDown).Default(0);
  publish::Enabled(c);
  c.Property(u"EnableDblClick", &TPxButton::EnableDblClick, &TPxButton::SetEnableDblClick).Default(1);
  publish::Font(c);
  c.Property(u"Glyph", &TPxButton::GetGlyph, &TPxButton::SetGlyph);
  c.Property(u"GlyphSpacing", &TPxButton::GlyphSpacing, &TPxButton::SetGlyphSpacing).Default(3);
  c.Property(u"Height", &TControl::Height, &TControl::SetHeight).Default(23);
  c.Property(u"Layout", &TPxButton::Layout, &TPxButton::SetLayout).Default(pblGlyphLeft);
  c.Property(u"ModalResult", &TPxButton::ModalResult, &TPxButton::SetModalResult, &ModalResultType()).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowArrow", &TPxButton::ShowArrow, &TPxButton::SetShowArrow).Default(0);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(1);
  c.Property(u"Transparent", &TPxButton::Transparent, &TPxButton::SetTransparent).Default(0);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TPxButton::TPxButton(TComponent* owner)
    : TCustomControl(owner), FGlyph(std::make_unique<TBitmap>()), FGrayGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetTabStop(true);
  SetBounds(Left(), Top(), 75, 23);
  FGlyph->OnChange = TNotifyEvent(this, &TPxButton::GlyphChanged);
}

TPxButton::~TPxButton() = default;

void TPxButton::StoreAndRepaint(bool& field, bool value) {
  field = value;
  Invalidate();
}

void TPxButton::ApplyTransparency() {
  FUpdatingGlyph = true;
  for (TBitmap* glyph : {FGlyph.get(), FGrayGlyph.get()}) {
    if (FTransparent)
      MakeTransparentByCorner(*glyph);
    else
      glyph->SetTransparent(false);
  }
  FUpdatingGlyph = false;
}

void TPxButton::GlyphChanged(TObject*) {
  if (FUpdatingGlyph) return;
  FGrayGlyph->Assign(FGlyph.get());
  ApplyTransparency();
  if (!FGrayGlyph->Empty()) MakeGrayscale(*FGrayGlyph);
  Invalidate();
}

void TPxButton::SetTransparent(bool value) {
  FTransparent = value;
  if (FGlyph->Empty()) return;
  ApplyTransparency();
  Invalidate();
}

void TPxButton::SetDefault(bool value) {
  FDefault = value;
  if (!HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TPxButton::SetEnableDblClick(bool value) {
  FEnableDblClick = value;
  if (value)
    FControlStyle.Include(csDoubleClicks);
  else
    FControlStyle.Exclude(csDoubleClicks);
}

void TPxButton::SetGlyphSpacing(Integer value) {
  FGlyphSpacing = std::clamp(value, -1000, 1000);
  Invalidate();
}

void TPxButton::SetLayout(TPxButtonLayout value) {
  FLayout = value;
  Invalidate();
}

void TPxButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TCustomControl::Click();
}

void TPxButton::DrawFace(TCanvas& c, const TRect& client) {
  if (IsThemed()) {
    c.Brush().SetColor(Color());
    c.FillRect(client);
    int state = 1;
    if (FKeyPressed)
      state = 3;
    else if (FHover)
      state = FPressed || FDown ? 3 : 2;
    else if (FDown)
      state = 3;
    else if (Focused())
      state = 5;
    if (!Enabled()) state = 4;
    DrawThemeElement(Handle(), c.Handle(), client, u"button", 1, state);
    return;
  }
  TRect r = client;
  if (Focused()) {
    c.Brush().SetColor(clWindowFrame);
    c.FrameRect(r);
    r.Inflate(-1, -1);
  }
  c.Brush().SetColor(clBtnFace);
  c.FillRect(r);
  if ((FPressed && FHover) || FDown || FKeyPressed) {
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(r);
    return;
  }
  c.Pen().SetColor(clBtnHighlight);
  c.Polyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 1, r.Top}});
  c.Pen().SetColor(cl3DDkShadow);
  c.Polyline({{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}});
  r.Inflate(-1, -1);
  c.Pen().SetColor(clBtnShadow);
  c.Polyline({{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}});
}

void TPxButton::DrawCaption(TCanvas& c, const TRect& rect, TAlignment alignment) {
  c.Brush().SetStyle(bsClear);
  if (Enabled())
    DrawCaptionText(c, rect, alignment, Caption(), false);
  else
    DrawEmbossedText(c, rect, Caption(), alignment, false);
  c.Brush().SetStyle(bsSolid);
}

void TPxButton::Paint() {
  const Integer cw = ClientWidth(), ch = ClientHeight();
  if (cw <= 0 || ch <= 0) return;
  TBitmap buffer(cw, ch, pf24bit);
  TCanvas& c = buffer.Canvas();
  DrawFace(c, Rect(0, 0, cw, ch));
  c.Font().Assign(&Font());
  TBitmap& glyph = Enabled() ? *FGlyph : *FGrayGlyph;
  if (glyph.Empty()) {
    DrawCaption(c, Rect(0, 0, cw, ch - 1), taCenter);
  } else {
    if (!Enabled()) c.Font().SetColor(clGrayText);
    const TSize text = Caption().empty() ? TSize{0, 0} : c.TextExtent(Caption());
    const Integer tw = text.cx, th = text.cy;
    const Integer spacing = Caption().empty() ? 0 : FGlyphSpacing;
    const Integer gw = glyph.Width(), gh = glyph.Height();
    const Integer gx = cw / 2 - gw / 2, gy = ch / 2 - gh / 2;
    TPoint at{gx, gy};
    TRect textRect;
    TAlignment alignment = taLeftJustify;
    switch (FLayout) {
      case pblGlyphLeft:
        at = Point(gx - tw / 2, gy);
        textRect = Rect(gx + spacing + gw - tw / 2, 0, cw, ch - 1);
        break;
      case pblGlyphRight:
        at = Point(gx + tw / 2, gy);
        textRect = Rect(gx + tw / 2 - tw - spacing, 0, cw, ch - 1);
        break;
      case pblGlyphTop: {
        at = Point(gx, gy - th / 2);
        const Integer top = gy + gh - th / 2;
        textRect = Rect(0, top, cw - 1, top + th);
        alignment = taCenter;
        break;
      }
      case pblGlyphBottom: {
        at = Point(gx, gy + th / 2);
        const Integer top = gy + th / 2 - th;
        textRect = Rect(0, top, cw - 1, top + th);
        alignment = taCenter;
        break;
      }
    }
    c.Draw(at.X, at.Y, glyph);
    DrawCaption(c, textRect, alignment);
  }
  if (FShowArrow) {
    const Integer m = ch / 2;
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clBlack);
    c.Polygon({{cw - 19, m - 2}, {cw - 12, m - 2}, {cw - 16, m + 2}, {cw - 20, m - 2}});
  }
  Canvas().Draw(0, 0, buffer);
}

void TPxButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseDown(button, shift, x, y);
  if (guard.Gone()) return;
  FPressed = true;
  if (!Focused() && CanFocus()) SetFocus();
  if (guard.Gone()) return;
  Invalidate();
  if (FShowArrow && PopupMenu()) {
    POINT corner{0, Height()};
    ::ClientToScreen(Handle(), &corner);
    PopupMenu()->Popup(corner.x, corner.y);
    if (guard.Gone()) return;
    FPressed = false;
    Invalidate();
  }
}

void TPxButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FPressed = false;
  Invalidate();
}

void TPxButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
      FActive = dynamic_cast<TPxButton*>(focused) ? focused == this : FDefault;
      break;
    }
    case CM_DIALOGKEY: {
      const bool pressed = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
      if (Enabled() && pressed && KeyDataToShiftState(m.LParam).Empty()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case WM_KEYDOWN:
      TCustomControl::Dispatch(m);
      if (m.WParam == VK_SPACE) {
        FKeyPressed = true;
        Invalidate();
      }
      return;
    case WM_KEYUP:
      TCustomControl::Dispatch(m);
      FKeyPressed = false;
      if (m.WParam == VK_SPACE) {
        Invalidate();
        Click();
      }
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(m);
      if (!ComponentState().Contains(csDesigning)) {
        FHover = m.Msg == CM_MOUSEENTER;
        Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
    case CM_ENTER:
    case CM_EXIT:
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Label

void TPxLabelMargins::Describe(TClassBuilder<TPxLabelMargins>& c) {
  c.Property(u"Horizontal", &TPxLabelMargins::Horizontal, &TPxLabelMargins::SetHorizontal);
  c.Property(u"Vertical", &TPxLabelMargins::Vertical, &TPxLabelMargins::SetVertical);
}

void TPxLabelMargins::SetHorizontal(Integer value) {
  value = std::clamp(value, -10000, 10000);
  if (value == FHorizontal) return;
  FHorizontal = value;
  if (OnUpdate) OnUpdate(this);
}

void TPxLabelMargins::SetVertical(Integer value) {
  value = std::clamp(value, -10000, 10000);
  if (value == FVertical) return;
  FVertical = value;
  if (OnUpdate) OnUpdate(this);
}

void TPxLabel::Describe(TClassBuilder<TPxLabel>& c) {
  c.Property(u"Associate", &TPxLabel::Associate, &TPxLabel::SetAssociate);
  c.Property(u"HorizontalPosition", &TPxLabel::HorizontalPosition, &TPxLabel::SetHorizontalPosition);
  c.Property(u"InnerHorizontal", &TPxLabel::InnerHorizontal, &TPxLabel::SetInnerHorizontal);
  c.Property(u"InnerMargins", &TPxLabel::GetInnerMargins, &TPxLabel::SetInnerMargins);
  c.Property(u"InnerVertical", &TPxLabel::InnerVertical, &TPxLabel::SetInnerVertical);
  c.Property(u"VerticalPosition", &TPxLabel::VerticalPosition, &TPxLabel::SetVerticalPosition);
}

TPxLabel::TPxLabel(TComponent* owner) : TLabel(owner), FInnerMargins(std::make_unique<TPxLabelMargins>()) {
  FInnerMargins->SetVertical(2);
  FInnerMargins->OnUpdate = TNotifyEvent([this](TObject*) { Place(); });
}

TPxLabel::~TPxLabel() {
  if (FAssociate) {
    FAssociate->SetWindowProc(FWindowProc);
    FAssociate->RemoveFreeNotification(this);
  }
  FInnerMargins->OnUpdate = {};
}

void TPxLabel::SetAssociate(TControl* value) {
  if (value == FAssociate || value == this) return;
  if (FAssociate) {
    FAssociate->SetWindowProc(FWindowProc);
    FAssociate->RemoveFreeNotification(this);
  }
  FAssociate = value;
  FWindowProc = {};
  if (!FAssociate) return;
  FWindowProc = FAssociate->WindowProc();
  FAssociate->SetWindowProc(TWndMethod(this, &TPxLabel::AssociateWndProc));
  FAssociate->FreeNotification(this);
  Place();
}

void TPxLabel::AssociateWndProc(TMessage& m) {
  const bool moved = (m.Msg == WM_MOVE || m.Msg == WM_SIZE || m.Msg == WM_WINDOWPOSCHANGED) && FAssociate &&
                     !FAssociate->ComponentState().Contains(csDestroying);
  if (moved) Place();
  if (FWindowProc) FWindowProc(m);
  // The associate takes its new bounds while it handles the message.
  if (moved) Place();
}

void TPxLabel::Notification(TComponent* component, TOperation operation) {
  TLabel::Notification(component, operation);
  // The notice comes from the associate's last destructor: its window
  // procedure is gone already, and writing one back would free it twice.
  if (operation == opRemove && component == FAssociate) {
    FAssociate = nullptr;
    FWindowProc = {};
  }
}

void TPxLabel::Place() {
  if (!FAssociate) return;
  const Integer mh = FInnerMargins->Horizontal(), mv = FInnerMargins->Vertical();
  const Integer w = Width(), h = Height();
  const TControl& a = *FAssociate;
  Integer x = 0, y = 0;
  switch (FHorizontalPosition) {
    case hpLeft: x = FInnerHorizontal ? a.Left() + mh : a.Left() - w - mh; break;
    case hpCenter: x = a.Left() + a.Width() / 2 - w / 2 + mh; break;
    case hpRight: x = FInnerHorizontal ? a.Left() + a.Width() - w - mh : a.Left() + a.Width() + mh; break;
  }
  switch (FVerticalPosition) {
    case vpTop: y = FInnerVertical ? a.Top() + mv : a.Top() - h - mv; break;
    case vpMiddle: y = a.Top() + a.Height() / 2 - h / 2 + mv; break;
    case vpBottom: y = FInnerVertical ? a.Top() + a.Height() - h + mv : a.Top() + a.Height() + mv; break;
  }
  SetBounds(x, y, w, h);
}

void TPxLabel::SetHorizontalPosition(THorizontalPosition value) {
  FHorizontalPosition = value;
  Place();
}

void TPxLabel::SetVerticalPosition(TVerticalPosition value) {
  FVerticalPosition = value;
  Place();
}

void TPxLabel::SetInnerHorizontal(bool value) {
  FInnerHorizontal = value;
  Place();
}

void TPxLabel::SetInnerVertical(bool value) {
  FInnerVertical = value;
  Place();
}

void TPxLabel::SetInnerMargins(const TPxLabelMargins* value) {
  if (!value) return;
  if (value->Horizontal() == FInnerMargins->Horizontal() && value->Vertical() == FInnerMargins->Vertical()) return;
  FInnerMargins->SetHorizontal(value->Horizontal());
  FInnerMargins->SetVertical(value->Vertical());
  Place();
}

void TPxLabel::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxLabel*>(source)) {
    SetAssociate(other->FAssociate);
    FHorizontalPosition = other->FHorizontalPosition;
    FInnerMargins->SetHorizontal(other->FInnerMargins->Horizontal());
    FInnerMargins->SetVertical(other->FInnerMargins->Vertical());
    SetVerticalPosition(other->FVerticalPosition);
    return;
  }
  TLabel::Assign(source);
}

void TPxLabel::Dispatch(TMessage& m) {
  TLabel::Dispatch(m);
  if (m.Msg == CM_TEXTCHANGED) Place();
}
