#include "panelkit/win32/iconlist.h"

#include <algorithm>
#include <cmath>

#include "panelkit/win32/collectionparts.h"
#include "panelkit/win32/shareddraw.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxIconList, "PxCollection")

namespace {

// Between an icon and its caption.
constexpr Integer kCaptionGap = 8;

}  // namespace

void TPxIconList::Describe(TClassBuilder<TPxIconList>& c) {
  using P = TPxIconList;
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BorderColor", &P::BorderColor, &P::SetBorderColor, &types::Color());
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Images", &P::Images, &P::SetImages);
  c.Property(u"ItemIndex", &P::ItemIndex, &P::SetItemIndex).Default(-1);
  c.Property(u"Items", &P::GetItems, &P::SetItems);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::ParentFont(c);
  publish::PopupMenu(c);
  c.Property(u"ScrollBarColor", &P::ScrollBarColor, &P::SetScrollBarColor, &types::Color()).Default(clHighlight);
  c.Property(u"ScrollBarHeight", &P::ScrollBarHeight, &P::SetScrollBarHeight, &types::Color()).Default(16);
  publish::ShowHint(c);
  c.Property(u"Spacing", &P::Spacing, &P::SetSpacing);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
  publish::Visible(c);
  c.Property(u"OnChange", &P::OnChange);
  publish::KeyboardControlEvents(c);
}

TPxIconList::TPxIconList(TComponent* owner) : TCustomControl(owner), FItems(std::make_unique<TStringList>()) {
  SetParentColor(false);
  SetColor(clWindow);
}

TPxIconList::~TPxIconList() {
  if (FImages) FImages->RemoveFreeNotification(this);
}

void TPxIconList::SetBorderColor(TColor value) {
  FBorderColor = value;
  Invalidate();
}

void TPxIconList::SetImages(TCustomImageList* value) {
  if (WatchImages(*this, FImages, value)) Invalidate();
}

void TPxIconList::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

void TPxIconList::SetItems(const TStrings* value) {
  if (value) FItems->Assign(*value);
  Invalidate();
}

void TPxIconList::SetItemIndex(Integer value) {
  if (ComponentState().Contains(csLoading) || value == FItemIndex) return;
  const Integer old = FItemIndex;
  FItemIndex = value;
  if (old != -1) RefreshItem(old, true);
  if (value != -1) RefreshItem(value, true);
  if (OnChange) OnChange(this);
}

void TPxIconList::SetScrollBarColor(TColor value) {
  FScrollBarColor = value;
  Invalidate();
}

void TPxIconList::SetScrollBarHeight(Integer value) {
  FScrollBarHeight = value;
  Invalidate();
}

void TPxIconList::SetSpacing(Integer value) {
  FSpacing = value;
  Invalidate();
}

// Without an image list the items take no room for icons: captions only.
Integer TPxIconList::ImageWidth() const {
  return FImages ? FImages->Width() : 0;
}

Integer TPxIconList::ImageHeight() const {
  return FImages ? FImages->Height() : 0;
}

// ---------------------------------------------------------------------------
// Geometry

TRect TPxIconList::GetItemsRect() const {
  return Rect(1, 1, ClientWidth() - 1, ClientHeight() - FScrollBarHeight);
}

TRect TPxIconList::GetScrollTrackRect() const {
  const TRect items = GetItemsRect();
  return Rect(kTrackInset, items.Bottom + kTrackInset, ClientWidth() - kTrackInset, ClientHeight() - kTrackInset);
}

Integer TPxIconList::GetContentWidth() const {
  return FItems->Count() * ItemPitch();
}

// One pixel of thumb scrolls the items by one pixel.
Integer TPxIconList::CalcThumbWidth() const {
  const Integer track = TrackWidth();
  return track - (GetContentWidth() - track);
}

// Items that fit in the track get a thumb as wide as the track, not wider.
Integer TPxIconList::GetThumbWidth() const {
  return std::max(kLeastThumbWidth, std::min(CalcThumbWidth(), std::max(TrackWidth(), kLeastThumbWidth)));
}

TRect TPxIconList::GetThumbRect() const {
  const TRect track = GetScrollTrackRect();
  const Integer left = FPosition + kTrackInset;
  return Rect(left, track.Top, left + GetThumbWidth(), track.Bottom);
}

TPxIconList::TItemPlace TPxIconList::PlaceOf(Integer index, TCanvas& canvas) const {
  const TRect items = GetItemsRect();
  const Integer left = -FIndent + index * ItemPitch() + FSpacing;
  const Integer height = canvas.TextHeight(FItems->Strings(index)) + ImageHeight() + kCaptionGap;
  return TItemPlace{left, (items.Bottom - items.Top) / 2 - height / 2, height};
}

Integer TPxIconList::GetItemAtPos(Integer x, Integer y) {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  for (Integer i = 0; i < FItems->Count(); ++i) {
    const TItemPlace place = PlaceOf(i, canvas);
    if (place.Left <= x && x <= place.Left + ImageWidth() && place.Top <= y && y <= place.Top + place.Height) return i;
  }
  return -1;
}

