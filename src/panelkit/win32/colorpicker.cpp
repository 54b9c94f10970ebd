#include "panelkit/win32/colorpicker.h"

#include <algorithm>

#include "classes/identmaps.h"
#include "panelkit/colorschemes.h"
#include "panelkit/htmltext.h"
#include "panelkit/win32/datepicker.h"
#include "panelkit/win32/editpublish.h"
#include "panelkit/win32/shareddraw.h"

KST_CLASS_IMPL(TPxColorPopup, "PxPopupControl")
KST_CLASS_IMPL(TPxColorPicker, "PxColorPicker")

const TTypeInfo& DescribeType(TypeTag<TPxColorPickerOption>) {
  static const TEnumTypeInfo t(u"TPxColorPickerOption", u"PxColorPicker",
                               {u"coAllowColorNames", u"coColorsButton", u"coNoneButton"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPxColorPickerOptions>) {
  static const TSetTypeInfo t(u"TPxColorPickerOptions", u"PxColorPicker",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPxColorPickerOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDialogCloseEvent>) {
  static const TMethodTypeInfo t(
      u"TDialogCloseEvent", u"PxPopupControl", mkProcedure,
      {editpublish::Param(u"Sender", u"TObject"), editpublish::Param(u"Execute", u"Boolean")});
  return t;
}

namespace {

constexpr Integer kGridTop = 28;
constexpr Integer kSwatchPitch = 10;
constexpr TColor kCrossRed = 0x0000FF;

// The colour text of a colour in either notation, names as asked.
String NotationText(TColor color, TColorNotation notation, bool names) {
  if (color == clNone) return String();
  if (notation == TColorNotation::Platform) {
    String ident;
    if (names && ColorToIdent(color, ident)) return ident;
    return ColorNotationText(color, notation);
  }
  const String web = ColorNotationText(static_cast<TColor>(ColorToRGB(color)), notation);
  if (names)
    if (std::optional<String> name = HtmlColorNameOf(web)) return *name;
  return web;
}

// A white box crossed in red: no colour.
void PaintNoColor(TCanvas& canvas, const TRect& box) {
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(box);
  canvas.Pen().SetColor(kCrossRed);
  canvas.MoveTo(box.Left, box.Top);
  canvas.LineTo(box.Right, box.Bottom);
  canvas.MoveTo(box.Left, box.Bottom - 1);
  canvas.LineTo(box.Right, box.Top - 1);
}

}  // namespace

std::optional<TColor> ReadColorPickerText(StringView text, TColorNotation notation, bool allowNames) {
  if (text.empty()) return clNone;
  if (allowNames) {
    Integer ident = 0;
    if (notation == TColorNotation::Platform && IdentToColor(text, ident)) return static_cast<TColor>(ident);
    if (notation == TColorNotation::Web)
      if (std::optional<TColor> named = HtmlColorNameValue(text)) return named;
  }
  // A text with letters no colour text holds is a name being typed or an
  // unknown one: it stands for no colour rather than for its stray digits.
  if (!IsColorTextOnly(text)) return std::nullopt;
  const String fitted = FitColorText(FilterColorText(text, true, notation), notation);
  // Either notation reads whatever the picker shows: a pasted "#RRGGBB" is
  // taken in the platform notation too.
  return ReadColorNotation(fitted);
}

// ---- The swatch grid ----

void TPxColorPopup::Describe(TClassBuilder<TPxColorPopup>&) {}

TPxColorPopup::TPxColorPopup(TComponent* owner) : TPxPopupControl(owner) {
  FColorDialog = new TColorDialog(this);
  SetDoubleBuffered(true);
}

TRect TPxColorPopup::SwatchRect(Integer column, Integer row) {
  const Integer x = kSwatchPitch * column, y = kGridTop + kSwatchPitch * row;
  return TRect(x, y, x + kSwatchPitch + 1, y + kSwatchPitch + 1);
}

String TPxColorPopup::ColorText(TColor color) const {
  return NotationText(color, WebColorFormat ? TColorNotation::Web : TColorNotation::Platform, UseColorNames);
}

std::optional<TColor> TPxColorPopup::ColorAt(Integer x, Integer y) {
  if (x < 0 || y < kGridTop - kSwatchPitch + 1) return std::nullopt;
  // Truncating toward zero: the rows just above the grid count as its first.
  const Integer column = x / kSwatchPitch, row = (y - kGridTop) / kSwatchPitch;
  if (column >= kColorMatrixColumns || row >= kColorMatrixRows) return std::nullopt;
  return ColorPopupMatrix()[static_cast<size_t>(column * kColorMatrixRows + row)];
}

void TPxColorPopup::PaintPreview(TCanvas& canvas, TColor color) {
  canvas.Font().Assign(GetFont());
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBtnFace);
  canvas.TextRect(TRect(45, 8, 105, 25), 45, 8, ColorText(color));
  canvas.Pen().SetColor(clBlack);
  const TRect box(4, 4, 39, 24);
  if (color == clNone) {
    canvas.Rectangle(box);
    PaintNoColor(canvas, TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
    return;
  }
  canvas.Brush().SetColor(color);
  canvas.Rectangle(box);
}

void TPxColorPopup::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(ClientRect());
  canvas.Pen().SetColor(clBlack);
  TRect marked;
  bool found = false;
  for (Integer row = 0; row < kColorMatrixRows; ++row) {
    for (Integer column = 0; column < kColorMatrixColumns; ++column) {
      const TColor color = ColorPopupMatrix()[static_cast<size_t>(column * kColorMatrixRows + row)];
      canvas.Brush().SetColor(color);
      canvas.Rectangle(SwatchRect(column, row));
      if (color == FSelectedColor) {
        marked = SwatchRect(column, row);
        found = true;
      }
    }
  }
  if (found && FSelectedColor != clNone) {
    canvas.Brush().SetColor(clWhite);
    canvas.FrameRect(marked);
  }
  PaintPreview(canvas, FSelectedColor);
  if (ShowColorsButton) {
    PaintCalendarButton(canvas, ColorsButtonRect(), String());
    // A wheel of four colours: more to choose from.
    const TRect r = ColorsButtonRect();
    const Integer cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const TColor quarters[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int i = 0; i < 4; ++i) {
      canvas.Brush().SetColor(quarters[i]);
      canvas.FillRect(TRect(cx - 6 + (i % 2) * 6, cy - 6 + (i / 2) * 6, cx + (i % 2) * 6, cy + (i / 2) * 6));
    }
  }
  if (ShowNoneButton) {
    PaintCalendarButton(canvas, NoneButtonRect(), String());
    const TRect r = NoneButtonRect();
    const TRect box(r.Left + 4, r.Top + 4, r.Left + 15, r.Top + 15);
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(box);
    canvas.Pen().SetColor(kCrossRed);
    canvas.MoveTo(box.Left + 1, box.Bottom - 2);
    canvas.LineTo(box.Right - 1, box.Top);
  }
}

void TPxColorPopup::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseMove(shift, x, y);
  if (!ContainsClientPoint(x, y)) return;
  const TColor color = ColorAt(x, y).value_or(FSelectedColor);
  PaintPreview(Canvas(), color);
  if (OnColorOver) OnColorOver(this, color);
}

void TPxColorPopup::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (DropMode() == dmDropped && PressedSinceOpening()) {
    if (ShowNoneButton && NoneButtonRect().Contains(Point(x, y))) {
      Input(String());
      return;
    }
    if (ShowColorsButton && ColorsButtonRect().Contains(Point(x, y))) {
      MoreColors();
      return;
    }
  }
  TPxPopupControl::MouseUp(button, shift, x, y);
}

