#include "ui/coolbar.h"

#include <algorithm>

#include "classes/reflection.h"
#include "ui/db.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TCoolBand, "ComCtrls")
KST_CLASS_IMPL(TCoolBands, "ComCtrls")
KST_CLASS_IMPL(TCoolBar, "ComCtrls")
KST_CLASS_IMPL(TComboExItem, "ComCtrls")
KST_CLASS_IMPL(TComboExItems, "ComCtrls")
KST_CLASS_IMPL(TComboBoxEx, "ComCtrls")

namespace {
// The grip at a band's left, and the gap around its control.
constexpr Integer kGripWidth = 9;
constexpr Integer kBandGap = 4;
}  // namespace

// ---------------------------------------------------------------------------
// Bands

void TCoolBand::Describe(TClassBuilder<TCoolBand>& c) {
  c.Property(u"Break", &TCoolBand::Break).Default(1);
  c.Property(u"Color", &TCoolBand::Color, &types::Color()).Default(clBtnFace);
  c.Property(u"Control", &TCoolBand::Control, &TCoolBand::SetControl);
  c.Property(u"FixedBackground", &TCoolBand::FixedBackground).Default(1);
  c.Property(u"FixedSize", &TCoolBand::FixedSize).Default(0);
  c.Property(u"HorizontalOnly", &TCoolBand::HorizontalOnly).Default(0);
  c.Property(u"ImageIndex", &TCoolBand::ImageIndex).Default(-1);
  c.Property(u"MinHeight", &TCoolBand::MinHeight).Default(25);
  c.Property(u"MinWidth", &TCoolBand::MinWidth).Default(0);
  c.Property(u"ParentColor", &TCoolBand::ParentColor).Default(1);
  c.Property(u"Text", &TCoolBand::Text);
  c.Property(u"Visible", &TCoolBand::Visible).Default(1);
  c.Property(u"Width", &TCoolBand::Width);
}

TCoolBand::TCoolBand(TCollection* collection) : TCollectionItem(collection) {}
TCoolBand::~TCoolBand() {
  SetControl(nullptr);
}
// The bar follows the control: it is told when the control goes.
void TCoolBand::SetControl(TWinControl* control) {
  auto* bar = Collection() ? dynamic_cast<TCoolBar*>(Collection()->GetOwner()) : nullptr;
  FControl = control;
  if (control && bar) control->FreeNotification(bar);
  if (bar) bar->BandsChanged();
}

void TCoolBands::Describe(TClassBuilder<TCoolBands>&) {}
TCoolBands::TCoolBands(TCoolBar* bar) : TCollection(TCoolBand::StaticClass()), FBar(bar) {}
TPersistent* TCoolBands::GetOwner() const {
  return FBar;
}
void TCoolBands::Update(TCollectionItem*) {
  if (FBar) FBar->BandsChanged();
}

// ---------------------------------------------------------------------------
// Bar

void TCoolBar::Describe(TClassBuilder<TCoolBar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"AutoSize", &TCoolBar::AutoSize).Default(0);
  c.Property(u"BandBorderStyle", &TCoolBar::BandBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"Bands", &TCoolBar::GetBands, &TCoolBar::SetBands);
  c.Property(u"EdgeBorders", &TCoolBar::EdgeBorders);
  c.Property(u"EdgeInner", &TCoolBar::EdgeInner).Default(esRaised);
  c.Property(u"EdgeOuter", &TCoolBar::EdgeOuter).Default(esLowered);
  c.Property(u"FixedOrder", &TCoolBar::FixedOrder).Default(0);
  c.Property(u"FixedSize", &TCoolBar::FixedSize).Default(0);
  c.Property(
      u"Images", [](const TCoolBar& o) { return o.Images; },
      [](TCoolBar& o, TCustomImageList* v) { FollowComponent(o, o.Images, v); });
  c.Property(u"ShowText", &TCoolBar::ShowText).Default(1);
  c.Property(u"Vertical", &TCoolBar::Vertical).Default(0);
  c.Property(u"OnChange", &TCoolBar::OnChange);
  publish::ResizeEvents(c);
}

TCoolBar::TCoolBar(TComponent* owner) : TCustomControl(owner), FBands(std::make_unique<TCoolBands>(this)) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
  SetAlign(alTop);
  SetBounds(Left(), Top(), 150, 75);
}
TCoolBar::~TCoolBar() {
  Destroying();
  FBands.reset();
}
void TCoolBar::SetBands(const TCoolBands* bands) {
  if (bands) FBands->Assign(bands);
}

TRect TCoolBar::BandRect(int index) const {
  const Integer width = ClientWidth();
  Integer x = 0, y = 0, rowHeight = 0;
  for (int i = 0; i < FBands->Count(); ++i) {
    const TCoolBand* band = FBands->Items(i);
    if (!band->Visible) continue;
    if ((band->Break && x > 0) || x >= width) {
      y += rowHeight + (BandBorderStyle == bsSingle ? 2 : 0);
      x = 0;
      rowHeight = 0;
    }
    // The last band of a row reaches to the row's end.
    const bool lastInRow = [&] {
      for (int j = i + 1; j < FBands->Count(); ++j)
        if (FBands->Items(j)->Visible) return FBands->Items(j)->Break;
      return true;
    }();
    Integer bandWidth = band->Width > 0 ? band->Width : width - x;
    if (lastInRow || x + bandWidth > width) bandWidth = width - x;
    Integer height = band->MinHeight;
    if (band->Control()) height = std::max(height, band->Control()->Height());
    rowHeight = std::max(rowHeight, height);
    if (i == index) return Rect(x, y, x + bandWidth, y + height);
    x += bandWidth;
  }
  return Rect(0, 0, 0, 0);
}

