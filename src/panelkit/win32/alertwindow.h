// The alert window: a notice that slides out of the taskbar's edge of the
// screen, stays for a while and slides back; several shown at once stack.
// The sliding is done by two timers, whose ticks tests may also call.
#pragma once

#include "ui/winapi.h"

#include <shellapi.h>

#include <memory>
#include <optional>
#include <vector>

#include "panelkit/providers.h"
#include "panelkit/pxclasses.h"
#include "panelkit/win32/collection.h"
#include "panelkit/win32/linklabel.h"
#include "panelkit/win32/panels.h"
#include "ui/extctrls.h"

enum TAlertDirection { adNone, adUp, adDown };
enum TBackgroundStyle { btAuto, btSolid, btCustom };
enum TGlyphPosition { gpLeft, gpLeftTop, gpTop };
enum TPopupLocation { plLeft, plRight };
enum TMessageBeepSound { msNone, msIconExclamation, msIconHand, msOk, msIconQuestion, msIconAsterisk };
enum TAlertOption { aoAutoSize, aoCloseButton, aoHtmlText, aoOptionsLink };
using TAlertOptions = TSet<TAlertOption>;
using TCustomDrawEvent = TDelegate<void(TObject* Sender, const TRect& DrawRect)>;

const TTypeInfo& DescribeType(TypeTag<TBackgroundStyle>);
const TTypeInfo& DescribeType(TypeTag<TGlyphPosition>);
const TTypeInfo& DescribeType(TypeTag<TPopupLocation>);
const TTypeInfo& DescribeType(TypeTag<TMessageBeepSound>);
const TTypeInfo& DescribeType(TypeTag<TAlertOption>);
const TTypeInfo& DescribeType(TypeTag<TAlertOptions>);
// Other events share its signature: it is named where it is published.
const TMethodTypeInfo& CustomDrawEventType();

// Where the taskbar lies: its edge (ABE_LEFT 0, ABE_TOP 1, ABE_RIGHT 2,
// ABE_BOTTOM 3) and its rectangle on the screen.
struct TAlertTaskbar {
  UINT Edge = ABE_BOTTOM;
  TRect Bounds;
};

// The screen rectangle of an alert of the width and (current) height that
// keeps the indent from the taskbar; at full height it stands on the
// taskbar, otherwise it grows out of it. A taskbar at the left or right
// side leaves the alert at the bottom of the screen.
TRect AlertBounds(const TAlertTaskbar& taskbar, TSize screen, TPopupLocation location, Integer width, Integer height,
                  Integer indent, bool fullHeight);

// The bands the alerts shown in this process hold: each entry is the top of
// one band, counted from the taskbar.
const std::vector<Integer>& AlertStackEntries();

