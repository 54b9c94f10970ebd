#include "panelkit/win32/linkmenu.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "panelkit/win32/collectionparts.h"
// Declares the type of the (Sender, Integer) events that the explicit type info stands in for.
#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/extctrls.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxSectionItem, "PxLinkMenu")
KST_CLASS_IMPL(TPxSectionItems, "PxLinkMenu")
KST_CLASS_IMPL(TPxSection, "PxLinkMenu")
KST_CLASS_IMPL(TPxSections, "PxLinkMenu")
KST_CLASS_IMPL(TPxLinkMenu, "PxLinkMenu")

namespace {

// The explorer bar's parts and the button's size in a header.
constexpr int kPartItems = 5;
constexpr int kPartHeader = 8;
constexpr int kPartSpecialHeader = 12;
constexpr Integer kButtonRight = 6;
constexpr Integer kButtonLeft = 23;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TShowingItem>) {
  static const TEnumTypeInfo t(u"TShowingItem", u"PxLinkMenu", {u"siLink", u"siShowImage"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TShowingItems>) {
  static const TSetTypeInfo t(u"TShowingItems", u"PxLinkMenu",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TShowingItem>{})));
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TItemClickEvent>) {
  static const TMethodTypeInfo t(u"TItemClickEvent", u"PxLinkMenu", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"Item", u"TPxSectionItem"}});
  return t;
}

const TMethodTypeInfo& SectionClickEventType() {
  static const TMethodTypeInfo t(u"TPxSectionClickEvent", u"PxLinkMenu", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"Section", u"Integer"}});
  return t;
}

// ---------------------------------------------------------------------------
// Items

void TPxSectionItem::Describe(TClassBuilder<TPxSectionItem>& c) {
  using P = TPxSectionItem;
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  c.Property(u"ImageIndex", &P::ImageIndex, &P::SetImageIndex).Default(-1);
  c.Property(u"Font", &P::GetFont, &P::SetFont);
  c.Property(u"Options", &P::Options, &P::SetOptions)
      .Default(static_cast<Integer>(TShowingItems{siLink, siShowImage}.Bits()));
}

TPxSectionItem::TPxSectionItem(TCollection* collection)
    : TCollectionItem(collection), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = TNotifyEvent(this, &TPxSectionItem::FontChanged);
}

TPxSectionItem::~TPxSectionItem() {
  FFont->OnChange = {};
}

TPxSection* TPxSectionItem::Section() const {
  auto* items = dynamic_cast<TPxSectionItems*>(Collection());
  return items ? items->Section() : nullptr;
}

TPxLinkMenu* TPxSectionItem::Menu() const {
  TPxSection* section = Section();
  return section ? section->Menu() : nullptr;
}

void TPxSectionItem::SetCaption(const String& value) {
  FCaption = value;
  Refresh();
}

void TPxSectionItem::SetImageIndex(Integer value) {
  FImageIndex = value;
  Refresh();
}

void TPxSectionItem::SetOptions(TShowingItems value) {
  FOptions = value;
  Refresh();
}

void TPxSectionItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxSectionItem*>(source)) {
    FCaption = other->FCaption;
    FImageIndex = other->FImageIndex;
    FOptions = other->FOptions;
    FFont->Assign(other->FFont.get());
    Refresh();
    return;
  }
  TCollectionItem::Assign(source);
}

void TPxSectionItem::Refresh() {
  if (TPxLinkMenu* menu = Menu()) menu->RefreshItem(this);
}

void TPxSectionItems::Describe(TClassBuilder<TPxSectionItems>&) {}

TPxSectionItems::TPxSectionItems(TPxSection* owner) : TCollection(TPxSectionItem::StaticClass()), FOwner(owner) {}

TPersistent* TPxSectionItems::GetOwner() const {
  return FOwner;
}

void TPxSectionItems::Notify(TCollectionItem* item, bool added) {
  TPxLinkMenu* menu = FOwner ? FOwner->Menu() : nullptr;
  if (!menu) return;
  if (!added) menu->EntryRemoved(item);
  menu->Invalidate();
}

// ---------------------------------------------------------------------------
// Sections