void TPxColorPopup::PickAt(Integer x, Integer y) {
  const std::optional<TColor> color = ColorAt(x, y);
  Input(color ? ColorText(*color) : String());
}

void TPxColorPopup::MoreColors() {
  ClosePopup();
  FColorDialog->SetColor(FSelectedColor == clNone ? clBlack : FSelectedColor);
  if (!FColorDialog->Execute()) {
    if (OnDialogClose) OnDialogClose(this, false);
    return;
  }
  const TColor chosen = FColorDialog->Color();
  String text;
  if (WebColorFormat)
    text = ColorNotationText(static_cast<TColor>(ColorToRGB(chosen)), TColorNotation::Web);
  else
    text = NotationText(chosen, TColorNotation::Platform, UseColorNames);
  Input(text);
  if (OnDialogClose) OnDialogClose(this, true);
}

void TPxColorPopup::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

// ---- The picker ----

void TPxColorPicker::Describe(TClassBuilder<TPxColorPicker>& c) {
  using T = TPxColorPicker;
  c.Property(u"Options", &T::Options, &T::SetOptions);
  c.Property(u"SelectedColor", &T::SelectedColor, &T::SetSelectedColor, &types::Color());
  c.Property(u"WebColorFormat", &T::WebColorFormat, &T::SetWebColorFormat).Default(false);
  c.Property(u"OnColorOver", &T::OnColorOver);
  c.Property(u"OnDialogClose", &T::OnDialogClose);
}

