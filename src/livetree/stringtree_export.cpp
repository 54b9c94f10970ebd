// Content export of the string tree: tabbed and CSV text in 8 bits and in
// UTF-16, HTML with CSS in UTF-8, RTF, caller-defined formats through events,
// the clipboard contents and the CSV file.
#include <algorithm>
#include <vector>

#include "livetree/stringtree.h"
#include "rtl/codepage.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

// ---- Services ----

AnsiString TDefaultLiveTreeExportServices::ToAnsi(StringView text) {
  return StringToAnsi(text, kCodePageCurrent);
}

TColor TDefaultLiveTreeExportServices::ColorToRGB(TColor color) {
  if ((static_cast<Cardinal>(color) & 0xFF000000u) != static_cast<Cardinal>(clSystemColor)) return color & 0xFFFFFF;
  // The platform's classic scheme.
  static constexpr TColor classic[] = {0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464,
                                       0x000000, 0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800,
                                       0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF,
                                       0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF};
  Cardinal index = static_cast<Cardinal>(color) & 0xFF;
  return index < std::size(classic) ? classic[index] : 0;
}

void TCustomLiveStringTree::SetExportServices(ILiveTreeExportServices* services) {
  FExportServices = services != nullptr ? services : &FDefaultExportServices;
}

// ---- Node selection ----

bool TCustomLiveStringTree::ExportAllowed(PLiveNode node) {
  switch (TreeOptions().ExportMode()) {
    case emChecked: return node->CheckState == csCheckedNormal;
    case emUnchecked: return node->CheckState == csUncheckedNormal;
    case emVisibleDueToExpansion: return node->Parent->Has(vsExpanded);
    case emSelected: return Selected(node);
    default: return true;
  }
}

PLiveNode TCustomLiveStringTree::FirstRenderNode(TLSTTextSourceType source) {
  switch (source) {
    case tstInitialized: return GetFirstInitialized();
    case tstSelected: return GetFirstSelected();
    case tstCutCopySet: return GetFirstCutCopy();
    case tstVisible: return GetFirstVisible(nullptr, true, false);
    case tstChecked: return GetFirstChecked(csCheckedNormal);
    default: return GetFirst();
  }
}

PLiveNode TCustomLiveStringTree::NextRenderNode(TLSTTextSourceType source, PLiveNode node) {
  switch (source) {
    case tstInitialized: return GetNextInitialized(node);
    case tstSelected: return GetNextSelected(node);
    case tstCutCopySet: return GetNextCutCopy(node);
    case tstVisible: return GetNextVisible(node, true);
    case tstChecked: return GetNextChecked(node, csCheckedNormal);
    default: return GetNext(node);
  }
}

Cardinal TCustomLiveStringTree::MaxExportLevel(TLSTTextSourceType source, bool filtered) {
  Cardinal level = 0;
  for (PLiveNode run = FirstRenderNode(source); run; run = NextRenderNode(source, run))
    if (!filtered || ExportAllowed(run)) level = std::max(level, GetNodeLevel(run));
  return level;
}

namespace {

// The visible columns in display order, or the one pseudo column -1.
std::vector<TColumnIndex> ExportColumns(const TLTHeader& header) {
  if (!header.UseColumns()) return {NoColumn};
  return header.Columns().GetVisibleColumns();
}

String Quoted(const String& text) {
  String result = u"\"";
  for (Char c : text) {
    if (c == u'"') result += u'"';
    result += c;
  }
  return result + u'"';
}

// UTF-8 of a text whose unpaired surrogates are dropped.
RawByteString EncodeUTF8(const String& text) {
  String clean;
  clean.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    Char c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        clean += c;
        clean += text[++i];
      }
      continue;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) continue;
    clean += c;
  }
  return StringToUTF8(clean);
}

// Cell texts in HTML: the markup characters become entities.
RawByteString EscapedHTML(const String& text) {
  RawByteString encoded = EncodeUTF8(text);
  RawByteString result;
  result.reserve(encoded.size());
  for (char c : encoded) {
    switch (c) {
      case '&': result += "&amp;"; break;
      case '<': result += "&lt;"; break;
      case '>': result += "&gt;"; break;
      case '"': result += "&quot;"; break;
      default: result += c; break;
    }
  }
  return result;
}

RawByteString Ascii(const String& text) {
  return StringToUTF8(text);
}

