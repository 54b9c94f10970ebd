// Small controls of the panel kit's collection unit: a focusable label that
// underlines itself under the pointer (TPxLinkLabel), a label showing
// mini-HTML that reports clicks on its links (TPxHtmlLabel), the splitter painted
// as a gradient bar with a dotted grip (TPxSplitter) and a button drawn
// entirely from bitmaps (TPxGlyphButton).
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/colorschemes.h"
#include "ui/controls.h"
#include "ui/extctrls.h"
#include "ui/graphics.h"
#include "ui/imglist.h"

enum TLinkLabelDisplayMode { dmNone, dmGlyph, dmImageList };
enum TBackgroundDrawStyle { bdsOpaque, bdsSkip, bdsTransparent };

const TTypeInfo& DescribeType(TypeTag<TLinkLabelDisplayMode>);
const TTypeInfo& DescribeType(TypeTag<TBackgroundDrawStyle>);

// The link's target, valid during the call. (A text view: the delegate types
// taking a String are described by other libraries of the program.)
using TPxHtmlClickEvent = TDelegate<void(TObject* Sender, StringView Href)>;
const TTypeInfo& DescribeType(TypeTag<TPxHtmlClickEvent>);

class TPxLinkLabel : public TCustomControl {
  KST_CLASS(TPxLinkLabel, TCustomControl)
 public:
  explicit TPxLinkLabel(TComponent* owner);
  ~TPxLinkLabel() override;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  const String& LinkCaption() const { return FCaption; }
  void SetLinkCaption(const String& value);
  TLinkLabelDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TLinkLabelDisplayMode value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value) { FGlyph->Assign(value); }
  TColor HoverColor() const { return FHoverColor; }
  void SetHoverColor(TColor value) { FHoverColor = value; }
  TImageIndex ImageIndex() const { return FImageIndex; }
  void SetImageIndex(TImageIndex value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  Integer TextDistance() const { return FTextDistance; }
  void SetTextDistance(Integer value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  Integer VertSpacing() const { return FVertSpacing; }
  void SetVertSpacing(Integer value);
  bool Hover() const { return FHover; }
  void SetName(const String& name) override;
  // Sizes the label to its text and picture (when its window exists).
  void AdjustSize();

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;

 private:
  void GlyphChanged(TObject*);
  void UpdateSize();
  bool HasListImage() const;
  // The part the pointer's underline changes.
  TRect TextArea() const;

  bool FAutoSize = true;
  String FCaption;
  TLinkLabelDisplayMode FDisplayMode = dmGlyph;
  std::unique_ptr<TBitmap> FGlyph;
  bool FHover = false;
  TImageIndex FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  Integer FTextDistance = 2;
  bool FTransparent = false;
  TColor FTransparentColor = clNone;
  Integer FVertSpacing = 2;
  TColor FHoverColor = clWindowText;
};

class TPxHtmlLabel : public TGraphicControl {
  KST_CLASS(TPxHtmlLabel, TGraphicControl)
 public:
  explicit TPxHtmlLabel(TComponent* owner);
  ~TPxHtmlLabel() override;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  const String& HtmlCaption() const { return FCaption; }
  void SetHtmlCaption(const String& value);
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool value);
  bool TransparentSet() const { return FTransparentSet; }
  // The target of the link under a client point; empty over no link.
  String LinkAt(Integer x, Integer y);
  // The size the caption takes, laid out within the client rectangle.
  TSize MeasureCaption();

  TPxHtmlClickEvent OnLinkClick;

 protected:
  void Paint() override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;

 private:
  void AdjustToCaption();

  bool FAutoSize = false;
  String FCaption;
  bool FTransparentSet = false;
};

class TPxSplitter : public TSplitter {
  KST_CLASS(TPxSplitter, TSplitter)
 public:
  explicit TPxSplitter(TComponent* owner);
  ~TPxSplitter() override;
  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);

 protected:
  void Paint() override;

 private:
  TColorScheme FColorScheme = csDefault;
  bool FAdaptiveColors = true;
};

class TPxGlyphButton : public TCustomControl {
  KST_CLASS(TPxGlyphButton, TCustomControl)
 public:
  explicit TPxGlyphButton(TComponent* owner);
  ~TPxGlyphButton() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value) { FAutoCheck = value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TBackgroundDrawStyle BackgroundDrawStyle() const { return FBackgroundDrawStyle; }
  void SetBackgroundDrawStyle(TBackgroundDrawStyle value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value) { StoreAndRepaint(FChecked, value); }
  bool Down() const { return FDown; }
  void SetDown(bool value) { StoreAndRepaint(FDown, value); }
  TBitmap* GetImage() const { return FImage.get(); }
  void SetImage(const TBitmap* value) { FImage->Assign(value); }
  TBitmap* GetDownImage() const { return FDownImage.get(); }
  void SetDownImage(const TBitmap* value) { FDownImage->Assign(value); }
  TBitmap* GetHoverImage() const { return FHoverImage.get(); }
  void SetHoverImage(const TBitmap* value) { FHoverImage->Assign(value); }
  TBitmap* GetDisabledImage() const { return FDisabledImage.get(); }
  void SetDisabledImage(const TBitmap* value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // The bitmap the state shows.
  TBitmap& StateImage() const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;

 private:
  void StoreAndRepaint(bool& field, bool value);
  void ImageChanged(TBitmap& changed);
  void FitToImage();

  TAlignment FAlignment = taLeftJustify;
  bool FAutoCheck = false;
  bool FAutoSize = false;
  std::unique_ptr<TBitmap> FBufferBitmap;
  bool FChecked = false;
  bool FDown = false;
  std::unique_ptr<TBitmap> FDownImage;
  bool FHover = false;
  std::unique_ptr<TBitmap> FHoverImage;
  std::unique_ptr<TBitmap> FImage;
  Integer FMargin = 2;
  bool FPressed = false;
  bool FTransparent = false;
  TBackgroundDrawStyle FBackgroundDrawStyle = bdsSkip;
  std::unique_ptr<TBitmap> FDisabledImage;
};