TRect TPxIconList::GetItemRect(Integer index, bool expand) {
  if (index < 0 || index >= FItems->Count()) return TRect{};
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  const TItemPlace place = PlaceOf(index, canvas);
  TRect r = Rect(place.Left, place.Top, place.Left + ImageWidth(), place.Top + ImageHeight());
  if (expand) r = Rect(r.Left - kExpansion, r.Top - kExpansion, r.Right + kExpansion, r.Bottom + kExpansion);
  return r;
}

void TPxIconList::RefreshItem(Integer index, bool expand) {
  if (HandleAllocated()) InvalidateWithoutErase(*this, GetItemRect(index, expand));
}

void TPxIconList::ScrollArea(const TRect& rect, Integer deltaX) {
  if (!HandleAllocated()) return;
  const RECT area{rect.Left, rect.Top, rect.Right, rect.Bottom};
  ScrollWindowEx(Handle(), deltaX, 0, &area, &area, nullptr, nullptr, SW_INVALIDATE);
}

void TPxIconList::ScrollItems(Integer deltaX) {
  ScrollArea(GetItemsRect(), deltaX);
}

void TPxIconList::ScrollThumb(Integer deltaX) {
  ScrollArea(GetScrollTrackRect(), deltaX);
}

// ---------------------------------------------------------------------------
// Messages, keys and the pointer

void TPxIconList::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TPxIconList::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_LEFT && FPosition > 0) --FPosition;
  if (key == VK_RIGHT && GetThumbWidth() + FPosition < TrackWidth()) ++FPosition;
  FIndent = FPosition;
  Invalidate();
}

void TPxIconList::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  const TRect thumb = GetThumbRect();
  if (thumb.Contains(TPoint{x, y})) {
    FThumbPressed = true;
    FThumbMousePos = x - thumb.Left;
    FOldPosition = FPosition;
  }
}

void TPxIconList::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  const Integer hover = GetItemAtPos(x, y);
  if (hover != FHoverIndex) {
    const Integer old = FHoverIndex;
    FHoverIndex = hover;
    if (old != -1) RefreshItem(old, true);
    if (hover != -1) RefreshItem(hover, true);
  }
  SetCursor(FHoverIndex != -1 ? crHandPoint : crDefault);
  if (FThumbPressed) DragThumb(x);
}

void TPxIconList::DragThumb(Integer x) {
  const Integer track = TrackWidth();
  const Integer limit = std::max(0, track - GetThumbWidth());
  const Integer value = std::min(std::max(0, x - FThumbMousePos), limit);
  if (CalcThumbWidth() < 1) {
    FPosition = value;
    // Each thumb pixel scrolls the items by the content's share of the track.
    FIndent = static_cast<Integer>(std::nearbyint(static_cast<double>(GetContentWidth()) / track)) * FPosition;
    Invalidate();
    return;
  }
  const Integer old = FIndent;
  if (value == old) return;
  FIndent = value;
  FPosition = value;
  ScrollItems(old - value);
  ScrollThumb(value - old);
}

void TPxIconList::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FThumbPressed = false;
  const Integer index = GetItemAtPos(x, y);
  if (index != -1) SetItemIndex(index);
}

void TPxIconList::CMMouseLeave(TMessage& m) {
  TCustomControl::CMMouseLeave(m);
  const Integer old = FHoverIndex;
  FHoverIndex = -1;
  if (old != -1) RefreshItem(old, true);
}

// ---------------------------------------------------------------------------
// Painting

void TPxIconList::Paint() {
  const Integer width = ClientWidth();
  const Integer height = ClientHeight();
  if (width <= 0 || height <= 0) return;
  TBitmap buffer(width, height);
  TCanvas& canvas = buffer.Canvas();
  canvas.Font().Assign(&Font());
  const TRect client = Rect(0, 0, width, height);
  const TRect items = GetItemsRect();
  canvas.Brush().SetColor(FBorderColor);
  canvas.FrameRect(client);
  canvas.FillRect(Rect(1, items.Bottom, width - 1, height - 1));
  canvas.Brush().SetColor(Color());
  canvas.FillRect(items);
  SetClipRect(canvas, items);
  const Integer imageWidth = ImageWidth();
  const Integer imageHeight = ImageHeight();
  for (Integer i = 0; i < FItems->Count(); ++i) {
    const TItemPlace place = PlaceOf(i, canvas);
    if (FImages && i < FImages->Count()) {
      if (i == FHoverIndex || i == FItemIndex) {
        TBitmap icon(imageWidth, imageHeight);
        icon.Canvas().Brush().SetColor(Color());
        icon.Canvas().FillRect(Rect(0, 0, imageWidth, imageHeight));
        FImages->Draw(icon.Canvas(), 0, 0, i, true);
        canvas.StretchDraw(Rect(place.Left - kExpansion, place.Top - kExpansion, place.Left + imageWidth + kExpansion,
                                place.Top + imageHeight),
                           icon);
      } else {
        FImages->Draw(canvas, place.Left, place.Top, i, true);
      }
    }
    const String& caption = FItems->Strings(i);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(place.Left + imageWidth / 2 - canvas.TextWidth(caption) / 2, place.Top + imageHeight + kCaptionGap,
                   caption);
    canvas.Brush().SetStyle(bsSolid);
  }
  ClearClip(canvas);
  canvas.Brush().SetColor(FScrollBarColor);
  canvas.FillRect(GetThumbRect());
  Canvas().Draw(0, 0, buffer);
}