TAlignment Mirrored(TAlignment alignment) {
  if (alignment == taLeftJustify) return taRightJustify;
  if (alignment == taRightJustify) return taLeftJustify;
  return alignment;
}

}  // namespace

// ---- Text ----

template <typename TextType, typename Convert>
TextType TCustomLiveStringTree::RenderText(TLSTTextSourceType source, const TextType& separator, bool unicode,
                                           Convert convert) {
  // Both texts are built in UTF-16; the 8-bit one is converted at the end.
  String sep = convert(separator);
  std::vector<TColumnIndex> columns = ExportColumns(Header());
  bool useColumns = Header().UseColumns();
  TColumnIndex mainColumn = MainColumn();
  Cardinal maxLevel = MaxExportLevel(source, false);
  String levelFill;
  for (Cardinal i = 0; i < maxLevel; ++i) levelFill += sep;
  auto indent = [&](Cardinal level) { return levelFill.substr(0, level * sep.size()); };
  String result;
  if (useColumns) {
    for (size_t i = 0; i < columns.size(); ++i) {
      result += Header().Columns()[columns[i]]->Text();
      if (i + 1 < columns.size()) {
        if (columns[i] == mainColumn) result += levelFill;
        result += sep;
      }
    }
    result += u"\r\n";
  }
  for (PLiveNode node = FirstRenderNode(source); node; node = NextRenderNode(source, node)) {
    if (!unicode) {
      if (!ExportAllowed(node)) continue;
      if (OnBeforeNodeExport && !OnBeforeNodeExport(this, etText, node)) continue;
    }
    Cardinal level = GetNodeLevel(node);
    if (!useColumns) {
      result += indent(level) + NodeText(node, NoColumn) + u"\r\n";
    } else {
      for (size_t i = 0; i < columns.size(); ++i) {
        TColumnIndex column = columns[i];
        String text = NodeText(node, column);
        bool quote = text.find(sep) != String::npos || (!unicode && text.find(u'"') != String::npos);
        if (sep.empty()) quote = !unicode && text.find(u'"') != String::npos;
        if (column == mainColumn) result += indent(level);
        // Quotes inside a quoted text are doubled in both forms.
        result += quote ? Quoted(text) : text;
        if (column == mainColumn) result += levelFill.substr(level * sep.size());
        if (i + 1 < columns.size()) result += sep;
      }
      result += u"\r\n";
    }
    if (!unicode && OnAfterNodeExport) OnAfterNodeExport(this, etText, node);
  }
  if constexpr (std::is_same_v<TextType, String>) {
    return result;
  } else {
    return FExportServices->ToAnsi(result);
  }
}

AnsiString TCustomLiveStringTree::ContentToText(TLSTTextSourceType source, Char separator) {
  return ContentToText(source, FExportServices->ToAnsi(StringView(&separator, 1)));
}

AnsiString TCustomLiveStringTree::ContentToText(TLSTTextSourceType source, const AnsiString& separator) {
  return RenderText(source, separator, false, [](const AnsiString& s) { return AnsiToString(s, kCodePageCurrent); });
}

String TCustomLiveStringTree::ContentToUnicode(TLSTTextSourceType source, Char separator) {
  return ContentToUnicode(source, String(1, separator));
}

String TCustomLiveStringTree::ContentToUnicode(TLSTTextSourceType source, const String& separator) {
  return RenderText(source, separator, true, [](const String& s) { return s; });
}

// ---- HTML ----

