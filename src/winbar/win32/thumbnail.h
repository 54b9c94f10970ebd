// Thumbnail buttons for picture browsers: a flat framed owner-drawn button
// with a caption line at its bottom, state colours, an optional check box in
// its corner and a right-click event; the image thumbnail shows a JPEG file
// scaled into a square above the caption.
#pragma once

#include <memory>

#include "ui/buttons.h"

// The bit buttons' drawing styles; the standard buttons' styles share the type's name.
namespace bitbuttons {
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
}
const TTypeInfo& DescribeType(TypeTag<bitbuttons::TButtonStyle>);

class TThumbnail : public TButton {
  KST_CLASS(TThumbnail, TButton)
 public:
  explicit TThumbnail(TComponent* owner);
  ~TThumbnail() override;

  bitbuttons::TButtonStyle Style() const { return FStyle; }
  void SetStyle(bitbuttons::TButtonStyle value) { Change(FStyle, value); }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value) { Change(FLayout, value); }
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  bool Selected() const { return FSelected; }
  void SetSelected(bool value) { Change(FSelected, value); }
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor value) { Change(FSelectedColor, value); }
  TColor OnMouseColor() const { return FOnMouseColor; }
  void SetOnMouseColor(TColor value) { Change(FOnMouseColor, value); }
  TColor PressColor() const { return FPressColor; }
  void SetPressColor(TColor value) { Change(FPressColor, value); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value) { Change(FBorderColor, value); }
  // A free number for the owner.
  Integer Index() const { return FIndex; }
  void SetIndex(Integer value) { FIndex = value; }
  bool Checkbox() const { return FCB != nullptr; }
  void SetCheckbox(bool value);
  TCheckBox* CheckBoxControl() const { return FCB; }
  bool Checked() const;
  void SetChecked(bool value);
  bool Valid() const { return true; }
  bool MouseOver() const { return FOnMouse; }
  bool IsFocused() const { return FIsFocused; }
  const String& About() const { return FAbout; }
  // Draws the button as the owner-draw request does, on any canvas.
  void PaintOn(TCanvas& canvas, bool pressed, bool focus);

  TNotifyEvent OnRightClick;
  TNotifyEvent OnChecked;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void SetButtonStyle(bool isDefault) override;
  void Notification(TComponent* component, TOperation operation) override;
  // What lies between the frame and the caption (the image thumbnail's picture).
  virtual void DrawContent(TCanvas&) {}
  template <class V>
  void Change(V& field, const V& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }

 private:
  String FAbout;
  bool FOnMouse = false;
  bitbuttons::TButtonStyle FStyle = bitbuttons::bsAutoDetect;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  bool FIsFocused = false;
  bool FSelected = false;
  TColor FSelectedColor = 0xF0EEED;
  TColor FOnMouseColor = 0xF0CAA6;
  TColor FPressColor = 0xF0CAA6;
  TColor FBorderColor = 0x808080;
  Integer FIndex = 0;
  TCheckBox* FCB = nullptr;
};

class TImageThumbnail : public TThumbnail {
  KST_CLASS(TImageThumbnail, TThumbnail)
 public:
  explicit TImageThumbnail(TComponent* owner);
  ~TImageThumbnail() override;

  const String& FileName() const { return FFilename; }
  // Loads the JPEG file into the glyph, scaled into the thumbnail's square.
  // A file that cannot be read as a JPEG leaves an empty glyph and its
  // error in LoadError; nothing is raised.
  void SetFileName(const String& value);
  Integer ThumbnailSize() const { return FThumbSize; }
  // Sizes the button to the square (the glyph stays as it is).
  void SetThumbnailSize(Integer value);
  TBitmap& Glyph() const { return *FGlyph; }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  Integer ImageWidth() const { return FIW; }
  Integer ImageHeight() const { return FIH; }
  Integer ImageColorDepth() const { return FICD; }
  const String& LoadError() const { return FLoadError; }

 protected:
  void Loaded() override;
  void DrawContent(TCanvas& canvas) override;

 private:
  void LoadPicture();
  String FFilename;
  Integer FThumbSize = 100;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FIH = 0;
  Integer FICD = 0;
  Integer FIW = 0;
  String FLoadError;
};
