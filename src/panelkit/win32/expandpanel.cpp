#include "panelkit/win32/expandpanel.h"

#include "classes/filer.h"
#include "panelkit/win32/collectionparts.h"
#include "panelkit/win32/shareddraw.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxExpandPanel, "PxCollection")

namespace {

constexpr TColor kPanelColor = 0xF0F0F0;
constexpr TColor kHeaderLineColor = 0xDFDFDF;
constexpr TColor kHeaderHighlightColor = 0xFFFFFF;
constexpr Integer kLabelLeftOfButton = 28;
constexpr Integer kLabelBelowButtonTop = 3;

// The button's look by state: a blue rim, a light grey face that turns light
// blue under the pointer and darker while pressed, and a dark chevron.
constexpr TColor kButtonRim = 0xC08040;
constexpr TColor kFaceNormal = 0xF4F4F4;
constexpr TColor kFaceHover = 0xFCE8D0;
constexpr TColor kFaceDown = 0xE0C4A0;
constexpr TColor kExpandChevronColor = 0x404040;
// Pointing down, 7 x 4 pixels.
constexpr const char* kDownChevron[] = {"X.....X", "XX...XX", ".XX.XX.", "..XXX.."};

}  // namespace

void TPxExpandPanel::Describe(TClassBuilder<TPxExpandPanel>& c) {
  using P = TPxExpandPanel;
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"ButtonLeft", &P::ButtonLeft, &P::SetButtonLeft).Default(10);
  c.Property(u"ButtonTop", &P::ButtonTop, &P::SetButtonTop).Default(10);
  c.Property(u"CollapsedText", &P::CollapsedText, &P::SetCollapsedText);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"Expanded", &P::Expanded, &P::SetExpanded).Default(1);
  c.Property(u"ExpandedText", &P::ExpandedText, &P::SetExpandedText);
  publish::Font(c);
  c.Property(u"InnerMargins", &P::GetInnerMargins, &P::SetInnerMargins);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::ParentFont(c);
  publish::PopupMenu(c);
  c.Property(u"ResizeForm", &P::ResizeForm, &P::SetResizeForm).Default(0);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
  publish::Visible(c);
  c.Property(u"OnCollapse", &P::OnCollapse);
  c.Property(u"OnExpand", &P::OnExpand);
  publish::KeyboardControlEvents(c);
}

TPxExpandPanel::TPxExpandPanel(TComponent* owner)
    : TPxCollectionControl(owner), FInnerMargins(std::make_unique<TPxMargins>()) {
  FControlStyle.Include(csAcceptsControls)
      .Include(csCaptureMouse)
      .Include(csClickEvents)
      .Include(csDoubleClicks)
      .Include(csReplicatable);
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxExpandPanel::MarginsChanged);
  SetParentColor(false);
  SetColor(kPanelColor);
  SetBounds(Left(), Top(), 245, 145);
}

TPxExpandPanel::~TPxExpandPanel() {
  FInnerMargins->OnChange = {};
}

// Read after the published properties, so that a panel stored collapsed
// gets back the height it had before it was collapsed.
void TPxExpandPanel::DefineProperties(TFiler& filer) {
  TPxCollectionControl::DefineProperties(filer);
  filer.DefineProperty(
      u"FullHeight", [this](TReader& reader) { FFullHeight = std::max<Integer>(reader.ReadInteger(), 0); },
      [this](TWriter& writer) { writer.WriteInteger(FFullHeight); }, true);
}

void TPxExpandPanel::SetExpandedText(const String& value) {
  FExpandedText = value;
  Invalidate();
}

void TPxExpandPanel::SetCollapsedText(const String& value) {
  FCollapsedText = value;
  Invalidate();
}

void TPxExpandPanel::SetInnerMargins(const TPxMargins* value) {
  FInnerMargins->Assign(value);
}

void TPxExpandPanel::MarginsChanged(TObject*) {
  Invalidate();
  Realign();
}

TRect TPxExpandPanel::GetButtonRect() const {
  return Rect(FButtonLeft, FButtonTop, FButtonLeft + kButtonSize, FButtonTop + kButtonSize);
}

void TPxExpandPanel::AdjustClientRect(TRect& rect) const {
  TPxCollectionControl::AdjustClientRect(rect);
  rect.Left += FInnerMargins->Left();
  rect.Top += HeaderHeight() + FInnerMargins->Top();
  rect.Right -= FInnerMargins->Right();
  rect.Bottom -= FInnerMargins->Bottom();
}