RawByteString TCustomLiveStringTree::ContentToHTML(TLSTTextSourceType source, const String& caption) {
  ILiveTreeExportServices& services = *FExportServices;
  auto color = [&services](TColor value) {
    TColor rgb = services.ColorToRGB(value);
    return Ascii(Format(u"#%.2x%.2x%.2x", {rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF}));
  };
  auto style = [&](const String& name, const TLiveTreeFont& font) {
    RawByteString text = name.empty() ? " style=\"{" : "." + Ascii(name) + "{";
    text += "font-family: '" + EncodeUTF8(font.Name) + "'; ";
    Integer size = font.Size(services.ScreenPixelsPerInch());
    if (size < 0)
      text += Ascii(Format(u"font-size: %dpx; ", {font.Height}));
    else
      text += Ascii(Format(u"font-size: %dpt; ", {size}));
    text += font.Style.Contains(fsItalic) ? "font-style: italic; " : "font-style: normal; ";
    text += font.Style.Contains(fsBold) ? "font-weight: bold; " : "font-weight: normal; ";
    text += font.Style.Contains(fsUnderline) ? "text-decoration: underline; " : "text-decoration: none; ";
    text += "color: " + color(font.Color) + ";}";
    if (name.empty()) text += "\"";
    return text;
  };
  auto alignment = [](TAlignment value, bool rightToLeft) {
    RawByteString text;
    if (rightToLeft) value = Mirrored(value);
    text = value == taRightJustify ? " align=right" : value == taCenter ? " align=center" : " align=left";
    if (rightToLeft) text += " dir=\"rtl\"";
    return text;
  };
  const RawByteString crlf = "\r\n";
  RawByteString padding = Ascii(Format(u"padding-left: %dpx; padding-right: %0:dpx;", {Margin()}));
  RawByteString line = LineStyle() == lsSolid ? "solid;" : "dotted;";
  RawByteString tableAttributes = " ";
  if (!caption.empty()) tableAttributes += "caption=\"" + EscapedHTML(caption) + "\"";
  if (BorderStyle() != bsNone) tableAttributes += Ascii(Format(u" border=\"%d\" frame=box", {BorderWidth() + 1}));
  TLTPaintOptions paintOptions = PaintOptions();

  RawByteString out;
  out += "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";
  out += "<style type=\"text/css\">" + crlf;
  out += style(u"default", Font()) + crlf;
  out += style(u"header", Header().Font()) + crlf;
  if (paintOptions.Contains(toShowHorzGridLines))
    out += ".noborder{ border-bottom:1px; border-left: 0px; border-right: 0px; border-top: 1px;border-style:" + line;
  else
    out += ".noborder{border-style: none;";
  out += padding + "}" + crlf;
  out += ".normalborder {vertical-align: top; ";
  out += paintOptions.Contains(toShowVertGridLines) ? "border-right: 1px; border-left: 1px; "
                                                    : "border-right: none; border-left:none; ";
  out += paintOptions.Contains(toShowHorzGridLines) ? "border-top: 1px; border-bottom: 1px; "
                                                    : "border-top:none; border-bottom: none;";
  out += "border-width: thin; border-style: " + line + padding + "}";
  out += "</style>" + crlf;
  out += "<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=" + color(Color()) + tableAttributes +
         " cellspacing=\"0\">" + crlf;

  Cardinal maxLevel = MaxExportLevel(source, true);
  std::vector<TColumnIndex> columns = ExportColumns(Header());
  bool useColumns = Header().UseColumns();
  TColumnIndex mainColumn = MainColumn();
  if (useColumns) {
    if (OnBeforeHeaderExport) OnBeforeHeaderExport(this, etHTML);
    out += "<tr class=\"header\" style=\"" + padding + "\">" + crlf;
    for (TColumnIndex index : columns) {
      TLiveTreeColumn* column = Header().Columns()[index];
      if (OnBeforeColumnExport) OnBeforeColumnExport(this, etHTML, column);
      out += Ascii(Format(u"<th height=\"%dpx\"", {Header().Height()}));
      out += alignment(column->CaptionAlignment(), column->BiDiMode() != bdLeftToRight);
      if (index == mainColumn && maxLevel > 0) out += Ascii(Format(u" colspan=\"%d\"", {maxLevel + 1}));
      out += " bgcolor=" + color(clBtnFace);
      out += Ascii(Format(u" width=\"%dpx\">", {column->Width()}));
      if (!column->Text().empty()) out += EscapedHTML(column->Text());
      out += "</th>";
      if (OnAfterColumnExport) OnAfterColumnExport(this, etHTML, column);
    }
    out += "</tr>" + crlf;
    if (OnAfterHeaderExport) OnAfterHeaderExport(this, etHTML);
  }
  TCanvas* canvas = EventCanvas(nullptr);
  for (PLiveNode node = FirstRenderNode(source); node; node = NextRenderNode(source, node)) {
    if (!ExportAllowed(node)) continue;
    if (OnBeforeNodeExport && !OnBeforeNodeExport(this, etHTML, node)) continue;
    out += " <tr class=\"default\">" + crlf;
    Cardinal level = GetNodeLevel(node);
    Cardinal height = GetNodeHeight(node);
    for (TColumnIndex index : columns) {
      TLiveTreeColumn* column = useColumns ? Header().Columns()[index] : nullptr;
      String text = NodeText(node, index);
      SetCanvasFont(canvas, Font());
      NotifyPaintText(node, canvas, index, ttNormal);
      TLiveTreeFont cellFont = CanvasFont(canvas);
      bool fontChanged = canvas != nullptr && !(cellFont == Font());
      bool parentColor = column == nullptr || column->Options().Contains(coParentColor);
      if (index == mainColumn) {
        for (Cardinal i = 0; i < level; ++i) {
          if (parentColor) {
            out += i == 0 ? Ascii(Format(u" <td height=\"%dpx\" class=\"normalborder\">&nbsp;</td>", {height}))
                          : RawByteString(" <td>&nbsp;</td>");
          } else {
            out += Ascii(Format(u"<td class=\"noborder\" width=\"%d\" height=\"%dpx\"", {Indent(), height})) +
                   " bgcolor=" + color(column->Color()) + ">&nbsp;</td>";
          }
        }
      }
      if (fontChanged)
        out += " <td class=\"normalborder\" " + style(u"", cellFont) + Ascii(Format(u" height=\"%dpx\"", {height}));
      else
        out += Ascii(Format(u" <td class=\"normalborder\"  height=\"%dpx\"", {height}));
      TAlignment cellAlignment = column != nullptr ? column->Alignment() : Alignment();
      bool rightToLeft = column != nullptr ? column->BiDiMode() != bdLeftToRight : BiDiMode() != bdLeftToRight;
      out += alignment(cellAlignment, rightToLeft);
      if (index == mainColumn && maxLevel > 0 && level < maxLevel)
        out += Ascii(Format(u" colspan=\"%d\"", {maxLevel - level + 1}));
      if (column != nullptr && !parentColor) out += " bgcolor=" + color(column->Color());
      out += ">";
      if (!text.empty()) out += EscapedHTML(text);
      out += "</td>";
    }
    if (OnAfterNodeExport) OnAfterNodeExport(this, etHTML, node);
    out += " </tr>" + crlf;
  }
  out += "</table>";
  return out;
}

