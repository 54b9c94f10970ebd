#include "codeedit/appearance.h"

#include <algorithm>

#include "rtl/format.h"
#include "rtl/numbers.h"

// ---- TCodeGutter ----

template <typename T>
void TCodeGutter::Change(T& field, T value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TCodeGutter::SetColor(TColor value) {
  Change(fColor, value);
}
void TCodeGutter::SetBorderColor(TColor value) {
  Change(fBorderColor, value);
}
void TCodeGutter::SetWidth(Integer value) {
  Change(fWidth, std::max(value, 0));
}
void TCodeGutter::SetShowLineNumbers(bool value) {
  Change(fShowLineNumbers, value);
}
void TCodeGutter::SetLeadingZeros(bool value) {
  Change(fLeadingZeros, value);
}
void TCodeGutter::SetZeroStart(bool value) {
  Change(fZeroStart, value);
}
void TCodeGutter::SetLeftOffset(Integer value) {
  Change(fLeftOffset, std::max(value, 0));
}
void TCodeGutter::SetRightOffset(Integer value) {
  Change(fRightOffset, std::max(value, 0));
}
void TCodeGutter::SetCursor(TCursor value) {
  Change(fCursor, value);
}
void TCodeGutter::SetVisible(bool value) {
  Change(fVisible, value);
}
void TCodeGutter::SetUseFontStyle(bool value) {
  Change(fUseFontStyle, value);
}
void TCodeGutter::SetAutoSize(bool value) {
  Change(fAutoSize, value);
}
void TCodeGutter::SetGradient(bool value) {
  Change(fGradient, value);
}
void TCodeGutter::SetGradientStartColor(TColor value) {
  Change(fGradientStartColor, value);
}
void TCodeGutter::SetGradientEndColor(TColor value) {
  Change(fGradientEndColor, value);
}
void TCodeGutter::SetGradientSteps(Integer value) {
  Change(fGradientSteps, std::max(value, 2));
}

void TCodeGutter::SetDigitCount(Integer value) {
  value = std::clamp(value, 2, 12);
  if (fDigitCount == value) return;
  fAutoSizeDigitCount = value;
  fDigitCount = value;
  Changed();
}

void TCodeGutter::SetBorderStyle(TCodeGutterBorderStyle value) {
  fBorderStyle = value;
  Changed();
}

void TCodeGutter::SetLineNumberStart(Integer value) {
  value = std::max(value, 0);
  if (fLineNumberStart == value) return;
  fLineNumberStart = value;
  fZeroStart = value == 0;
  Changed();
}

void TCodeGutter::AutoSizeDigitCount(Integer linesCount) {
  if (fVisible && fAutoSize && fShowLineNumbers) {
    Integer highest = linesCount;
    if (fZeroStart) {
      highest = linesCount - 1;
    } else if (fLineNumberStart > 1) {
      highest = linesCount + fLineNumberStart - 1;
    }
    const auto digits = std::max(static_cast<Integer>(IntToStr(highest).size()), fDigitCount);
    if (digits != fAutoSizeDigitCount) {
      fAutoSizeDigitCount = digits;
      Changed();
    }
  } else {
    fAutoSizeDigitCount = fDigitCount;
  }
}

String TCodeGutter::FormatLineNumber(Integer line) const {
  Integer shown = line;
  if (fZeroStart) {
    shown = line - 1;
  } else if (fLineNumberStart > 1) {
    shown = line + fLineNumberStart - 1;
  }
  String result = Format(u"%*d", {fAutoSizeDigitCount, shown});
  if (fLeadingZeros) {
    for (Integer i = 0; i < fAutoSizeDigitCount - 1 && i < static_cast<Integer>(result.size()); ++i) {
      if (result[static_cast<size_t>(i)] != u' ') break;
      result[static_cast<size_t>(i)] = u'0';
    }
  }
  return result;
}

Integer TCodeGutter::RealGutterWidth(Integer charWidth) const {
  if (!fVisible) return 0;
  if (fShowLineNumbers) return fLeftOffset + fRightOffset + charWidth * fAutoSizeDigitCount + 2;
  return fWidth;
}

void TCodeGutter::Assign(const TCodeGutter& source) {
  if (&source == this) return;
  TNotifyEvent onChange = OnChange;
  *this = source;
  OnChange = onChange;
  Changed();
}

// ---- TCodeSelectedColor ----

void TCodeSelectedColor::SetBackground(TColor value) {
  if (fBG == value) return;
  fBG = value;
  OnChange(this);
}

void TCodeSelectedColor::SetForeground(TColor value) {
  if (fFG == value) return;
  fFG = value;
  OnChange(this);
}

void TCodeSelectedColor::Assign(const TCodeSelectedColor& source) {
  fBG = source.fBG;
  fFG = source.fFG;
  OnChange(this);
}

// ---- TCodeBookMarkOpt ----

void TCodeBookMarkOpt::SetBookmarkImages(TObject* value) {
  if (fBookmarkImages == value) return;
  fBookmarkImages = value;
  OnChange(this);
}

void TCodeBookMarkOpt::SetDrawBookmarksFirst(bool value) {
  if (fDrawBookmarksFirst == value) return;
  fDrawBookmarksFirst = value;
  OnChange(this);
}

void TCodeBookMarkOpt::SetGlyphsVisible(bool value) {
  if (fGlyphsVisible == value) return;
  fGlyphsVisible = value;
  OnChange(this);
}

void TCodeBookMarkOpt::SetLeftMargin(Integer value) {
  if (fLeftMargin == value) return;
  fLeftMargin = value;
  OnChange(this);
}

void TCodeBookMarkOpt::SetXoffset(Integer value) {
  if (fXoffset == value) return;
  fXoffset = value;
  OnChange(this);
}

void TCodeBookMarkOpt::Assign(const TCodeBookMarkOpt& source) {
  fBookmarkImages = source.fBookmarkImages;
  fDrawBookmarksFirst = source.fDrawBookmarksFirst;
  EnableKeys = source.EnableKeys;
  fGlyphsVisible = source.fGlyphsVisible;
  fLeftMargin = source.fLeftMargin;
  fXoffset = source.fXoffset;
  OnChange(this);
}
