// Content export: golden texts for text, Unicode text, HTML, RTF, CSV and the
// clipboard layouts, and the node filters.
#include <gtest/gtest.h>

#include <map>

#include "livetree/stringtree.h"
#include "rtl/codepage.h"
#include "rtl/unicode.h"
#include "support/livetree_fakehost.h"

namespace {

// Fixed answers, so that the exports are the same everywhere.
class FixedExportServices : public ILiveTreeExportServices {
 public:
  AnsiString ToAnsi(StringView text) override { return StringToAnsi(text, 1252); }
  Char ListSeparator() override { return u';'; }
  bool MetricMeasurement() override { return Metric; }
  TColor ColorToRGB(TColor color) override {
    if (color == clWindow) return 0xFFFFFF;
    if (color == clBtnFace) return 0xF0F0F0;
    if (color == clWindowText) return 0x000000;
    return color & 0xFFFFFF;
  }
  Integer ScreenPixelsPerInch() override { return 96; }
  bool Metric = true;
};

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() {
    host.Tree = &tree;
    tree.SetExportServices(&services);
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    tree.OnGetText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType type, String& text) {
      if (type != ttNormal) return;
      auto found = cells.find(node);
      if (found == cells.end()) return;
      size_t index = column < 0 ? 0 : static_cast<size_t>(column);
      text = index < found->second.size() ? found->second[index] : String();
    };
  }
  ~ExportTest() override {
    DetachTreeEvents(tree);
    tree.OnGetText = nullptr;
    tree.OnPaintText = nullptr;
    tree.OnBeforeNodeExport = nullptr;
  }
  PLiveNode Add(PLiveNode parent, std::vector<String> texts) {
    PLiveNode node = tree.AddChild(parent);
    cells[node] = std::move(texts);
    return node;
  }
  // Three columns and nodes on levels 0 to 2, with texts that need quoting
  // and escaping.
  void BuildInspector() {
    TLiveTreeColumns& columns = tree.Header().Columns();
    const char16_t* captions[] = {u"Name", u"Value", u"Type"};
    Integer widths[] = {100, 80, 60};
    for (int i = 0; i < 3; ++i) {
      TLiveTreeColumn* column = columns.Add();
      column->SetText(captions[i]);
      column->SetWidth(widths[i]);
    }
    PLiveNode form = Add(nullptr, {u"Form", u"TForm1", u"class"});
    PLiveNode button = Add(form, {u"Button1", u"OK & <b>", u"TButton"});
    Add(button, {u"Glyph", u"say \"hi\"", u"TBitmap"});
    Add(nullptr, {u"Label;1", u"", u"TLabel"});
  }

  TFakeLiveTreeHost host;
  TLiveStringTree tree{&host};
  FixedExportServices services;
  std::map<PLiveNode, std::vector<String>> cells;
};

TEST_F(ExportTest, TextLinesUpTheColumnsAndQuotes) {
  BuildInspector();
  EXPECT_EQ(tree.ContentToText(tstAll, u';'),
            "Name;;;Value;Type\r\n"
            "Form;;;TForm1;class\r\n"
            ";Button1;;OK & <b>;TButton\r\n"
            ";;Glyph;\"say \"\"hi\"\"\";TBitmap\r\n"
            "\"Label;1\";;;;TLabel\r\n");
}

TEST_F(ExportTest, UnicodeTextQuotesOnlyForTheSeparatorAndDoublesQuotes) {
  BuildInspector();
  cells[tree.GetFirst()][1] = u"a;\"b\"";
  EXPECT_EQ(tree.ContentToUnicode(tstAll, u";"),
            u"Name;;;Value;Type\r\n"
            u"Form;;;\"a;\"\"b\"\"\";class\r\n"
            u";Button1;;OK & <b>;TButton\r\n"
            u";;Glyph;say \"hi\";TBitmap\r\n"
            u"\"Label;1\";;;;TLabel\r\n");
}

TEST_F(ExportTest, TextWithoutColumnsIndentsEachNode) {
  PLiveNode a = Add(nullptr, {u"A\u00E9"});
  Add(a, {u"B"});
  Add(nullptr, {u"C"});
  EXPECT_EQ(tree.ContentToText(tstAll, u'\t'), "A\xE9\r\n\tB\r\nC\r\n") << "8-bit text in code page 1252";
  EXPECT_EQ(tree.ContentToText(tstVisible, u'\t'), "A\xE9\r\nC\r\n") << "B lies in a collapsed node";
}