RawByteString TCustomLiveStringTree::WrapHTMLForClipboard(const RawByteString& html) {
  // The published layout: the offsets count the header itself (97 bytes),
  // the document start (62 + 110 bytes) and the document end (32 bytes).
  Integer length = static_cast<Integer>(html.size());
  RawByteString out = "Version:1.0\r\n";
  out += Ascii(Format(u"%s%.8d\r\n", {u"StartHTML:", 97}));
  out += Ascii(Format(u"%s%.8d\r\n", {u"EndHTML:", length + 301}));
  out += Ascii(Format(u"%s%.8d\r\n", {u"StartFragment:", 269}));
  out += Ascii(Format(u"%s%.8d\r\n", {u"EndFragment:", length + 269}));
  out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
  out +=
      "<html><head><META http-equiv=Content-Type content=\"text/html; "
      "charset=utf-8\"></head><body><!--StartFragment-->";
  out += html;
  out += "<!--EndFragment--></body></html>";
  return out;
}

// ---- RTF ----

RawByteString TCustomLiveStringTree::ContentToRTF(TLSTTextSourceType source) {
  ILiveTreeExportServices& services = *FExportServices;
  Integer pixelsPerInch = services.ScreenPixelsPerInch();
  std::vector<String> fonts;
  std::vector<TColor> colors;
  Integer currentFont = -1, currentColor = -1, currentSize = -1;
  RawByteString buffer;
  auto number = [](Int64 value) { return Ascii(IntToStr(value)); };
  auto writeText = [&](const String& text, const TLiveTreeFont& font) {
    if (text.empty()) return;
    if (font.Style.Contains(fsUnderline)) buffer += "\\ul";
    if (font.Style.Contains(fsItalic)) buffer += "\\i";
    if (font.Style.Contains(fsBold)) buffer += "\\b";
    auto fontAt = std::find(fonts.begin(), fonts.end(), font.Name);
    Integer fontIndex = static_cast<Integer>(fontAt - fonts.begin());
    if (fontAt == fonts.end()) fonts.push_back(font.Name);
    if (fontIndex != currentFont) {
      buffer += "\\f" + number(fontIndex);
      currentFont = fontIndex;
    }
    TColor rgb = services.ColorToRGB(font.Color);
    auto colorAt = std::find(colors.begin(), colors.end(), rgb);
    Integer colorIndex = static_cast<Integer>(colorAt - colors.begin());
    if (colorAt == colors.end()) colors.push_back(rgb);
    if (colorIndex != currentColor) {
      buffer += "\\cf" + number(colorIndex + 1);
      currentColor = colorIndex;
    }
    Integer size = font.Size(pixelsPerInch);
    if (size != currentSize) {
      buffer += "\\fs" + number(size * 2);
      currentSize = size;
    }
    buffer += " ";
    for (Char c : text) {
      if (c == u'\n')
        buffer += "{\\par}";
      else if (c != u'\r')
        buffer += "\\u" + number(static_cast<SmallInt>(c)) + "\\'3f";
    }
    if (font.Style.Contains(fsUnderline)) buffer += "\\ul0";
    if (font.Style.Contains(fsItalic)) buffer += "\\i0";
    if (font.Style.Contains(fsBold)) buffer += "\\b0";
  };
  auto twips = [pixelsPerInch](Int64 pixels) {
    return (pixels * 1440 + pixelsPerInch / 2) / std::max(pixelsPerInch, 1);
  };

  std::vector<TColumnIndex> columns = ExportColumns(Header());
  bool useColumns = Header().UseColumns();
  TColumnIndex mainColumn = MainColumn();
  buffer += "\\uc1\\trowd\\trgaph70";
  if (useColumns) {
    Int64 right = 0;
    for (TColumnIndex index : columns) {
      right += Header().Columns()[index]->Width();
      buffer += "\\cellx" + number(twips(right));
    }
  } else {
    buffer += "\\cellx" + number(twips(Host()->ClientWidth()));
  }
  if (useColumns) {
    if (OnBeforeHeaderExport) OnBeforeHeaderExport(this, etRTF);
    buffer += "\\pard\\intbl";
    for (TColumnIndex index : columns) {
      TLiveTreeColumn* column = Header().Columns()[index];
      if (OnBeforeColumnExport) OnBeforeColumnExport(this, etRTF, column);
      TAlignment align = column->CaptionAlignment();
      if (column->BiDiMode() != bdLeftToRight) align = Mirrored(align);
      buffer += align == taRightJustify ? "\\qr" : align == taCenter ? "\\qc" : "\\ql";
      writeText(column->Text(), Header().Font());
      buffer += "\\cell";
      if (OnAfterColumnExport) OnAfterColumnExport(this, etRTF, column);
    }
    buffer += "\\row";
    if (OnAfterHeaderExport) OnAfterHeaderExport(this, etRTF);
  }
  TCanvas* canvas = EventCanvas(nullptr);
  for (PLiveNode node = FirstRenderNode(source); node; node = NextRenderNode(source, node)) {
    if (!ExportAllowed(node)) continue;
    if (OnBeforeNodeExport && !OnBeforeNodeExport(this, etRTF, node)) continue;
    Cardinal level = GetNodeLevel(node);
    for (TColumnIndex index : columns) {
      TLiveTreeColumn* column = useColumns ? Header().Columns()[index] : nullptr;
      String text = NodeText(node, index);
      buffer += "\\pard\\intbl";
      TAlignment align = column != nullptr ? column->Alignment() : Alignment();
      bool rightToLeft = column != nullptr ? column->BiDiMode() != bdLeftToRight : BiDiMode() != bdLeftToRight;
      if (rightToLeft) align = Mirrored(align);
      if (align == taRightJustify) buffer += "\\qr";
      if (align == taCenter) buffer += "\\qc";
      SetCanvasFont(canvas, Font());
      NotifyPaintText(node, canvas, index, ttNormal);
      TLiveTreeFont cellFont = canvas != nullptr ? CanvasFont(canvas) : Font();
      if (index == mainColumn && level >= 1) {
        for (Cardinal i = 0; i < level; ++i) buffer += "\\tab";
        buffer += " ";
      }
      writeText(text, cellFont);
      buffer += "\\cell";
    }
    buffer += "\\row\r\n";
    if (OnAfterNodeExport) OnAfterNodeExport(this, etRTF, node);
  }
  buffer += "\\pard\\par";

  RawByteString out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i)
    out += "{\\f" + number(static_cast<Int64>(i)) + " " + services.ToAnsi(fonts[i]) + ";}";
  out += "}{\\colortbl;";
  for (TColor rgb : colors)
    out += "\\red" + number(rgb & 0xFF) + "\\green" + number((rgb >> 8) & 0xFF) + "\\blue" +
           number((rgb >> 16) & 0xFF) + ";";
  out += "}";
  out += services.MetricMeasurement() ? "\\paperw16840\\paperh11907" : "\\paperw15840\\paperh12240";
  out += "\\margl720\\margr720\\margt720\\margb720";
  out += buffer;
  out += "}";
  return out;
}

