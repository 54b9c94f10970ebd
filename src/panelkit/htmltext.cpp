#include "panelkit/htmltext.h"

#include <algorithm>

#include "panelkit/colorschemes.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

namespace {

enum TTagKind { tkOther, tkLink, tkBold, tkBreak, tkFont, tkItalic, tkImage, tkUnderline, tkBackground };

TTagKind TagKindOf(StringView name) {
  static const struct {
    const char16_t* Name;
    TTagKind Kind;
  } kinds[] = {{u"a", tkLink},   {u"b", tkBold},    {u"br", tkBreak},    {u"font", tkFont},
               {u"i", tkItalic}, {u"img", tkImage}, {u"u", tkUnderline}, {u"background", tkBackground}};
  for (const auto& k : kinds)
    if (SameText(name, k.Name)) return k.Kind;
  return tkOther;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Font sizes beyond this make no sense on a label and only strain the system's font mapper.
constexpr Integer kLargestFontSize = 1000;

class TLayouter {
 public:
  TLayouter(const THtmlRequest& request, THtmlMeasurer& measurer, THtmlInfo& info)
      : R(request), M(measurer), Info(info) {
    x0 = R.Rect.Left + R.Offset.X;
    x = x0;
    y = R.Rect.Top + R.Offset.Y;
    lineTop = y;
    style = R.StartStyle;
  }

  THtmlLayout Run() {
    Info.Size = TSize{};
    for (char16_t c : R.Text) Scan(c);
    if (state != sText) part += tagSource;  // markup cut off by the end of the text is shown as it stands
    EndWord();
    Info.Size.cy = (y - R.Rect.Top) + lineHeight;
    lines.push_back({lineTop, lineHeight});
    if (R.Mode == hmHitTest) HitTest();
    return std::move(out);
  }

 private:
  enum TState { sText, sTagStart, sOpenName, sAttrName, sAttrValue, sCloseName };

  struct TPending {
    String Text;
    THtmlStyle Style;
    TSize Extent;
    int Link;
  };
  struct TLink {
    String Href;
    bool Testable = false;
    std::vector<size_t> Runs;
  };
  struct TLine {
    Integer Top;
    Integer Height;
  };

  void Scan(char16_t c) {
    switch (state) {
      case sText:
        if (c == u'<') {
          FlushPart();
          state = sTagStart;
          tagSource = u"<";
        } else if (c == u' ') {
          Space();
        } else {
          part += c;
        }
        break;
      case sTagStart:
        if (c == u' ' || c == u'>' || c == u'<') {
          // Not a tag: the "<" is text.
          state = sText;
          part += u'<';
          tagSource.clear();
          Scan(c);
        } else if (c == u'/') {
          tagSource += c;
          state = sCloseName;
          name.clear();
          if (R.Mode == hmHitTest && lastOpened == tkLink && openLink >= 0) links[openLink].Testable = true;
        } else {
          tagSource += c;
          state = sOpenName;
          name.assign(1, c);
        }
        break;
      case sOpenName:
        tagSource += c;
        if (c == u' ' || c == u'>') {
          OpenTag();
          if (c == u'>') {
            EndOpenTag();
          } else {
            state = sAttrName;
            attrName.clear();
          }
        } else {
          name += c;
        }
        break;
      case sAttrName:
        tagSource += c;
        if (c == u'=') {
          state = sAttrValue;
          attrValue.clear();
          inQuotes = false;
        } else if (c == u'>') {
          EndOpenTag();
        } else if (c != u' ' || !attrName.empty()) {
          attrName += c;
        }
        break;
      case sAttrValue:
        tagSource += c;
        if (c == u'"') {
          inQuotes = !inQuotes;
          attrValue += c;
        } else if (!inQuotes && (c == u' ' || c == u'>')) {
          ApplyAttribute();
          attrName.clear();
          if (c == u'>')
            EndOpenTag();
          else
            state = sAttrName;
        } else {
          attrValue += c;
        }
        break;
      case sCloseName:
        tagSource += c;
        if (c == u'>') {
          CloseTag(TagKindOf(name));
          state = sText;
          tagSource.clear();
        } else {
          name += c;
        }
        break;
    }
  }

  void Space() {
    EndWord();
    if (!lineHasWord) return;  // leading spaces of a line are dropped
    part = u" ";
    FlushPart();
    EndWord();
  }

  void OpenTag() {
    openTag = TagKindOf(name);
    lastOpened = openTag;
    if (openTag == tkBreak) {
      EndWord();
      NewLine(true);
      return;
    }
    stack.push_back(style);
    switch (openTag) {
      case tkBold: style.Style.Include(fsBold); break;
      case tkItalic: style.Style.Include(fsItalic); break;
      case tkUnderline: style.Style.Include(fsUnderline); break;
      case tkLink:
        style.Style.Include(fsUnderline);
        style.Color = 0xFF0000;
        openLink = static_cast<int>(links.size());
        links.emplace_back();
        break;
      case tkImage: pictureName.clear(); break;
      default: break;
    }
  }

  void EndOpenTag() {
    state = sText;
    tagSource.clear();
    if (openTag == tkImage) CloseTag(tkImage);
  }

  void ApplyAttribute() {
    StringView value = attrValue;
    if (!value.empty() && value.front() == u'"') value.remove_prefix(1);
    if (!value.empty() && value.back() == u'"') value.remove_suffix(1);
    if (openTag == tkLink) {
      if (openLink >= 0) links[openLink].Href = String(value);
      return;
    }
    if (openTag == tkFont) {
      if (SameText(attrName, u"color")) {
        const TColor color = HtmlToColor(value);
        if (color != clNone) style.Color = color;
      } else if (SameText(attrName, u"name")) {
        style.FontName = String(value);
      } else if (SameText(attrName, u"size")) {
        // A size that is no number is ignored rather than failing the paint.
        Integer size = 0;
        if (TryStrToInt(value, size) && size > 0 && size <= kLargestFontSize) style.Size = size;
      }
    } else if (openTag == tkImage) {
      if (SameText(attrName, u"src")) pictureName = String(value);
    } else if (openTag == tkBackground) {
      if (SameText(attrName, u"color")) {
        const TColor color = HtmlToColor(value);
        if (color != clNone) style.BackgroundColor = color;
      }
    }
  }

  void CloseTag(TTagKind kind) {
    if (!stack.empty()) {
      style = stack.back();
      stack.pop_back();
    }
    if (kind == tkLink) openLink = -1;
    if (kind == tkImage) PlacePicture();
  }

  void PlacePicture() {
    if (!IsHtmlPictureFileName(pictureName)) return;
    const std::optional<TSize> extent = M.PictureExtent(pictureName);
    if (!extent) return;
    // The word so far goes first, so that the picture follows it instead of covering it.
    EndWord();
    out.Pictures.push_back({pictureName, TPoint{x, y}, *extent});
    x += extent->cx;
    lineHeight = std::max(lineHeight, extent->cy);
    Info.Size.cx = std::max(Info.Size.cx, x - R.Rect.Left);
    lineHasWord = true;
  }

  void FlushPart() {
    if (part.empty()) return;
    const TSize extent = M.TextExtent(part, style);
    word.push_back({std::move(part), style, extent, openLink});
    part.clear();
  }

  void EndWord() {
    FlushPart();
    if (word.empty()) return;
    Integer width = 0;
    for (const TPending& p : word) width += p.Extent.cx;
    const bool space = word.size() == 1 && word.front().Text == u" ";
    if (!space && R.Wrap == wkWordWrap && x + width > R.Rect.Right && x > x0) NewLine(false);
    Integer runX = x;
    for (TPending& p : word) {
      lineHeight = std::max(lineHeight, p.Extent.cy);
      if (p.Link >= 0) links[p.Link].Runs.push_back(out.Runs.size());
      runLines.push_back(lines.size());
      out.Runs.push_back({std::move(p.Text), p.Style, TPoint{runX, y}, p.Extent});
      runX += p.Extent.cx;
    }
    word.clear();
    x += width;
    Info.Size.cx = std::max(Info.Size.cx, x - R.Rect.Left);
    if (!space) lineHasWord = true;
  }

  void NewLine(bool forced) {
    // A measurement gives the unwrapped extent: only forced breaks count.
    if (!forced && R.Mode == hmMeasure) return;
    lines.push_back({lineTop, lineHeight});
    y += lineHeight;
    lineTop = y;
    Info.Size.cy = y - R.Rect.Top;
    x = x0;
    lineHeight = 0;
    lineHasWord = false;
  }

  void HitTest() {
    for (const TLink& link : links) {
      if (!link.Testable) continue;
      for (size_t index : link.Runs) {
        const THtmlRun& run = out.Runs[index];
        const TLine& line = lines[runLines[index]];
        const TRect box = Rect(run.Origin.X, line.Top, run.Origin.X + run.Extent.cx, line.Top + line.Height);
        if (box.Contains(R.HitPoint)) Info.TagValue = link.Href;
      }
    }
  }

  const THtmlRequest& R;
  THtmlMeasurer& M;
  THtmlInfo& Info;
  THtmlLayout out;

  Integer x0 = 0, x = 0, y = 0, lineTop = 0, lineHeight = 0;
  bool lineHasWord = false;
  THtmlStyle style;
  std::vector<THtmlStyle> stack;
  std::vector<TPending> word;
  String part;

  TState state = sText;
  String tagSource, name, attrName, attrValue, pictureName;
  bool inQuotes = false;
  TTagKind openTag = tkOther;
  TTagKind lastOpened = tkOther;

  std::vector<TLink> links;
  int openLink = -1;
  std::vector<TLine> lines;
  std::vector<size_t> runLines;
};

}  // namespace

bool IsHtmlPictureFileName(StringView fileName) {
  for (StringView extension : {StringView(u".jpg"), StringView(u".jpeg"), StringView(u".bmp")})
    if (fileName.size() > extension.size() && fileName.ends_with(extension)) return true;
  return false;
}

TColor HtmlToColor(StringView text) {
  const String lower = LowerCase(text);
  StringView colorText = text;
  for (const THtmlColor& named : HtmlColors)
    if (lower == named.Name) {
      colorText = named.Value;
      break;
    }
  if (colorText.size() < 2 || colorText.size() > 7 || colorText.front() != u'#') return clNone;
  std::uint32_t value = 0;
  for (char16_t c : colorText.substr(1)) {
    const int digit = HexDigit(c);
    if (digit < 0) return clNone;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  // $RRGGBB as written becomes the platform's $BBGGRR.
  return static_cast<TColor>(((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF));
}

String ColorToHtml(TColor resolved) {
  static const char16_t digits[] = u"0123456789ABCDEF";
  String result = u"#";
  for (int shift : {0, 8, 16}) {
    const int channel = (resolved >> shift) & 0xFF;
    result += digits[channel >> 4];
    result += digits[channel & 0xF];
  }
  return result;
}

THtmlLayout LayoutHtmlText(const THtmlRequest& request, THtmlMeasurer& measurer, THtmlInfo& info) {
  return TLayouter(request, measurer, info).Run();
}
