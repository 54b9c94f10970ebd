// The editor's appearance objects that forms set property by property: the
// gutter, the selection colours and the bookmark options. Each reports every
// real change through OnChange; the window control draws with them and adds
// what needs the window system (the gutter's font, bookmark images, glyphs).
#pragma once

#include "rtl/events.h"
#include "rtl/object.h"
#include "rtl/uitypes.h"

enum TCodeGutterBorderStyle { gbsNone, gbsMiddle, gbsRight };

class TCodeGutter : public TObject {
 public:
  TColor Color() const noexcept { return fColor; }
  void SetColor(TColor value);
  TColor BorderColor() const noexcept { return fBorderColor; }
  void SetBorderColor(TColor value);
  // 0 while the gutter is invisible.
  Integer Width() const noexcept { return fVisible ? fWidth : 0; }
  void SetWidth(Integer value);
  bool ShowLineNumbers() const noexcept { return fShowLineNumbers; }
  void SetShowLineNumbers(bool value);
  Integer DigitCount() const noexcept { return fDigitCount; }
  // Clamped to 2..12.
  void SetDigitCount(Integer value);
  bool LeadingZeros() const noexcept { return fLeadingZeros; }
  void SetLeadingZeros(bool value);
  bool ZeroStart() const noexcept { return fZeroStart; }
  void SetZeroStart(bool value);
  Integer LeftOffset() const noexcept { return fLeftOffset; }
  void SetLeftOffset(Integer value);
  Integer RightOffset() const noexcept { return fRightOffset; }
  void SetRightOffset(Integer value);
  TCursor Cursor() const noexcept { return fCursor; }
  void SetCursor(TCursor value);
  bool Visible() const noexcept { return fVisible; }
  void SetVisible(bool value);
  bool UseFontStyle() const noexcept { return fUseFontStyle; }
  void SetUseFontStyle(bool value);
  bool AutoSize() const noexcept { return fAutoSize; }
  void SetAutoSize(bool value);
  TCodeGutterBorderStyle BorderStyle() const noexcept { return fBorderStyle; }
  // Notifies on every assignment.
  void SetBorderStyle(TCodeGutterBorderStyle value);
  Integer LineNumberStart() const noexcept { return fLineNumberStart; }
  void SetLineNumberStart(Integer value);
  bool Gradient() const noexcept { return fGradient; }
  void SetGradient(bool value);
  TColor GradientStartColor() const noexcept { return fGradientStartColor; }
  void SetGradientStartColor(TColor value);
  TColor GradientEndColor() const noexcept { return fGradientEndColor; }
  void SetGradientEndColor(TColor value);
  Integer GradientSteps() const noexcept { return fGradientSteps; }
  void SetGradientSteps(Integer value);

  // The digits shown: enough for the highest line number when auto-sizing.
  Integer AutoSizeDigitCountValue() const noexcept { return fAutoSizeDigitCount; }
  void AutoSizeDigitCount(Integer linesCount);
  // Right-aligned in the digit count, with leading zeros when asked.
  String FormatLineNumber(Integer line) const;
  Integer RealGutterWidth(Integer charWidth) const;
  // Copies every property with one notification.
  void Assign(const TCodeGutter& source);

  TNotifyEvent OnChange;

 private:
  template <typename T>
  void Change(T& field, T value);
  void Changed() { OnChange(this); }

  TColor fColor = clBtnFace;
  TColor fBorderColor = clWindow;
  Integer fWidth = 30;
  bool fShowLineNumbers = false;
  Integer fDigitCount = 4;
  bool fLeadingZeros = false;
  bool fZeroStart = false;
  Integer fLeftOffset = 16;
  Integer fRightOffset = 2;
  TCursor fCursor = crDefault;
  bool fVisible = true;
  bool fUseFontStyle = true;
  bool fAutoSize = false;
  Integer fAutoSizeDigitCount = 4;
  TCodeGutterBorderStyle fBorderStyle = gbsMiddle;
  Integer fLineNumberStart = 1;
  bool fGradient = false;
  TColor fGradientStartColor = clWindow;
  TColor fGradientEndColor = clBtnFace;
  Integer fGradientSteps = 48;
};

class TCodeSelectedColor : public TObject {
 public:
  TColor Background() const noexcept { return fBG; }
  void SetBackground(TColor value);
  TColor Foreground() const noexcept { return fFG; }
  void SetForeground(TColor value);
  void Assign(const TCodeSelectedColor& source);

  TNotifyEvent OnChange;

 private:
  TColor fBG = clHighlight;
  TColor fFG = clHighlightText;
};

class TCodeBookMarkOpt : public TObject {
 public:
  explicit TCodeBookMarkOpt(TObject* owner = nullptr) : fOwner(owner) {}

  // The image list the marks draw from (none by default); the control owns
  // the link to it and drops it when the list goes.
  TObject* BookmarkImages() const noexcept { return fBookmarkImages; }
  void SetBookmarkImages(TObject* value);
  bool DrawBookmarksFirst() const noexcept { return fDrawBookmarksFirst; }
  void SetDrawBookmarksFirst(bool value);
  // Whether the bookmark keystrokes work (a plain value).
  bool EnableKeys = true;
  bool GlyphsVisible() const noexcept { return fGlyphsVisible; }
  void SetGlyphsVisible(bool value);
  Integer LeftMargin() const noexcept { return fLeftMargin; }
  void SetLeftMargin(Integer value);
  Integer Xoffset() const noexcept { return fXoffset; }
  void SetXoffset(Integer value);
  TObject* Owner() const noexcept { return fOwner; }
  void Assign(const TCodeBookMarkOpt& source);

  TNotifyEvent OnChange;

 private:
  TObject* fBookmarkImages = nullptr;
  bool fDrawBookmarksFirst = true;
  bool fGlyphsVisible = true;
  Integer fLeftMargin = 2;
  TObject* fOwner;
  Integer fXoffset = 12;
};