// ---- Custom formats ----

void TCustomLiveStringTree::ContentToCustom(TLSTTextSourceType source) {
  if (OnBeforeTreeExport) OnBeforeTreeExport(this, etCustom);
  if (Header().UseColumns() && Header().Options().Contains(hoVisible)) {
    if (OnBeforeHeaderExport) OnBeforeHeaderExport(this, etCustom);
    for (TColumnIndex index : Header().Columns().GetVisibleColumns()) {
      TLiveTreeColumn* column = Header().Columns()[index];
      if (OnBeforeColumnExport) OnBeforeColumnExport(this, etCustom, column);
      if (OnColumnExport) OnColumnExport(this, etCustom, column);
      if (OnAfterColumnExport) OnAfterColumnExport(this, etCustom, column);
    }
    if (OnAfterHeaderExport) OnAfterHeaderExport(this, etCustom);
  }
  for (PLiveNode node = FirstRenderNode(source); node; node = NextRenderNode(source, node)) {
    if (!ExportAllowed(node)) continue;
    if (OnBeforeNodeExport) OnBeforeNodeExport(this, etCustom, node);
    if (OnNodeExport) OnNodeExport(this, etCustom, node);
    if (OnAfterNodeExport) OnAfterNodeExport(this, etCustom, node);
  }
  if (OnAfterTreeExport) OnAfterTreeExport(this, etCustom);
}