TEST_F(ExportTest, ExportModeAndEventsFilterNodes) {
  PLiveNode a = Add(nullptr, {u"A"});
  PLiveNode b = Add(nullptr, {u"B"});
  PLiveNode c = Add(nullptr, {u"C"});
  for (PLiveNode node : {a, b, c}) tree.SetCheckType(node, ctCheckBox);
  tree.SetCheckState(a, csCheckedNormal);
  tree.SetCheckState(b, csCheckedPressed);
  tree.TreeOptions().SetExportMode(emChecked);
  EXPECT_EQ(tree.ContentToText(tstAll, u','), "A\r\n");
  tree.TreeOptions().SetExportMode(emUnchecked);
  EXPECT_EQ(tree.ContentToText(tstAll, u','), "C\r\n");
  EXPECT_EQ(tree.ContentToUnicode(tstAll, u','), u"A\r\nB\r\nC\r\n") << "the Unicode text filters nothing";
  tree.TreeOptions().SetExportMode(emAll);
  tree.OnBeforeNodeExport = [&](TBaseLiveTree*, TLTExportType type, PLiveNode node) {
    EXPECT_EQ(type, etText);
    return node != b;
  };
  EXPECT_EQ(tree.ContentToText(tstAll, u','), "A\r\nC\r\n");
}

TEST_F(ExportTest, HTMLGolden) {
  BuildInspector();
  tree.OnPaintText = [this](TBaseLiveTree*, TCanvas* canvas, PLiveNode node, TColumnIndex column, TLSTTextType) {
    if (column == 2 && cells[node][2] == u"TButton") TFakeLiveTreeHost::FontOf(canvas).Style = {fsBold};
  };
  tree.Header().Columns()[1]->SetAlignment(taRightJustify);
  tree.Header().Columns()[2]->SetColor(clYellow);
  RawByteString html = tree.ContentToHTML(tstAll, u"Props & <co>");
  const char* expected =
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><style type=\"text/css\">\r\n"
      ".default{font-family: 'Tahoma'; font-size: 8pt; font-style: normal; font-weight: normal; "
      "text-decoration: none; color: #000000;}\r\n"
      ".header{font-family: 'Tahoma'; font-size: 8pt; font-style: normal; font-weight: normal; "
      "text-decoration: none; color: #000000;}\r\n"
      ".noborder{border-style: none;padding-left: 4px; padding-right: 4px;}\r\n"
      ".normalborder {vertical-align: top; border-right: none; border-left:none; border-top:none; "
      "border-bottom: none;border-width: thin; border-style: dotted;padding-left: 4px; padding-right: 4px;}"
      "</style>\r\n"
      "<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=#FFFFFF caption=\"Props &amp; "
      "&lt;co&gt;\" border=\"1\" frame=box cellspacing=\"0\">\r\n"
      "<tr class=\"header\" style=\"padding-left: 4px; padding-right: 4px;\">\r\n"
      "<th height=\"19px\" align=left colspan=\"3\" bgcolor=#F0F0F0 width=\"100px\">Name</th>"
      "<th height=\"19px\" align=right bgcolor=#F0F0F0 width=\"80px\">Value</th>"
      "<th height=\"19px\" align=left bgcolor=#F0F0F0 width=\"60px\">Type</th></tr>\r\n"
      " <tr class=\"default\">\r\n"
      " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"3\">Form</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=right>TForm1</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=left bgcolor=#FFFF00>class</td> </tr>\r\n"
      " <tr class=\"default\">\r\n"
      " <td height=\"18px\" class=\"normalborder\">&nbsp;</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"2\">Button1</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=right>OK &amp; &lt;b&gt;</td>"
      " <td class=\"normalborder\"  style=\"{font-family: 'Tahoma'; font-size: 8pt; font-style: normal; "
      "font-weight: bold; text-decoration: none; color: #000000;}\" height=\"18px\" align=left "
      "bgcolor=#FFFF00>TButton</td> </tr>\r\n"
      " <tr class=\"default\">\r\n"
      " <td height=\"18px\" class=\"normalborder\">&nbsp;</td> <td>&nbsp;</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=left>Glyph</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=right>say &quot;hi&quot;</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=left bgcolor=#FFFF00>TBitmap</td> </tr>\r\n"
      " <tr class=\"default\">\r\n"
      " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"3\">Label;1</td>"
      " <td class=\"normalborder\"  height=\"18px\" align=right></td>"
      " <td class=\"normalborder\"  height=\"18px\" align=left bgcolor=#FFFF00>TLabel</td> </tr>\r\n"
      "</table>";
  EXPECT_EQ(html, expected);
}