void TPxSection::Describe(TClassBuilder<TPxSection>& c) {
  using P = TPxSection;
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  c.Property(u"Expanded", &P::Expanded, &P::SetExpanded).Default(1);
  c.Property(u"Glyph", &P::GetGlyph, &P::SetGlyph);
  c.Property(u"Items", &P::GetItems, &P::SetItems);
  c.Property(u"SectionMargins", &P::GetSectionMargins, &P::SetSectionMargins);
  c.Property(u"Special", &P::Special, &P::SetSpecial).Default(0);
  c.Property(u"Transparent", &P::Transparent, &P::SetTransparent).Default(0);
  c.Property(u"TransparentColor", &P::TransparentColor, &P::SetTransparentColor, &types::Color()).Default(clNone);
}

TPxSection::TPxSection(TCollection* collection)
    : TCollectionItem(collection),
      FGlyph(std::make_unique<TBitmap>()),
      FItems(std::make_unique<TPxSectionItems>(this)),
      FSectionMargins(std::make_unique<TPxMargins>()) {
  FSectionMargins->SetRect(5, 5, 5, 5);
  FGlyph->OnChange = TNotifyEvent(this, &TPxSection::GlyphChanged);
}

// The items go first, while the section can still tell the menu about them.
TPxSection::~TPxSection() {
  FGlyph->OnChange = {};
  FItems->Clear();
}

TPxLinkMenu* TPxSection::Menu() const {
  auto* sections = dynamic_cast<TPxSections*>(Collection());
  return sections ? sections->Menu() : nullptr;
}

void TPxSection::SetExpanded(bool value) {
  if (value == FExpanded) return;
  FExpanded = value;
  if (TPxLinkMenu* menu = Menu()) menu->ScrollSection(value, Index());
}

void TPxSection::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  ApplyTransparency();
}

void TPxSection::SetTransparent(bool value) {
  FTransparent = value;
  ApplyTransparency();
}

void TPxSection::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  ApplyTransparency();
}

void TPxSection::ApplyTransparency() {
  const TNotifyEvent saved = FGlyph->OnChange;
  FGlyph->OnChange = {};
  FGlyph->SetTransparent(FTransparent);
  if (FTransparentColor != clNone) FGlyph->SetTransparentColor(FTransparentColor);
  FGlyph->OnChange = saved;
}

void TPxSection::GlyphChanged(TObject*) {
  ApplyTransparency();
  if (TPxLinkMenu* menu = Menu()) menu->RefreshSection(this);
}

void TPxSection::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxSection*>(source)) {
    FCaption = other->FCaption;
    FExpanded = other->FExpanded;
    FSpecial = other->FSpecial;
    FTransparent = other->FTransparent;
    FTransparentColor = other->FTransparentColor;
    FSectionMargins->Assign(other->FSectionMargins.get());
    FItems->Assign(other->FItems.get());
    SetGlyph(other->FGlyph.get());
    return;
  }
  TCollectionItem::Assign(source);
}

void TPxSections::Describe(TClassBuilder<TPxSections>&) {}

TPxSections::TPxSections(TPxLinkMenu* owner) : TCollection(TPxSection::StaticClass()), FOwner(owner) {}

TPersistent* TPxSections::GetOwner() const {
  return FOwner;
}