// ---- Clipboard and CSV ----

TBytes TCustomLiveStringTree::ContentToClipboard(TLTClipboardContent format, TLSTTextSourceType source) {
  auto withNul = [](const std::string& bytes) {
    TBytes result(bytes.begin(), bytes.end());
    result.push_back(0);
    return result;
  };
  switch (format) {
    case ccText: return withNul(ContentToText(source, u'\t'));
    case ccUnicodeText: {
      String text = ContentToUnicode(source, u'\t');
      TBytes result;
      result.reserve(text.size() * 2 + 2);
      for (Char c : text) {
        result.push_back(static_cast<Byte>(c));
        result.push_back(static_cast<Byte>(c >> 8));
      }
      result.push_back(0);
      result.push_back(0);
      return result;
    }
    case ccCSV:
      return withNul(ContentToText(source, FExportServices->ToAnsi(String(1, FExportServices->ListSeparator()))));
    case ccRichText: return withNul(ContentToRTF(source));
    case ccHTML: return withNul(WrapHTMLForClipboard(ContentToHTML(source)));
    default: return {};
  }
}

void TCustomLiveStringTree::BuildCSVLines(TStrings& list, bool includeHeading) {
  TLiveTreeColumns& columns = Header().Columns();
  auto join = [&](auto cellOf) {
    String line;
    for (TColumnIndex i = 0; i < columns.Count(); ++i) {
      if (i > 0) line += u',';
      line += Quoted(cellOf(i));
    }
    return line;
  };
  if (includeHeading) list.Add(join([&](TColumnIndex i) { return columns[i]->Text(); }));
  for (PLiveNode node = GetFirstChild(nullptr); node; node = GetNextSibling(node)) {
    list.Add(join([&](TColumnIndex i) {
      String text = NodeText(node, i);
      return text.empty() ? String(u" ") : text;
    }));
  }
}

bool TCustomLiveStringTree::SaveToCSVFile(const String& fileNameWithPath, bool includeHeading) {
  if (fileNameWithPath.empty()) return false;
  TStringList lines;
  BuildCSVLines(lines, includeHeading);
  lines.SaveToFile(fileNameWithPath);
  return true;
}