TEST_F(ExportTest, HTMLOfAnEmptyTreeHasTheHeadingRowOnly) {
  tree.Header().Columns().Add()->SetText(u"Only");
  tree.SetBorderStyle(bsNone);
  RawByteString html = tree.ContentToHTML(tstAll);
  EXPECT_NE(html.find("cellspacing"), RawByteString::npos);
  EXPECT_NE(html.find("<th height=\"19px\" align=left bgcolor=#F0F0F0 width=\"50px\">Only</th></tr>\r\n</table>"),
            RawByteString::npos);
  EXPECT_NE(html.find("bgcolor=#FFFFFF  cellspacing"), RawByteString::npos) << "no caption, no border";
}

TEST_F(ExportTest, RTFGolden) {
  BuildInspector();
  cells[tree.GetFirst()][1] = u"A\u20AC\r\nZ";
  tree.Header().Columns()[2]->SetCaptionAlignment(taCenter);
  tree.OnPaintText = [this](TBaseLiveTree*, TCanvas* canvas, PLiveNode node, TColumnIndex column, TLSTTextType) {
    if (column == 0 && cells[node][0] == u"Glyph") {
      TFakeLiveTreeHost::FontOf(canvas).Style = {fsBold, fsItalic};
      TFakeLiveTreeHost::FontOf(canvas).Color = clRed;
    }
  };
  RawByteString rtf = tree.ContentToRTF(tstAll);
  const char* expected =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0 Tahoma;}}{\\colortbl;\\red0\\green0\\blue0;"
      "\\red255\\green0\\blue0;}\\paperw16840\\paperh11907\\margl720\\margr720\\margt720\\margb720"
      "\\uc1\\trowd\\trgaph70\\cellx1500\\cellx2700\\cellx3600"
      "\\pard\\intbl\\ql\\f0\\cf1\\fs16 \\u78\\'3f\\u97\\'3f\\u109\\'3f\\u101\\'3f\\cell"
      "\\ql \\u86\\'3f\\u97\\'3f\\u108\\'3f\\u117\\'3f\\u101\\'3f\\cell"
      "\\qc \\u84\\'3f\\u121\\'3f\\u112\\'3f\\u101\\'3f\\cell\\row"
      "\\pard\\intbl \\u70\\'3f\\u111\\'3f\\u114\\'3f\\u109\\'3f\\cell"
      "\\pard\\intbl \\u65\\'3f\\u8364\\'3f{\\par}\\u90\\'3f\\cell"
      "\\pard\\intbl \\u99\\'3f\\u108\\'3f\\u97\\'3f\\u115\\'3f\\u115\\'3f\\cell\\row\r\n"
      "\\pard\\intbl\\tab  \\u66\\'3f\\u117\\'3f\\u116\\'3f\\u116\\'3f\\u111\\'3f\\u110\\'3f\\u49\\'3f\\cell"
      "\\pard\\intbl \\u79\\'3f\\u75\\'3f\\u32\\'3f\\u38\\'3f\\u32\\'3f\\u60\\'3f\\u98\\'3f\\u62\\'3f\\cell"
      "\\pard\\intbl \\u84\\'3f\\u66\\'3f\\u117\\'3f\\u116\\'3f\\u116\\'3f\\u111\\'3f\\u110\\'3f\\cell\\row\r\n"
      "\\pard\\intbl\\tab\\tab \\i\\b\\cf2 \\u71\\'3f\\u108\\'3f\\u121\\'3f\\u112\\'3f\\u104\\'3f\\i0\\b0\\cell"
      "\\pard\\intbl\\cf1 \\u115\\'3f\\u97\\'3f\\u121\\'3f\\u32\\'3f\\u34\\'3f\\u104\\'3f\\u105\\'3f\\u34\\'3f\\cell"
      "\\pard\\intbl \\u84\\'3f\\u66\\'3f\\u105\\'3f\\u116\\'3f\\u109\\'3f\\u97\\'3f\\u112\\'3f\\cell\\row\r\n"
      "\\pard\\intbl \\u76\\'3f\\u97\\'3f\\u98\\'3f\\u101\\'3f\\u108\\'3f\\u59\\'3f\\u49\\'3f\\cell"
      "\\pard\\intbl\\cell"
      "\\pard\\intbl \\u84\\'3f\\u76\\'3f\\u97\\'3f\\u98\\'3f\\u101\\'3f\\u108\\'3f\\cell\\row\r\n"
      "\\pard\\par}";
  EXPECT_EQ(rtf, expected);
}

