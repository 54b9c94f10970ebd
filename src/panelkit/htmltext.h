// The layout of short texts with a handful of HTML-like tags (bold, italic,
// underline, font, background colour, links, images, line breaks): where
// each run of text and each picture goes, how large the whole is, and which
// link lies under a point. Painting on a canvas is left to the caller, who
// also measures text and pictures.
#pragma once

#include <optional>
#include <vector>

#include "panelkit/pxclasses.h"
#include "rtl/geometry.h"
#include "rtl/types.h"
#include "rtl/uitypes.h"

enum THtmlMode { hmPaint, hmMeasure, hmHitTest };

struct THtmlStyle {
  TColor BackgroundColor = clNone;
  String FontName;
  Integer Size = 8;
  TColor Color = 0;
  TFontStyles Style;
  friend bool operator==(const THtmlStyle&, const THtmlStyle&) = default;
};

// What the caller learns: the extent of the laid-out text (from the
// rectangle's corner) and, in hit-test mode, the target of the link under
// the point (left as it was when there is none).
struct THtmlInfo {
  String TagValue;
  TSize Size;
};

struct THtmlRun {
  String Text;
  THtmlStyle Style;
  TPoint Origin;
  TSize Extent;
};

struct THtmlPicture {
  String FileName;
  TPoint Origin;
  TSize Extent;
};

struct THtmlLayout {
  std::vector<THtmlRun> Runs;
  std::vector<THtmlPicture> Pictures;
};

// Measures for the layout: text in a style, and pictures by file name
// (nothing for a file that is missing or cannot be read: it is skipped).
class THtmlMeasurer {
 public:
  virtual ~THtmlMeasurer() = default;
  virtual TSize TextExtent(StringView text, const THtmlStyle& style) = 0;
  virtual std::optional<TSize> PictureExtent(const String& fileName) = 0;
};

// True for the file names whose pictures are shown: ending exactly in
// ".jpg", ".jpeg" or ".bmp" (lower case).
bool IsHtmlPictureFileName(StringView fileName);

// The colour of a web colour name or "#RRGGBB" text; clNone for anything else.
TColor HtmlToColor(StringView text);
// "#RRGGBB" of a colour whose system colour the caller has resolved.
String ColorToHtml(TColor resolved);

struct THtmlRequest {
  TRect Rect;
  StringView Text;
  THtmlStyle StartStyle;
  TWrapKind Wrap = wkWordWrap;
  THtmlMode Mode = hmPaint;
  TPoint Offset;
  TPoint HitPoint;
};

// Lays the text out: the runs and pictures to paint (only paint mode paints
// them; a measurement does not wrap), the info's size in every mode and its
// tag value in hit-test mode.
// Never fails: markup that makes no sense is shown as far as it makes sense.
THtmlLayout LayoutHtmlText(const THtmlRequest& request, THtmlMeasurer& measurer, THtmlInfo& info);