void TPxSections::Notify(TCollectionItem* item, bool added) {
  if (!FOwner) return;
  if (!added) FOwner->EntryRemoved(item);
  FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// The menu

void TPxLinkMenu::Describe(TClassBuilder<TPxLinkMenu>& c) {
  using P = TPxLinkMenu;
  publish::Align(c);
  publish::Anchors(c);
  publish::BiDiProperties(c);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  publish::Constraints(c);
  publish::DragProperties(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HeaderSize", &P::HeaderSize, &P::SetHeaderSize).Default(25);
  c.Property(u"Images", &P::Images, &P::SetImages);
  c.Property(u"InnerMargins", &P::GetInnerMargins, &P::SetInnerMargins);
  c.Property(u"ItemSize", &P::ItemSize, &P::SetItemSize).Default(20);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  c.Property(u"Sections", &P::GetSections, &P::SetSections);
  c.Property(u"Spacing", &P::Spacing, &P::SetSpacing);
  publish::Visible(c);
  c.Property(u"OnItemClick", &P::OnItemClick);
  c.Property(u"OnSectionClick", &P::OnSectionClick, &SectionClickEventType());
  publish::MouseEvents(c);
  publish::KeyEvents(c);
}

TPxLinkMenu::TPxLinkMenu(TComponent* owner)
    : TPxVertScrollControl(owner),
      FInnerMargins(std::make_unique<TPxMargins>()),
      FSections(std::make_unique<TPxSections>(this)) {
  FInnerMargins->SetRect(10, 10, 10, 10);
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxLinkMenu::MarginsChanged);
  SetBounds(Left(), Top(), 200, 350);
  SetParentColor(false);
  SetColor(clWindow);
}

TPxLinkMenu::~TPxLinkMenu() {
  CloseTheme();
  FInnerMargins->OnChange = {};
  if (FImages) FImages->RemoveFreeNotification(this);
  FSections->Clear();
}

void TPxLinkMenu::CreateWnd() {
  TPxVertScrollControl::CreateWnd();
  CloseTheme();
  const TThemeEntryPoints& e = ThemeEntryPoints();
  if (IsThemed() && e.OpenThemeData && e.DrawThemeBackground && e.CloseThemeData)
    FTheme = e.OpenThemeData(Handle(), L"explorerbar");
}

void TPxLinkMenu::DestroyWnd() {
  CloseTheme();
  TPxVertScrollControl::DestroyWnd();
}

void TPxLinkMenu::CloseTheme() {
  if (FTheme) ThemeEntryPoints().CloseThemeData(FTheme);
  FTheme = nullptr;
}

void TPxLinkMenu::DrawPart(TCanvas& canvas, const TRect& rect, int part) {
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  ThemeEntryPoints().DrawThemeBackground(FTheme, canvas.Handle(), part, 1, &r, &r);
}

void TPxLinkMenu::SetHeaderSize(Integer value) {
  FHeaderSize = value;
  Invalidate();
}

void TPxLinkMenu::SetItemSize(Integer value) {
  FItemSize = value;
  Invalidate();
}

void TPxLinkMenu::SetImages(TCustomImageList* value) {
  if (WatchImages(*this, FImages, value)) Invalidate();
}

void TPxLinkMenu::Notification(TComponent* component, TOperation operation) {
  TPxVertScrollControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

void TPxLinkMenu::EntryRemoved(const TCollectionItem* entry) {
  if (entry == FHoverSection) FHoverSection = nullptr;
  if (entry == FOldHoverSection) FOldHoverSection = nullptr;
  if (entry == FHoverSectionItem) FHoverSectionItem = nullptr;
  if (entry == FOldHoverItem) FOldHoverItem = nullptr;
}

// ---------------------------------------------------------------------------
// Geometry

std::vector<TLinkSectionShape> TPxLinkMenu::Shapes() const {
  std::vector<TLinkSectionShape> shapes;
  for (int i = 0; i < FSections->Count(); ++i) {
    const TPxSection* s = FSections->Items(i);
    shapes.push_back(TLinkSectionShape{s->Expanded(), s->Items().Count(), s->GetSectionMargins()->Top(),
                                       s->GetSectionMargins()->Bottom()});
  }
  return shapes;
}

TLinkMenuMetrics TPxLinkMenu::Metrics() const {
  return TLinkMenuMetrics{
      FHeaderSize, FItemSize, FSpacing, FInnerMargins->Top(), FInnerMargins->Bottom(), VertScrollBar().Position()};
}

Integer TPxLinkMenu::SectionTop(const TPxSection* section) const {
  return LinkSectionTops(Shapes(), Metrics())[static_cast<size_t>(section->Index())];
}

Integer TPxLinkMenu::GetItemsHeight(const TPxSection* section) const {
  return LinkItemsHeight(TLinkSectionShape{section->Expanded(), section->Items().Count(),
                                           section->GetSectionMargins()->Top(), section->GetSectionMargins()->Bottom()},
                         FItemSize);
}

TRect TPxLinkMenu::GetSectionHeaderRect(const TPxSection* section) const {
  const Integer y = SectionTop(section);
  return Rect(FInnerMargins->Left(), y, ClientWidth() - FInnerMargins->Right(), y + FHeaderSize);
}

TRect TPxLinkMenu::GetSectionRect(const TPxSection* section) const {
  TRect r = GetSectionHeaderRect(section);
  r.Top = r.Bottom;
  if (section->Expanded()) r.Bottom += GetItemsHeight(section);
  return r;
}

TPxSection* TPxLinkMenu::GetSectionAtPos(Integer, Integer y) const {
  const Integer index = LinkSectionAtPos(Shapes(), Metrics(), y);
  return index < 0 ? nullptr : FSections->Items(index);
}

TPxSectionItem* TPxLinkMenu::GetSectionItemAtPos(Integer, Integer y) const {
  const TLinkItemHit hit = LinkItemAtPos(Shapes(), Metrics(), y);
  return hit.Section < 0 ? nullptr : GetSectionItem(hit.Section, hit.Item);
}

TPxSectionItem* TPxLinkMenu::GetSectionItem(Integer section, Integer item) const {
  return FSections->Items(section)->Items().Items(item);
}

Integer TPxLinkMenu::GetSectionItemLeft(const TPxSectionItem* item) {
  Canvas().Font().Assign(item->GetFont());
  Integer left = FInnerMargins->Left() + item->Section()->GetSectionMargins()->Left();
  if (FImages) left += FImages->Width() + 7;
  return left;
}

TRect TPxLinkMenu::GetSectionItemRefreshRect(const TPxSectionItem* item) {
  const TPxSection* section = item->Section();
  if (!section || section->Index() < 0) return TRect{};
  const Integer y = LinkItemTop(Shapes(), Metrics(), section->Index(), item->Index());
  const Integer left = GetSectionItemLeft(item);
  return Rect(left, y, left + Canvas().TextWidth(item->Caption()), y + FItemSize);
}

TRect TPxLinkMenu::GetButtonRect(const TRect& r) const {
  const Integer m = r.Top + (r.Bottom - r.Top) / 2;
  return Rect(r.Right - kButtonLeft, m - 8, r.Right - kButtonRight, m + 8);
}

Integer TPxLinkMenu::GetTotalHeigth() const {
  return LinkTotalHeight(Shapes(), Metrics());
}

void TPxLinkMenu::RefreshItem(const TPxSectionItem* item) {
  if (!HandleAllocated() || !item->Section() || !item->Section()->Expanded()) return;
  InvalidateWithoutErase(*this, GetSectionItemRefreshRect(item));
}

void TPxLinkMenu::RefreshSection(const TPxSection* section) {
  if (HandleAllocated() && section->Index() >= 0) InvalidateWithoutErase(*this, GetSectionHeaderRect(section));
}

void TPxLinkMenu::ScrollSection(bool expanded, Integer index) {
  if (!HandleAllocated()) return;
  const TPxSection* section = FSections->Items(index);
  const TRect header = GetSectionHeaderRect(section);
  const Integer amount = GetItemsHeight(section);
  const RECT clip{header.Left, header.Bottom, header.Right, ClientHeight()};
  ScrollWindowEx(Handle(), 0, expanded ? amount : -amount, &clip, &clip, nullptr, nullptr, SW_INVALIDATE);
  RefreshSection(section);
}

void TPxLinkMenu::UpdateScrollRange() {
  TScrollBarModel& bar = VertScrollBar();
  const Integer total = GetTotalHeigth();
  if (ClientHeight() < total) {
    bar.SetPageSize(ClientHeight() + 1);
    bar.SetMax(total);
    bar.SetLargeChange(bar.PageSize());
  } else {
    bar.SetMax(0);
  }
  UpdateVertScrollBar();
}

// ---------------------------------------------------------------------------
// Painting

void TPxLinkMenu::Paint() {
  if (ComponentState().Contains(csDestroying)) return;
  UpdateScrollRange();
  TCanvas& canvas = Canvas();
  const bool themed = FTheme != nullptr;
  const Integer il = FInnerMargins->Left();
  const Integer ir = FInnerMargins->Right();
  const Integer width = ClientWidth();
  const TRect client = Rect(0, 0, width, ClientHeight());
  if (themed) {
    DrawPart(canvas, client, 0);
  } else {
    canvas.Brush().SetColor(clWindow);
    canvas.FillRect(Rect(0, 0, il, ClientHeight()));
    canvas.FillRect(Rect(width - ir, 0, width, ClientHeight()));
    canvas.FillRect(Rect(0, 0, width, FInnerMargins->Top()));
  }
  Integer y = FInnerMargins->Top() - VertScrollBar().Position();
  for (int i = 0; i < FSections->Count(); ++i) {
    const TPxSection* section = FSections->Items(i);
    DrawHeader(canvas, section, y);
    y += FHeaderSize;
    if (section->Expanded()) {
      const TRect r = Rect(il, y, width - ir, y + GetItemsHeight(section));
      if (themed) {
        DrawPart(canvas, r, kPartItems);
      } else {
        const TColor pen = section->Special() ? clHighlight : clBtnFace;
        canvas.Brush().SetColor(section->Special() ? clWindow : clBtnFace);
        canvas.FillRect(r);
        canvas.Pen().SetColor(pen);
        canvas.Polyline(
            {{r.Left, r.Top}, {r.Left, r.Bottom - 1}, {r.Right - 1, r.Bottom - 1}, {r.Right - 1, r.Top - 1}});
      }
      const TPxMargins& sm = *section->GetSectionMargins();
      y += sm.Top();
      for (int j = 0; j < section->Items().Count(); ++j, y += FItemSize)
        DrawItem(canvas, section->Items().Items(j), Rect(il + sm.Left(), y, width - ir - sm.Right(), y + FItemSize));
      y += sm.Bottom();
    }
    if (!themed) {
      canvas.Brush().SetColor(Color());
      canvas.FillRect(Rect(il, y, width - ir, y + FSpacing));
    }
    y += FSpacing;
  }
  if (!themed) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(Rect(il, y, width - ir, ClientHeight()));
  }
}

void TPxLinkMenu::DrawHeader(TCanvas& canvas, const TPxSection* section, Integer y) {
  TRect r = Rect(FInnerMargins->Left(), y, ClientWidth() - FInnerMargins->Right(), y + FHeaderSize);
  const TRect r0 = r;
  const bool themed = FTheme != nullptr;
  canvas.Pen().SetColor(clBtnFace);
  if (themed) {
    DrawPart(canvas, r, section->Special() ? kPartSpecialHeader : kPartHeader);
  } else {
    canvas.Brush().SetColor(section->Special() ? clHighlight : clBtnFace);
    canvas.FillRect(r);
  }
  r.Left += 2;
  TBitmap& glyph = *section->GetGlyph();
  if (!glyph.Empty()) {
    canvas.Draw(r.Left, y + FHeaderSize / 2 - glyph.Height() / 2, glyph);
    r.Left += glyph.Width() + 2;
  }
  canvas.Font().Assign(&Font());
  canvas.Font().SetStyle(TFontStyles{fsBold});
  if (section->Special())
    canvas.Font().SetColor(clHighlightText);
  else
    canvas.Font().SetColor(themed ? clHighlight : clWindowText);
  canvas.Brush().SetStyle(bsClear);
  DrawCaptionText(canvas, r, taLeftJustify, section->Caption(), true);
  canvas.Brush().SetStyle(bsSolid);
  DrawSectionButton(canvas, section, r0);
}

void TPxLinkMenu::DrawSectionButton(TCanvas& canvas, const TPxSection* section, const TRect& r0) {
  const Integer m = r0.Top + (r0.Bottom - r0.Top) / 2;
  if (FTheme) {
    const int part = section->Special() ? (section->Expanded() ? 10 : 11) : (section->Expanded() ? 6 : 7);
    DrawPart(canvas, Rect(r0.Right - kButtonLeft, m - 10, r0.Right - kButtonRight, m + 8), part);
    return;
  }
  TRect button = GetButtonRect(r0);
  DrawArrows(canvas, button.Left, button.Top, section->Expanded(), section->Special());
  if (section == FHoverSection) Frame3D(canvas, button, clBtnHighlight, clBtnShadow, 1);
}

void TPxLinkMenu::DrawArrows(TCanvas& canvas, Integer x, Integer y, bool expanded, bool special) {
  canvas.Pen().SetColor(special ? clHighlightText : clWindowText);
  for (Integer dy : {0, 4}) {
    const Integer t = y + dy;
    if (expanded)
      canvas.Polyline(
          {{x + 5, t + 6}, {x + 8, t + 3}, {x + 11, t + 6}, {x + 10, t + 6}, {x + 8, t + 4}, {x + 5, t + 7}});
    else
      canvas.Polyline({{x + 5, t + 4},
                       {x + 8, t + 7},
                       {x + 11, t + 4},
                       {x + 10, t + 4},
                       {x + 8, t + 6},
                       {x + 6, t + 4},
                       {x + 5, t + 3}});
  }
}

// Only the item under the pointer is underlined: hover is one item, not a row number.
void TPxLinkMenu::DrawItem(TCanvas& canvas, const TPxSectionItem* item, TRect r) {
  canvas.Font().Assign(item->GetFont());
  if (FImages) {
    if (item->ImageIndex() >= 0)
      FImages->Draw(canvas, r.Left, r.Top + (r.Bottom - r.Top) / 2 - FImages->Height() / 2, item->ImageIndex(), true);
    r.Left += FImages->Width() + 7;
  }
  if (item == FHoverSectionItem) {
    TFontStyles style = canvas.Font().Style();
    style.Include(fsUnderline);
    canvas.Font().SetStyle(style);
  }
  canvas.Brush().SetStyle(bsClear);
  DrawCaptionText(canvas, r, taLeftJustify, item->Caption(), true);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Pointer

void TPxLinkMenu::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  // The hand shows over a link; elsewhere the menu's own cursor.
  if (m.Msg == WM_SETCURSOR && FHoverSectionItem && LOWORD(m.LParam) == HTCLIENT) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    m.Result = 1;
    return;
  }
  if (m.Msg == CM_FONTCHANGED) {
    TPxVertScrollControl::Dispatch(m);
    Invalidate();
    return;
  }
  TPxVertScrollControl::Dispatch(m);
}

