// Real forms read into live components: every form of the corpus whose
// objects are all of classes the program registers at start-up from the
// platform's library is read through the component reader into a form with
// the window library's classes, and no property or object fails. A form with
// another class is skipped (the test says which class).
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
#include "support/form_corpus.h"
#include "ui/uitest.h"

namespace formfile_test {
// Failures name the file, not the bytes of its record.
inline void PrintTo(const CorpusFile& file, std::ostream* out) {
  *out << file.Name;
}
}  // namespace formfile_test

namespace {

using formfile_test::CorpusFile;

// The platform library's classes of the start-up table, and the further
// classes registered after the packages.
const std::set<std::string>& StartupClasses() {
  static const std::set<std::string> names = {
      "TBrush", "TCanvas", "TPen", "TIcon", "TPicture", "TMetafile", "TMetafileCanvas", "TFont", "TBitmap",
      "TGraphic", "TGraphicsObject", "TCollection", "TCollectionItem", "TStringList", "TStrings", "TImageList",
      "TControlScrollBar", "TApplication", "TScreen", "TFrame", "TScrollBox", "TClipboard", "TMenuItem",
      "TMainMenu", "TPopupMenu", "TActionList", "TActionManager", "TActionToolBar", "TActionMainMenuBar",
      "TScrollBar", "TLabel", "TEdit", "TMemo", "TButton", "TCheckBox", "TRadioButton", "TListBox", "TComboBox",
      "TGroupBox", "TStaticText", "THeader", "TRadioGroup", "TPanel", "TImage", "TShape", "TBevel", "TSplitter",
      "TControlBar", "TColorBox", "TLabeledEdit", "TGridPanel", "TFlowPanel", "TCategoryPanelGroup",
      "TButtonedEdit", "TColorListBox", "TLinkLabel", "TNotebook", "TTimer", "TPaintBox", "THeaderSection",
      "THeaderSections", "TIconOptions", "TStatusPanel", "TStatusPanels", "TListColumn", "TListItem",
      "TListItems", "TTreeNode", "TParaAttributes", "TTreeNodes", "TToolButton", "TTabSheet", "TTabControl",
      "TPageControl", "TRichEdit", "TTrackBar", "TProgressBar", "TUpDown", "THotKey", "TAnimate",
      "TDateTimePicker", "TMonthCalendar", "TTreeView", "TListView", "THeaderControl", "TStatusBar", "TToolBar",
      "TCoolBar", "TPageScroller", "TComboBoxEx", "TBitBtn", "TSpeedButton", "TStringGrid", "TDrawGrid",
      "TMaskEdit", "TCheckListBox", "TValueListEditor", "TSpinButton", "TSpinEdit", "TTabSet", "TScroller",
      "TTabbedNotebook", "TOutlineNode", "TOutline", "TCalendar", "TColorGrid", "TDirectoryOutline",
      "TFileListBox", "TDirectoryListBox", "TDriveComboBox", "TFilterComboBox", "TGauge", "TButtonGroup",
      "TCategoryButtons", "TOpenDialog", "TSaveDialog", "TFontDialog", "TColorDialog", "TPrintDialog",
      "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog", "TOpenPictureDialog", "TSavePictureDialog",
      "TShellComboBox", "TShellListView", "TShellTreeView", "TMediaPlayer", "TOleContainer", "TWebBrowser",
      "TDdeClientConv", "TDdeClientItem", "TDdeServerConv", "TDdeServerItem", "TParams", "TAutoIncField",
      "TBCDField", "TField", "TBlobField", "TBooleanField", "TBytesField", "TFloatField", "TGraphicField",
      "TCurrencyField", "TDateField", "TDateTimeField", "TSmallintField", "TIntegerField", "TStringField",
      "TMemoField", "TTimeField", "TVarBytesField", "TWordField", "TDataSource", "TDBNavigator", "TDBText",
      "TDBEdit", "TDBMemo", "TDBImage", "TDBListBox", "TDBComboBox", "TDBCheckBox", "TDBRadioGroup",
      "TDBLookupListBox", "TDBLookupComboBox", "TDBRichEdit", "TColumn", "TColumnTitle", "TDBGrid",
      "TDBCtrlGrid", "TDBLookupList", "TDBLookupCombo", "TTable", "TQuery", "TStoredProc", "TDatabase",
      "TSession", "TBatchMove", "TUpdateSQL", "TNestedTable", "TChart", "TDBChart", "TXMLDocument",
      "TWebDispatcher", "TPageProducer", "TDataSetTableProducer", "TDataSetPageProducer", "TQueryTableProducer",
      "TSQLQueryTableProducer", "TTcpClient", "TTcpServer", "TUdpSocket", "TClientSocket", "TServerSocket",
      // Registered after the packages.
      "TAction", "TPopupActionBar"};
  return names;
}

// The form as text: binary forms (with or without their resource header)
// are converted.
std::string FormText(const std::string& data) {
  if (formfile_test::DetectEncoding(data) == formfile_test::TFormEncoding::Text) return data;
  TBytesStream input(TBytes(data.begin(), data.end()));
  TBytesStream output;
  if (formfile_test::DetectEncoding(data) == formfile_test::TFormEncoding::Resource) {
    FormResourceToText(input, output);
  } else {
    FormBinaryToText(input, output);
  }
  return std::string(output.Bytes().begin(), output.Bytes().end());
}

// The classes of the objects below the root, in the order they first stand.
std::vector<std::string> ChildClasses(const std::string& text) {
  std::vector<std::string> classes;
  size_t start = 0;
  bool root = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) continue;
    line.remove_prefix(first);
    if (!line.starts_with("object ") && !line.starts_with("inherited ") && !line.starts_with("inline ")) continue;
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view rest = line.substr(colon + 1);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    std::string name(rest.substr(0, rest.find_first_of(" \r[")));
    if (root) {
      root = false;
      continue;
    }
    if (std::find(classes.begin(), classes.end(), name) == classes.end()) classes.push_back(name);
  }
  return classes;
}

class CorpusForms : public UiTest, public ::testing::WithParamInterface<CorpusFile> {};

TEST_P(CorpusForms, LoadIntoComponentsWithoutError) {
  const CorpusFile& file = GetParam();
  std::string text = FormText(formfile_test::ReadWholeFile(file.File));
  // As in the preview, the form is never a window of a kind of its own.
  if (size_t at = text.find("\n  FormStyle = "); at != std::string::npos) {
    const size_t end = text.find_first_of("\r\n", at + 1);
    text.replace(at + 1, end - at - 1, "  FormStyle = fsNormal");
  }
  for (const std::string& name : ChildClasses(text))
    if (!StartupClasses().contains(name)) GTEST_SKIP() << file.Name << " holds " << name;

  auto* form = new TForm(FApp.get());
  const std::vector<String> errors = ReadFormText(text, *form, FRegistry);
  std::string report;
  for (const String& error : errors) report += "\n  " + std::string(StringToUTF8(error));
  EXPECT_TRUE(errors.empty()) << file.Path << ":" << report;
  // The tree that was read also makes its windows.
  form->HandleNeeded();
  EXPECT_TRUE(form->HandleAllocated());
  delete form;
  Pump();
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusForms, ::testing::ValuesIn(formfile_test::CorpusFiles()),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) { return info.param.TestName; });
// A checkout without the corpus beside it has no forms to read.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusForms);

}  // namespace
