// The colour picker: a drop-down edit holding a colour as text in the
// platform notation ("$" and eight digits, or an identifier) or the web
// notation ("#" and six digits, or an HTML name), its preview box showing
// the colour, its drop-down a grid of swatches with a button for more
// colours (the system's colour dialog) and one for no colour.
#pragma once

#include <memory>

#include "panelkit/colortext.h"
#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/popupedit.h"
#include "ui/commdlg.h"

enum TPxColorPickerOption { coAllowColorNames, coColorsButton, coNoneButton };
using TPxColorPickerOptions = TSet<TPxColorPickerOption>;
using TColorOverEvent = TDelegate<void(TObject* Sender, TColor Value)>;
using TDialogCloseEvent = TDelegate<void(TObject* Sender, bool Execute)>;
const TTypeInfo& DescribeType(TypeTag<TPxColorPickerOption>);
const TTypeInfo& DescribeType(TypeTag<TPxColorPickerOptions>);
// (TColorOverEvent has the signature of the page control's TTabClickEvent,
// TColor being an Integer, and is published with that one's description.)
const TTypeInfo& DescribeType(TypeTag<TDialogCloseEvent>);

// The grid of 21 × 12 swatches under a preview strip, with the two buttons
// at its top right.
class TPxColorPopup : public TPxPopupControl {
  KST_CLASS(TPxColorPopup, TPxPopupControl)
 public:
  explicit TPxColorPopup(TComponent* owner);

  TColorDialog& ColorDialog() const { return *FColorDialog; }
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor value) { FSelectedColor = value; }
  bool UseColorNames = false;
  bool WebColorFormat = false;
  bool ShowColorsButton = true;
  bool ShowNoneButton = true;
  static TRect ColorsButtonRect() { return TRect(160, 4, 180, 24); }
  static TRect NoneButtonRect() { return TRect(180, 4, 200, 24); }
  // The swatch of column 0 to 20 and row 0 to 11.
  static TRect SwatchRect(Integer column, Integer row);
  // The text a colour is handed back as.
  String ColorText(TColor color) const;
  TRect GetPickRect() const override { return ClientRect(); }
  void PickAt(Integer x, Integer y) override;

  TColorOverEvent OnColorOver;
  TDialogCloseEvent OnDialogClose;

 protected:
  void Paint() override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMEraseBkgnd(TMessage& message) override;

 private:
  // The matrix colour under a point, or nothing outside the grid.
  static std::optional<TColor> ColorAt(Integer x, Integer y);
  void PaintPreview(TCanvas& canvas, TColor color);
  void MoreColors();
  TColorDialog* FColorDialog = nullptr;
  TColor FSelectedColor = clNone;
};

class TPxColorPicker : public TPxPopupEdit {
  KST_CLASS(TPxColorPicker, TPxPopupEdit)
 public:
  explicit TPxColorPicker(TComponent* owner);

  TPxColorPickerOptions Options() const { return FOptions; }
  void SetOptions(TPxColorPickerOptions value) { FOptions = value; }
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor value);
  bool WebColorFormat() const { return FWebColorFormat; }
  void SetWebColorFormat(bool value);
  TColorDialog* ColorDialog() { return &Palette().ColorDialog(); }
  TPxColorPopup& Palette() { return static_cast<TPxColorPopup&>(Popup()); }
  TColorNotation Notation() const { return FWebColorFormat ? TColorNotation::Web : TColorNotation::Platform; }
  // The colour's text in the current notation ("" for none).
  String ColorText(TColor color) const;
  // Takes the colour a text stands for without touching the text; a text
  // that stands for no colour leaves the colour as it was.
  void SetTextToColor(const String& text);
  void PopupInput(TObject* sender, const String& value) override;

  TColorOverEvent OnColorOver;
  TDialogCloseEvent OnDialogClose;

 protected:
  TPxPopupControl* NewPopup() override;
  void PreparePopup() override;
  void DrawPreview(TCanvas& canvas, const TRect& rect) override;
  void KeyPress(Char& key) override;
  void TextChanged() override;
  void DoExit() override;
  void Dispatch(TMessage& message) override;
  virtual void DoColorOver(TColor value);
  virtual void DoDialogClose(bool execute);

 private:
  void Paste();
  TPxColorPickerOptions FOptions{coColorsButton, coNoneButton};
  TColor FSelectedColor = 0xFFFFFF;
  bool FWebColorFormat = false;
};

// Reads the picker's colour text: a colour, clNone for an empty text, or
// nothing for a text that stands for no colour.
std::optional<TColor> ReadColorPickerText(StringView text, TColorNotation notation, bool allowNames);