void TPxLinkMenu::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxVertScrollControl::MouseMove(shift, x, y);
  TPxSection* section = GetSectionAtPos(x, y);
  if (!section) {
    if (FOldHoverSection) RefreshSection(FOldHoverSection);
    FHoverSection = nullptr;
    FOldHoverSection = nullptr;
  } else if (section != FOldHoverSection) {
    if (FOldHoverSection) RefreshSection(FOldHoverSection);
    FHoverSection = section;
    FOldHoverSection = section;
    RefreshSection(section);
  }
  TPxSectionItem* item = GetSectionItemAtPos(x, y);
  if (item) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    FHoverSectionItem = item;
    if (item != FOldHoverItem) {
      if (FOldHoverItem) RefreshItem(FOldHoverItem);
      RefreshItem(item);
      FOldHoverItem = item;
    }
  } else {
    FHoverSectionItem = nullptr;
    if (FOldHoverItem) RefreshItem(FOldHoverItem);
    FOldHoverItem = nullptr;
  }
}

void TPxLinkMenu::CMMouseLeave(TMessage& m) {
  TPxVertScrollControl::CMMouseLeave(m);
  FHoverSection = nullptr;
  FHoverSectionItem = nullptr;
  FOldHoverSection = nullptr;
  FOldHoverItem = nullptr;
  Invalidate();
}

void TPxLinkMenu::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TPxVertScrollControl::MouseUp(button, shift, x, y);
  if (guard.Gone()) return;
  if (x < FInnerMargins->Left() || x >= ClientWidth() - FInnerMargins->Right()) return;
  if (TPxSection* section = GetSectionAtPos(x, y)) {
    section->SetExpanded(!section->Expanded());
    DoSectionClick(section->Index());
    if (guard.Gone()) return;
  }
  if (TPxSectionItem* item = GetSectionItemAtPos(x, y)) DoItemClick(item);
}

void TPxLinkMenu::DoItemClick(TPxSectionItem* item) {
  if (OnItemClick) OnItemClick(this, item);
}

void TPxLinkMenu::DoSectionClick(Integer index) {
  if (OnSectionClick) OnSectionClick(this, index);
}