TEST_F(ExportTest, RTFWithoutColumnsUsesTheClientWidthAndSignedUnits) {
  services.Metric = false;
  Add(nullptr, {u"\u9000"});
  RawByteString rtf = tree.ContentToRTF(tstAll);
  EXPECT_NE(rtf.find("\\paperw15840\\paperh12240"), RawByteString::npos);
  EXPECT_NE(rtf.find("\\cellx4500\\pard\\intbl"), RawByteString::npos) << "300 pixels at 96 per inch";
  EXPECT_NE(rtf.find("\\u-28672\\'3f"), RawByteString::npos) << "a character above U+7FFF is negative";
}

TEST_F(ExportTest, CustomExportRunsTheEvents) {
  BuildInspector();
  tree.Header().SetOptions(tree.Header().Options() + TLTHeaderOptions{hoVisible});
  std::string log;
  tree.OnBeforeTreeExport = [&](TBaseLiveTree*, TLTExportType) { log += "T"; };
  tree.OnAfterTreeExport = [&](TBaseLiveTree*, TLTExportType) { log += "t"; };
  tree.OnBeforeHeaderExport = [&](TBaseLiveTree*, TLTExportType) { log += "H"; };
  tree.OnAfterHeaderExport = [&](TBaseLiveTree*, TLTExportType) { log += "h"; };
  tree.OnColumnExport = [&](TBaseLiveTree*, TLTExportType, TLiveTreeColumn* column) {
    log += StringToUTF8(column->Text()).substr(0, 1);
  };
  tree.OnNodeExport = [&](TBaseLiveTree*, TLTExportType type, PLiveNode node) {
    EXPECT_EQ(type, etCustom);
    log += StringToUTF8(cells[node][0]).substr(0, 1);
    return true;
  };
  tree.ContentToCustom(tstAll);
  EXPECT_EQ(log, "THNVThFBGLt");
  for (auto* event :
       {&tree.OnBeforeTreeExport, &tree.OnAfterTreeExport, &tree.OnBeforeHeaderExport, &tree.OnAfterHeaderExport})
    *event = nullptr;
  tree.OnColumnExport = nullptr;
  tree.OnNodeExport = nullptr;
}

TEST_F(ExportTest, ClipboardContents) {
  PLiveNode a = Add(nullptr, {u"A"});
  Add(a, {u"B"});
  EXPECT_EQ(tree.ContentToClipboard(ccText, tstAll), (TBytes{'A', '\r', '\n', '\t', 'B', '\r', '\n', 0}));
  EXPECT_EQ(tree.ContentToClipboard(ccUnicodeText, tstAll),
            (TBytes{'A', 0, '\r', 0, '\n', 0, '\t', 0, 'B', 0, '\r', 0, '\n', 0, 0, 0}));
  EXPECT_EQ(tree.ContentToClipboard(ccCSV, tstAll), (TBytes{'A', '\r', '\n', ';', 'B', '\r', '\n', 0}))
      << "the list separator indents";
  EXPECT_TRUE(tree.ContentToClipboard(ccOther, tstAll).empty());
  TBytes rtf = tree.ContentToClipboard(ccRichText, tstAll);
  EXPECT_EQ(rtf.back(), 0);
  EXPECT_EQ(rtf.size(), tree.ContentToRTF(tstAll).size() + 1);
}

TEST_F(ExportTest, ClipboardHTMLLayoutCountsItsOwnBytes) {
  RawByteString html = "<table>x</table>";
  RawByteString wrapped = TCustomLiveStringTree::WrapHTMLForClipboard(html);
  EXPECT_EQ(wrapped.substr(0, 97),
            "Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000317\r\nStartFragment:00000269\r\n"
            "EndFragment:00000285\r\n");
  EXPECT_EQ(wrapped.find("<!DOCTYPE"), 97u);
  EXPECT_EQ(wrapped.find(html), 269u);
  EXPECT_EQ(wrapped.find("<!--EndFragment-->"), 285u);
  EXPECT_EQ(wrapped.size(), 317u);
}

TEST_F(ExportTest, CSVLinesTakeTopLevelNodesOnly) {
  BuildInspector();
  TStringList lines;
  tree.BuildCSVLines(lines, true);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[0], u"\"Name\",\"Value\",\"Type\"");
  EXPECT_EQ(lines[1], u"\"Form\",\"TForm1\",\"class\"");
  EXPECT_EQ(lines[2], u"\"Label;1\",\" \",\"TLabel\"") << "an empty text becomes a blank";
  EXPECT_FALSE(tree.SaveToCSVFile(u"", true));
}

}  // namespace