void TPxExpandPanel::RepaintButton() {
  if (HandleAllocated()) InvalidateWithoutErase(*this, GetButtonRect());
}

void TPxExpandPanel::SetExpanded(bool value) {
  if (value == FExpanded) return;
  FExpanded = value;
  RepaintButton();
  Invalidate();
  TCustomForm* form = GetParentForm(this, true);
  const bool resizeForm = FResizeForm && form != nullptr && form != static_cast<TControl*>(this);
  if (ComponentState().Contains(csLoading)) return;
  if (FExpanded) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(true);
    if (resizeForm) form->SetHeight(form->Height() + FFullHeight - Height());
    SetHeight(FFullHeight);
    DoExpand();
  } else {
    FFullHeight = Height();
    SetHeight(HeaderHeight());
    if (resizeForm) form->SetHeight(form->Height() - (FFullHeight - HeaderHeight()));
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
    DoCollapse();
  }
}

void TPxExpandPanel::DoCollapse() {
  if (OnCollapse) OnCollapse(this);
}

void TPxExpandPanel::DoExpand() {
  if (OnExpand) OnExpand(this);
}

void TPxExpandPanel::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  TPxCollectionControl::Dispatch(m);
}

void TPxExpandPanel::KeyDown(Word& key, TShiftState shift) {
  TPxCollectionControl::KeyDown(key, shift);
  if (key == VK_SPACE) SetExpanded(!FExpanded);
}

void TPxExpandPanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseDown(button, shift, x, y);
  const bool down = GetButtonRect().Contains(TPoint{x, y});
  if (down != FDown) {
    FDown = down;
    RepaintButton();
  }
  if (!Focused() && CanFocus()) SetFocus();
}

void TPxExpandPanel::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseMove(shift, x, y);
  const bool hover = GetButtonRect().Contains(TPoint{x, y});
  if (hover == FHover) return;
  FHover = hover;
  RepaintButton();
}

// A release anywhere after a press on the button toggles the panel.
void TPxExpandPanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseUp(button, shift, x, y);
  if (!FDown) return;
  FDown = false;
  SetExpanded(!FExpanded);
  RepaintButton();
}

void TPxExpandPanel::CMMouseLeave(TMessage& m) {
  TPxCollectionControl::CMMouseLeave(m);
  if (!FHover) return;
  FHover = false;
  RepaintButton();
}

void TPxExpandPanel::DrawButton(TCanvas& canvas) {
  const TRect button = GetButtonRect();
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(kButtonRim);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(FDown ? kFaceDown : FHover ? kFaceHover : kFaceNormal);
  canvas.Ellipse(button);
  // Collapsed, the chevron points down (open); expanded, up (close).
  const Integer left = button.Left + 6;
  const Integer top = button.Top + 7;
  for (Integer row = 0; row < 4; ++row)
    for (Integer column = 0; column < 7; ++column) {
      const Integer source = FExpanded ? 3 - row : row;
      if (kDownChevron[source][column] == 'X') canvas.SetPixels(left + column, top + row, kExpandChevronColor);
    }
}

void TPxExpandPanel::Paint() {
  TCanvas& canvas = Canvas();
  const Integer width = ClientWidth();
  const Integer header = HeaderHeight();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(kHeaderLineColor);
  canvas.MoveTo(0, 0);
  canvas.LineTo(width, 0);
  if (FExpanded) {
    canvas.MoveTo(0, header - 1);
    canvas.LineTo(width, header - 1);
    canvas.Pen().SetColor(kHeaderHighlightColor);
    canvas.MoveTo(0, header);
    canvas.LineTo(width, header);
    if (ComponentState().Contains(csDesigning)) {
      canvas.Pen().SetStyle(psDot);
      canvas.Pen().SetColor(clGrayText);
      canvas.Brush().SetStyle(bsClear);
      canvas.Rectangle(FInnerMargins->Left(), header + FInnerMargins->Top(), width - FInnerMargins->Right(),
                       ClientHeight() - FInnerMargins->Bottom());
      canvas.Pen().SetStyle(psSolid);
      canvas.Brush().SetStyle(bsSolid);
    }
  }
  DrawButton(canvas);
  canvas.Font().Assign(&Font());
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(FButtonLeft + kLabelLeftOfButton, FButtonTop + kLabelBelowButtonTop,
                 FExpanded ? FExpandedText : FCollapsedText);
  canvas.Brush().SetStyle(bsSolid);
}