void TCoolBar::BandsChanged() {
  if (ComponentState().Contains(csDestroying)) return;
  Realign();
  Invalidate();
}

void TCoolBar::AlignControls(TControl* control, TRect& rect) {
  TCustomControl::AlignControls(control, rect);
  Integer bottom = 0;
  for (int i = 0; i < FBands->Count(); ++i) {
    TCoolBand* band = FBands->Items(i);
    const TRect r = BandRect(i);
    bottom = std::max(bottom, r.Bottom);
    if (!band->Control() || !band->Visible) continue;
    const Integer left = r.Left + kGripWidth;
    band->Control()->SetBounds(left, r.Top, std::max<Integer>(0, r.Right - left - kBandGap), r.Height());
  }
  if (AutoSize && bottom > 0 && !ComponentState().Contains(csLoading)) {
    const Integer frame = Height() - ClientHeight();
    if (Height() != bottom + frame) SetBounds(Left(), Top(), Width(), bottom + frame);
  }
}

void TCoolBar::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  for (int i = 0; i < FBands->Count(); ++i) {
    if (!FBands->Items(i)->Visible) continue;
    const TRect r = BandRect(i);
    RECT band = ToRECT(r);
    if (BandBorderStyle == bsSingle) DrawEdge(canvas.Handle(), &band, EDGE_ETCHED, BF_RECT);
    // The grip: two raised lines.
    for (Integer x : {r.Left + 2, r.Left + 5}) {
      RECT grip{static_cast<LONG>(x), static_cast<LONG>(r.Top + 2), static_cast<LONG>(x + 3),
                static_cast<LONG>(r.Bottom - 2)};
      DrawEdge(canvas.Handle(), &grip, BDR_RAISEDINNER, BF_RECT);
    }
  }
}

void TCoolBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == Images) Images = nullptr;
  if (!FBands) return;
  for (int i = 0; i < FBands->Count(); ++i)
    if (FBands->Items(i)->Control() == component) FBands->Items(i)->SetControl(nullptr);
}

// ---------------------------------------------------------------------------
// Combo box with images

const TTypeInfo& DescribeType(TypeTag<TComboBoxExStyle>) {
  static const TEnumTypeInfo t(u"TComboBoxExStyle", u"ComCtrls", {u"csExDropDown", u"csExSimple", u"csExDropDownList"});
  return t;
}

void TComboExItem::Describe(TClassBuilder<TComboExItem>& c) {
  c.Property(u"Caption", &TComboExItem::Caption);
  c.Property(u"ImageIndex", &TComboExItem::ImageIndex).Default(-1);
  c.Property(u"Indent", &TComboExItem::Indent).Default(0);
  c.Property(u"OverlayImageIndex", &TComboExItem::OverlayImageIndex).Default(-1);
  c.Property(u"SelectedImageIndex", &TComboExItem::SelectedImageIndex).Default(-1);
}

void TComboExItems::Describe(TClassBuilder<TComboExItems>&) {}
TComboExItems::TComboExItems(TComboBoxEx* combo) : TCollection(TComboExItem::StaticClass()), FCombo(combo) {}
TPersistent* TComboExItems::GetOwner() const {
  return FCombo;
}
void TComboExItems::Update(TCollectionItem*) {
  if (FCombo) FCombo->ItemsExChanged();
}

void TComboBoxEx::Describe(TClassBuilder<TComboBoxEx>& c) {
  c.Property(u"Images", &TComboBoxEx::Images, &TComboBoxEx::SetImages);
  c.Property(u"ItemsEx", &TComboBoxEx::GetItemsEx, &TComboBoxEx::SetItemsEx);
  c.Property(u"Style", &TComboBoxEx::StyleEx, &TComboBoxEx::SetStyleEx).Default(csExDropDown);
  c.Property(u"OnBeginEdit", &TComboBoxEx::OnBeginEdit);
  c.Property(u"OnEndEdit", &TComboBoxEx::OnEndEdit);
}

TComboBoxEx::TComboBoxEx(TComponent* owner) : TComboBox(owner), FItemsEx(std::make_unique<TComboExItems>(this)) {}
TComboBoxEx::~TComboBoxEx() {
  SetImages(nullptr);
}
void TComboBoxEx::SetItemsEx(const TComboExItems* items) {
  if (items) FItemsEx->Assign(items);
}
void TComboBoxEx::SetStyleEx(TComboBoxExStyle value) {
  FStyleEx = value;
  SetStyle(value == csExSimple ? csSimple : value == csExDropDownList ? csDropDownList : csDropDown);
}
void TComboBoxEx::SetImages(TCustomImageList* images) {
  FollowComponent(*this, FImages, images);
}
void TComboBoxEx::ItemsExChanged() {
  if (!FItemsEx) return;
  Items().BeginUpdate();
  Items().Clear();
  for (int i = 0; i < FItemsEx->Count(); ++i) Items().Add(FItemsEx->Items(i)->Caption);
  Items().EndUpdate();
}
void TComboBoxEx::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == opRemove && component == FImages) FImages = nullptr;
}

void RegisterCoolBarClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TCoolBand::StaticClass(), &TCoolBands::StaticClass(), &TCoolBar::StaticClass(),
                            &TComboExItem::StaticClass(), &TComboExItems::StaticClass(),
                            &TComboBoxEx::StaticClass()},
                           u"ui");
  registry.RegisterType(DescribeType(TypeTag<TComboBoxExStyle>{}));
}