class TPxAlertWindow : public TCustomControl {
  KST_CLASS(TPxAlertWindow, TCustomControl)
 public:
  explicit TPxAlertWindow(TComponent* owner);
  ~TPxAlertWindow() override;

  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value) { StoreAndRepaint(FAdaptiveColors, value); }
  TAlertDirection AlertDirection() const { return FAlertDirection; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value) { StoreAndRepaint(FAlignment, value); }
  TBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TBackgroundStyle value) { StoreAndRepaint(FBackgroundStyle, value); }
  const String& AlertCaption() const { return FCaption; }
  void SetAlertCaption(const String& value) { StoreAndRepaint(FCaption, value); }
  Integer CloseDelay() const { return FCloseDelay; }
  void SetCloseDelay(Integer value);
  TPxActiveGlyphSettings* GetCloseGlyph() const { return FCloseGlyph.get(); }
  void SetCloseGlyph(const TPxActiveGlyphSettings* value);
  TColor ForegroundColor() const { return FForegroundColor; }
  void SetForegroundColor(TColor value) { StoreAndRepaint(FForegroundColor, value); }
  TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
  void SetGlyphPosition(TGlyphPosition value) { StoreAndRepaint(FGlyphPosition, value); }
  TFont* GetHeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(const TFont* value) { FHeaderFont->Assign(value); }
  Integer HeaderSize() const { return FHeaderSize; }
  void SetHeaderSize(Integer value);
  TPxGlyphSettings* GetLargeGlyph() const { return FLargeGlyph.get(); }
  void SetLargeGlyph(const TPxGlyphSettings* value);
  TAlertOptions Options() const { return FOptions; }
  void SetOptions(TAlertOptions value);
  const String& OptionsText() const { return FOptionsText; }
  void SetOptionsText(const String& value);
  TPopupLocation PopupLocation() const { return FPopupLocation; }
  void SetPopupLocation(TPopupLocation value) { FPopupLocation = value; }
  TMessageBeepSound PopupSound() const { return FPopupSound; }
  void SetPopupSound(TMessageBeepSound value) { FPopupSound = value; }
  TPxGlyphSettings* GetSmallGlyph() const { return FSmallGlyph.get(); }
  void SetSmallGlyph(const TPxGlyphSettings* value);
  const String& Text() const { return FText; }
  void SetText(const String& value);
  TPxMargins* GetTextMargins() const { return FTextMargins.get(); }
  void SetTextMargins(const TPxMargins* value) { FTextMargins->Assign(value); }
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment value) { StoreAndRepaint(FVerticalAlignment, value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);

  bool FullOpen() const { return FFullOpen; }
  bool InProgress() const { return FInProgress; }
  Integer Indent() const { return FIndent; }
  Integer RealHeight() const { return FRealHeight; }
  TButtonState CloseButtonState() const { return FCloseButtonState; }
  TTimer& PopupTimer() const { return *FPopupTimer; }
  TTimer& DelayTimer() const { return *FDelayTimer; }

  // Shows the window: it grows out of the taskbar from height 0.
  void Popup();
  // A non-empty text replaces the text, a non-zero delay the close delay.
  void Popup(const String& text, Integer closeDelay);
  // Starts sliding back.
  void Close();
  void Assign(const TPersistent* source) override;

  TRect HeaderRect() const;
  TRect MessageRect() const;
  TRect TextRect() const;
  TRect CloseButtonRect() const;
  TRect OptionsLinkRect();
  // The link of the mini-HTML text at the client point; empty where none is.
  String LinkAt(Integer x, Integer y);
  // The foreground colour: the scheme's with AdaptiveColors, else ForegroundColor.
  TColor CurrentForegroundColor() const;
  // Where the taskbar is, from the shell; a bottom edge of no height when
  // the shell does not say.
  static TAlertTaskbar Taskbar();

  TNotifyEvent OnClose;
  TNotifyEvent OnCloseClick;
  TCustomDrawEvent OnCustomDrawHeader;
  TCustomDrawEvent OnCustomDrawMessage;
  TPxHtmlClickEvent OnLinkClick;
  TNotifyEvent OnOptionsClick;
  TNotifyEvent OnPopup;
  // After OnClose; not published.
  TNotifyEvent OnClosing;

  // One step of the slide (the animation timer's tick).
  void AnimationTick(TObject* = nullptr);
  // The close delay is over (the delay timer's tick).
  void DelayTick(TObject* = nullptr);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Loaded() override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

  virtual void DrawCloseButton(TCanvas& canvas);
  virtual void DrawHeaderBackground(TCanvas& canvas, const TRect& rect);
  virtual void DrawHeaderContent(TCanvas& canvas, const TRect& rect);
  virtual void DrawMessageBackground(TCanvas& canvas, const TRect& rect);
  virtual void DrawMessageContent(TCanvas& canvas, const TRect& rect);
  virtual void DoCloseClick();
  virtual void DoClose();
  virtual void DoLinkClick(const String& href);
  virtual void DoOptionsClick();
  virtual void DoPopup();

 private:
  template <typename T>
  void StoreAndRepaint(T& field, const T& value) {
    field = value;
    Invalidate();
  }
  void SettingsChanged(TObject*);
  void MarginsChanged(TObject*);
  void AutoSizeRule();
  // The height the text needs (header, margins, text, options link), the
  // window's or not.
  void FitHeightToText();
  void LoadCloseGlyphs();
  // Moves the window to the height, topmost and shown without activation.
  void PlaceAt(Integer height, bool fullHeight);
  // Gives back the band of the stack this window holds, if any.
  void LeaveStack();

  bool FAdaptiveColors = true;
  TAlertDirection FAlertDirection = adNone;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoResizing = false;
  TBackgroundStyle FBackgroundStyle = btAuto;
  String FCaption;
  TButtonState FCloseButtonState;
  Integer FCloseDelay = 5000;
  std::unique_ptr<TPxActiveGlyphSettings> FCloseGlyph;
  TTimer* FDelayTimer = nullptr;
  Integer FFixedHeight = 0;
  TColor FForegroundColor = static_cast<TColor>(0xF0CAA6);
  bool FFullOpen = false;
  TGlyphPosition FGlyphPosition = gpLeft;
  std::unique_ptr<TFont> FHeaderFont;
  Integer FHeaderSize = 22;
  Integer FIndent = 0;
  bool FInProgress = false;
  std::unique_ptr<TPxGlyphSettings> FLargeGlyph;
  TAlertOptions FOptions{aoCloseButton, aoOptionsLink};
  String FOptionsText = u"Options";
  TPopupLocation FPopupLocation = plRight;
  TMessageBeepSound FPopupSound = msNone;
  TTimer* FPopupTimer = nullptr;
  bool FPreparing = false;
  Integer FRealHeight = 0;
  std::unique_ptr<TPxGlyphSettings> FSmallGlyph;
  String FText;
  std::unique_ptr<TPxMargins> FTextMargins;
  TVerticalAlignment FVerticalAlignment = taVerticalCenter;
  bool FWordWrap = false;
  // The entry this window put on the stack, until it gives it back.
  std::optional<Integer> FStackEntry;
};
