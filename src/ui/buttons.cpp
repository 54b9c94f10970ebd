#include "ui/buttons.h"

#include <algorithm>

#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TBitBtn, "Buttons")

const TTypeInfo& DescribeType(TypeTag<TBitBtnKind>) {
  static const TEnumTypeInfo t(u"TBitBtnKind", u"Buttons",
                               {u"bkCustom", u"bkOK", u"bkCancel", u"bkHelp", u"bkYes", u"bkNo", u"bkClose", u"bkAbort",
                                u"bkRetry", u"bkIgnore", u"bkAll"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TButtonLayout>) {
  static const TEnumTypeInfo t(u"TButtonLayout", u"Buttons",
                               {u"blGlyphLeft", u"blGlyphRight", u"blGlyphTop", u"blGlyphBottom"});
  return t;
}

const TOrdinalTypeInfo& NumGlyphsType() {
  static const TOrdinalTypeInfo t(tkInteger, u"TNumGlyphs", u"Buttons", otSByte, 1, 4);
  return t;
}

String BitBtnCaption(TBitBtnKind kind) {
  static const char16_t* const captions[] = {u"",       u"OK",    u"Cancel", u"&Help",   u"&Yes", u"&No",
                                             u"&Close", u"Abort", u"&Retry", u"&Ignore", u"&All"};
  return captions[kind];
}

TModalResult BitBtnModalResult(TBitBtnKind kind) {
  static const TModalResult results[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                         mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
  return results[kind];
}

void TBitBtn::Describe(TClassBuilder<TBitBtn>& c) {
  KST_KEPT_PROPERTY(u"Style", BitBtnStyle).Default(bsAutoDetect);
  publish::StyleElements(c);
  KST_KEPT_PROPERTY(u"WordWrap", WordWrap).Default(0);
  publish::KeptWindowed(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Cancel", &TButton::Cancel, &TButton::SetCancel).Default(0);
  c.Property(u"Caption", &TControl::GetText, &TControl::SetText).StoredWhen([](const TBitBtn& o) {
    return o.Kind() == bkCustom || o.Caption() != BitBtnCaption(o.Kind());
  });
  publish::Constraints(c);
  c.Property(u"Default", &TButton::Default, &TButton::SetDefault).Default(0);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph);
  c.Property(u"Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
  c.Property(u"Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  c.Property(u"Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
  c.Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult, &ModalResultType())
      .StoredWhen([](const TBitBtn& o) { return o.Kind() == bkCustom && o.ModalResult() != mrNone; });
  c.Property(u"NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, &NumGlyphsType()).Default(1);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TBitBtn::TabStop, &TBitBtn::SetTabStop).Default(1);
  publish::Visible(c);
  c.Property(u"OnClick", &TBitBtn::OnClick);
  c.Property(u"OnContextPopup", &TBitBtn::OnContextPopup);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnMouseDown", &TBitBtn::OnMouseDown);
  c.Property(u"OnMouseEnter", &TBitBtn::OnMouseEnter);
  c.Property(u"OnMouseLeave", &TBitBtn::OnMouseLeave);
  c.Property(u"OnMouseMove", &TBitBtn::OnMouseMove);
  c.Property(u"OnMouseUp", &TBitBtn::OnMouseUp);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

TBitBtn::~TBitBtn() {
  FGlyph->OnChange = TNotifyEvent();
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool isDefault) {
  // An owner-drawn window has no default style of its own: we draw the frame.
  if (isDefault == FIsDefault) return;
  FIsDefault = isDefault;
  Invalidate();
}

void TBitBtn::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      if (auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)) DrawItem(*item);
      m.Result = TRUE;
      break;
    case WM_LBUTTONDBLCLK:
      // A quick second press is a press like the first, not a double click.
      m.Msg = WM_LBUTTONDOWN;
      TButton::Dispatch(m);
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      TButton::Dispatch(m);
      Invalidate();
      break;
    default: TButton::Dispatch(m); break;
  }
}

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::SetGlyph(const TBitmap* glyph) {
  FGlyph->Assign(glyph);
}

void TBitBtn::GlyphChanged(TObject*) {
  // A strip of square pictures tells how many it holds.
  Integer w = FGlyph->Width(), h = FGlyph->Height();
  if (h > 0 && w > h && w % h == 0 && w / h <= 4) FNumGlyphs = w / h;
  Invalidate();
}

TBitBtnKind TBitBtn::Kind() const {
  if (FKind != bkCustom) {
    bool defaultKind = FKind == bkOK || FKind == bkYes;
    bool cancelKind = FKind == bkCancel || FKind == bkNo;
    if (defaultKind != Default() || cancelKind != Cancel() || ModalResult() != BitBtnModalResult(FKind))
      FKind = bkCustom;
  }
  return FKind;
}

void TBitBtn::SetKind(TBitBtnKind value) {
  if (value == FKind) return;
  if (value != bkCustom) {
    SetDefault(value == bkOK || value == bkYes);
    SetCancel(value == bkCancel || value == bkNo);
    // A caption read from the form before the kind stays.
    if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(BitBtnCaption(value));
    SetModalResult(BitBtnModalResult(value));
  }
  FKind = value;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TBitBtn::SetMargin(Integer value) {
  value = std::max(-1, value);
  if (value == FMargin) return;
  FMargin = value;
  Invalidate();
}

void TBitBtn::SetSpacing(Integer value) {
  value = std::max(-1, value);
  if (value == FSpacing) return;
  FSpacing = value;
  Invalidate();
}

void TBitBtn::SetNumGlyphs(Integer value) {
  value = std::clamp<Integer>(value, 1, 4);
  if (value == FNumGlyphs) return;
  FNumGlyphs = value;
  Invalidate();
}

void TBitBtn::CalcLayout(const TRect& client, TRect& glyphRect, TRect& textRect) {
  TSize glyph{0, 0};
  if (!FGlyph->Empty()) glyph = {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
  String caption = Caption();
  TSize text{0, 0};
  if (!caption.empty()) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    RECT r{0, 0, client.Width(), 0};
    DrawTextW(dc, WStr(caption), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    text = {r.right - r.left, r.bottom - r.top};
  }
  bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  Integer room = horizontal ? client.Width() : client.Height();
  Integer glyphSize = horizontal ? glyph.cx : glyph.cy;
  Integer textSize = horizontal ? text.cx : text.cy;
  Integer margin = FMargin, spacing = FSpacing;
  if (glyphSize == 0 || textSize == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      // Glyph, caption and the gaps around them all alike.
      Integer gap = (room - glyphSize - textSize) / 3;
      margin = spacing = std::max(0, gap);
    } else {
      margin = std::max(0, (room - glyphSize - spacing - textSize) / 2);
    }
  } else if (spacing == -1) {
    spacing = std::max(0, (room - margin - glyphSize - textSize) / 2);
  }
  // Positions along the layout's axis, from the near edge.
  Integer glyphPos = 0, textPos = 0;
  switch (FLayout) {
    case blGlyphLeft:
    case blGlyphTop:
      glyphPos = margin;
      textPos = margin + glyphSize + spacing;
      break;
    case blGlyphRight:
    case blGlyphBottom:
      glyphPos = room - margin - glyphSize;
      textPos = glyphPos - spacing - textSize;
      break;
  }
  if (horizontal) {
    glyphRect = Bounds(client.Left + glyphPos, client.Top + (client.Height() - glyph.cy) / 2, glyph.cx, glyph.cy);
    textRect = Bounds(client.Left + textPos, client.Top + (client.Height() - text.cy) / 2, text.cx, text.cy);
  } else {
    glyphRect = Bounds(client.Left + (client.Width() - glyph.cx) / 2, client.Top + glyphPos, glyph.cx, glyph.cy);
    textRect = Bounds(client.Left + (client.Width() - text.cx) / 2, client.Top + textPos, text.cx, text.cy);
  }
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  TRect r = FromRECT(item.rcItem);
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool focused = (item.itemState & ODS_FOCUS) != 0;
  bool disabled = (item.itemState & ODS_DISABLED) != 0 || !Enabled();

  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Brush().SetColor(clBtnFace);
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(r);
  if (FIsDefault || focused) {
    // The button Enter presses has a dark frame around it.
    canvas.Brush().SetColor(clWindowFrame);
    canvas.FrameRect(r);
    r.Inflate(-1, -1);
  }
  RECT frame = ToRECT(r);
  DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  TRect client = r;
  client.Inflate(-2, -2);
  if (pressed) client.Offset(1, 1);

  TRect glyphRect, textRect;
  CalcLayout(client, glyphRect, textRect);
  if (!FGlyph->Empty() && glyphRect.Width() > 0) {
    Integer index = 0;
    if (disabled && FNumGlyphs > 1)
      index = 1;
    else if (pressed && FNumGlyphs > 2)
      index = 2;
    Integer w = glyphRect.Width(), h = glyphRect.Height();
    HDC source = FGlyph->Canvas().Handle();
    auto transparent = static_cast<UINT>(ColorToRGB(FGlyph->TransparentColor()) & 0xFFFFFF);
    if (disabled && FNumGlyphs == 1) {
      // No picture of its own for the disabled state: the shape in grey.
      HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
      for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x)
          if ((GetPixel(source, x, y) & 0xFFFFFF) != transparent) {
            RECT px{glyphRect.Left + x, glyphRect.Top + y, glyphRect.Left + x + 1, glyphRect.Top + y + 1};
            FillRect(dc, &px, shadow);
          }
    } else {
      TransparentBlt(dc, glyphRect.Left, glyphRect.Top, w, h, source, index * w, 0, w, h, transparent);
    }
  }
  String caption = Caption();
  if (!caption.empty()) {
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsClear);
    UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (disabled) {
      TRect shifted = textRect;
      shifted.Offset(1, 1);
      canvas.Font().SetColor(clBtnHighlight);
      canvas.DrawText(caption, shifted, flags);
      canvas.Font().SetColor(clBtnShadow);
    }
    canvas.DrawText(caption, textRect, flags);
  }
  if (focused) {
    TRect focus = r;
    focus.Inflate(-4, -4);
    RECT fr = ToRECT(focus);
    SetTextColor(dc, 0);
    SetBkColor(dc, 0xFFFFFF);
    ::DrawFocusRect(dc, &fr);
  }
  canvas.SetHandle(nullptr);
}