TPxColorPicker::TPxColorPicker(TComponent* owner) : TPxPopupEdit(owner) {
  SetPreviewBorder(true);
  SetShowPreview(true);
  SetText(u"$00FFFFFF");
}

TPxPopupControl* TPxColorPicker::NewPopup() {
  auto* palette = new TPxColorPopup(this);
  palette->OnColorOver = TColorOverEvent([this](TObject*, TColor value) { DoColorOver(value); });
  palette->OnDialogClose = TDialogCloseEvent([this](TObject*, bool execute) { DoDialogClose(execute); });
  return palette;
}

String TPxColorPicker::ColorText(TColor color) const {
  return NotationText(color, Notation(), FOptions.Contains(coAllowColorNames));
}

void TPxColorPicker::SetSelectedColor(TColor value) {
  if (value == FSelectedColor) return;
  FSelectedColor = value;
  SetText(ColorText(value));
  RefreshPreview();
}

void TPxColorPicker::SetWebColorFormat(bool value) {
  if (value == FWebColorFormat) return;
  FWebColorFormat = value;
  SetText(ColorText(FSelectedColor));
}

void TPxColorPicker::SetTextToColor(const String& text) {
  // The picker's own text of its colour keeps that colour: a system colour
  // shown by its current value in the web notation stays the system colour.
  if (text == ColorText(FSelectedColor)) {
    RefreshPreview();
    return;
  }
  // Unreadable text keeps the colour there was.
  if (std::optional<TColor> color = ReadColorPickerText(text, Notation(), FOptions.Contains(coAllowColorNames)))
    FSelectedColor = *color;
  RefreshPreview();
}

void TPxColorPicker::PreparePopup() {
  TPxColorPopup& palette = Palette();
  palette.ShowColorsButton = FOptions.Contains(coColorsButton);
  palette.ShowNoneButton = FOptions.Contains(coNoneButton);
  palette.SetSelectedColor(FSelectedColor);
  palette.UseColorNames = FOptions.Contains(coAllowColorNames);
  palette.WebColorFormat = FWebColorFormat;
  palette.SetBounds(palette.Left(), palette.Top(), 213, 151);
}

void TPxColorPicker::PopupInput(TObject* sender, const String& value) {
  SetTextToColor(value);
  TPxPopupEdit::PopupInput(sender, value);
}

void TPxColorPicker::DrawPreview(TCanvas& canvas, const TRect& rect) {
  if (Text().empty()) {
    PaintNoColor(canvas, rect);
  } else {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(FSelectedColor);
    canvas.FillRect(rect);
  }
  TPxPopupEdit::DrawPreview(canvas, rect);
}

void TPxColorPicker::KeyPress(Char& key) {
  // Escape passes too: it closes the drop-down.
  const bool passes = key == 3 || key == 8 || key == 9 || key == 22 || key == 24 || key == 27 ||
                      FOptions.Contains(coAllowColorNames) ||
                      ColorTextAcceptsChar(key, Text(), SelStart(), SelLength() > 0, Notation());
  if (!passes) {
    key = 0;
    return;
  }
  TPxPopupEdit::KeyPress(key);
}

void TPxColorPicker::TextChanged() {
  TPxPopupEdit::TextChanged();
  if (HandleAllocated() && !ComponentState().Contains(csLoading)) SetTextToColor(Text());
}

void TPxColorPicker::DoExit() {
  TPxPopupEdit::DoExit();
  SetTextToColor(Text());
}

void TPxColorPicker::Paste() {
  const Integer caret = SelStart();
  auto [pasted, text, start] = TakePasteParts(*this);
  // A whole text of six digits is the web colour it was copied as.
  if (text.empty())
    if (const std::optional<TColor> web = ReadPastedWebColor(pasted)) {
      SetText(ColorText(*web));
      SetSelStart(static_cast<Integer>(Text().size()));
      return;
    }
  text.insert(static_cast<size_t>(start), FilterColorText(pasted, start == 0, Notation()));
  SetText(FitColorText(text, Notation()));
  SetSelStart(caret);
}

void TPxColorPicker::Dispatch(TMessage& m) {
  if (m.Msg == WM_PASTE) {
    if (!TPxCustomButtonEdit::Options().Contains(epDisablePaste)) Paste();
    return;
  }
  TPxPopupEdit::Dispatch(m);
}

void TPxColorPicker::DoColorOver(TColor value) {
  if (OnColorOver && CanFireEvents()) OnColorOver(this, value);
}

void TPxColorPicker::DoDialogClose(bool execute) {
  if (OnDialogClose && CanFireEvents()) OnDialogClose(this, execute);
}
