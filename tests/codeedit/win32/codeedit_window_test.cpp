// The editor control as a window: read from a form resource with its
// published properties, it keeps them, holds its text, takes commands and
// paints its text.
#include "ui/winapi.h"

#include <gtest/gtest.h>
#include <imm.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "codeedit/dfmhighlighter.h"
#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/editsearch.h"
#include "codeedit/edittext.h"
#include "codeedit/win32/codeedit.h"
#include "ui/clipbrd.h"
#include "ui/forms.h"
#include "ui/registration.h"

#include "support/win32/harness.h"

namespace {

class TCodeEditForm : public TForm {
  KST_CLASS(TCodeEditForm, TForm)
 public:
  using TForm::TForm;
  TCodeEdit* Source = nullptr;
  TCodeMemo* Memo = nullptr;
  TCodeEditSearch* Search = nullptr;
  int Changes = 0;
  std::vector<TCodeStatusChanges> StatusChanges;
  void SourceChange(TObject*) { ++Changes; }
  void SourceStatusChange(TObject*, TCodeStatusChanges changes) { StatusChanges.push_back(changes); }
};

}  // namespace

KST_CLASS_IMPL(TCodeEditForm, "CodeEditTests")

void TCodeEditForm::Describe(TClassBuilder<TCodeEditForm>& c) {
  c.Field(u"Source", &TCodeEditForm::Source);
  c.Field(u"Memo", &TCodeEditForm::Memo);
  c.Field(u"Search", &TCodeEditForm::Search);
  c.Method(u"SourceChange", &TCodeEditForm::SourceChange);
  c.Method(u"SourceStatusChange", &TCodeEditForm::SourceStatusChange);
}

namespace {

class CodeEditWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterUiClasses(FRegistry);
    RegisterCodeEditClasses(FRegistry);
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
  }
  void TearDown() override {
    FApp.reset();
    harness::PumpMessages();
  }
  void Pump() { FApp->ProcessMessages(); }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
};

TEST_F(CodeEditWindowTest, AFormKeepsTheEditorsPublishedProperties) {
  TCodeEditForm* form = CreateForm<TCodeEditForm>(FApp.get());
  form->Show();
  Pump();
  ASSERT_NE(form->Source, nullptr);
  TCodeEdit& edit = *form->Source;
  TCodeEditCore& core = edit.Core();
  EXPECT_EQ(core.Lines().GetCount(), 3);
  EXPECT_EQ(core.Lines().Get(1), u"  Caption = 'Hello'");
  EXPECT_EQ(core.ActiveLineColor(), clYellow);
  EXPECT_EQ(core.ExtraLineSpacing(), 2);
  EXPECT_EQ(core.InsertCaret(), ctHalfBlock);
  EXPECT_FALSE(core.InsertMode());
  EXPECT_EQ(core.MaxScrollWidth(), 300);
  EXPECT_EQ(core.MaxUndo(), 50);
  EXPECT_EQ(core.Options(),
            (TCodeEditorOptions{eoAutoIndent, eoGroupUndo, eoScrollPastEol, eoTabsToSpaces, eoTrimTrailingSpaces}));
  EXPECT_TRUE(core.ReadOnly());
  EXPECT_EQ(core.RightEdge(), 72);
  EXPECT_EQ(core.RightEdgeColor(), clRed);
  EXPECT_EQ(edit.ScrollBars(), ssVertical);
  EXPECT_EQ(edit.SelectionMode(), smColumn);
  EXPECT_EQ(core.TabWidth(), 4);
  EXPECT_TRUE(core.WantTabs());
  EXPECT_TRUE(core.WordWrap());
  EXPECT_EQ(edit.Font().Name(), u"Courier New");
  EXPECT_GT(core.CharWidth(), 0);
  EXPECT_GT(core.CharsInWindow(), 0);
  const LONG style = GetWindowLongW(edit.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_TRUE(FExceptions.empty());
  const TCodeGutter& gutter = core.Gutter();
  EXPECT_TRUE(gutter.AutoSize());
  EXPECT_EQ(gutter.Color(), clGray);
  EXPECT_EQ(gutter.LeftOffset(), 5);
  EXPECT_TRUE(gutter.ShowLineNumbers());
  EXPECT_EQ(gutter.Width(), 16);
  EXPECT_TRUE(gutter.Gradient());
  EXPECT_EQ(edit.GetGutter()->GetFont()->Name(), u"Consolas");
  EXPECT_EQ(core.BookMarkOptions().LeftMargin(), 4);
  EXPECT_EQ(core.SelectedColor().Background(), clNavy);
  // The keystroke table is the default table less two keystrokes and with one more.
  EXPECT_EQ(core.Keystrokes().Count(), 82 - 2 + 1);
  EXPECT_EQ(core.Commands().KeyToCommand(VK_TAB, {}), ecNone);
  EXPECT_EQ(core.Commands().KeyToCommand(VK_TAB, {ssShift}), ecNone);
  EXPECT_EQ(core.Commands().KeyToCommand('K', {ssCtrl}), ecUserFirst);
  // Events bound by name reach the form's methods.
  core.SetReadOnly(false);
  core.Caret().SetCaretXY({1, 3});
  core.SetInsertMode(true);
  core.Commands().CommandProcessor(ecChar, u'x', nullptr);
  EXPECT_EQ(core.Lines().Get(2), u"xend");
  EXPECT_EQ(form->Changes, 1);
  EXPECT_FALSE(form->StatusChanges.empty());
  delete form;
}

// The search engine is a component of the form that the editor names; when
// it goes, the editor lets go of it.
TEST_F(CodeEditWindowTest, TheFormsSearchEngineIsTheEditorsUntilItIsFreed) {
  std::unique_ptr<TCodeEditForm> form(CreateForm<TCodeEditForm>(FApp.get()));
  ASSERT_NE(form->Search, nullptr);
  TCodeEdit& edit = *form->Source;
  EXPECT_EQ(edit.SearchEngine(), form->Search);
  EXPECT_EQ(edit.Core().SearchEngine(), form->Search);
  EXPECT_EQ(TCodeEditSearch::StaticClass().ClassParent(), &TCodeEditSearchCustom::StaticClass());
  EXPECT_EQ(FRegistry.FindClass(u"TCodeEditSearch"), &TCodeEditSearch::StaticClass());
  edit.Core().SetReadOnly(false);
  edit.Core().Caret().SetCaretXY({1, 1});
  EXPECT_GE(SearchReplace(edit.Core(), u"Form1", u"", {}), 1);
  delete form->Search;
  EXPECT_EQ(edit.SearchEngine(), nullptr);
  EXPECT_THROW(SearchReplace(edit.Core(), u"Form1", u"", {}), ECodeEditError);
  TCodeEditSearch other;
  edit.SetSearchEngine(&other);
  EXPECT_EQ(edit.Core().SearchEngine(), &other);
  edit.SetSearchEngine(nullptr);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(CodeEditWindowTest, TheControlPaintsItsText) {
  TCodeEditForm* form = CreateForm<TCodeEditForm>(FApp.get());
  form->Source->Core().SetWordWrap(false);
  form->Source->Core().SetText(u"WWWWWWWW\r\nWWWW");
  form->Show();
  Pump();
  const harness::Bitmap32 picture = harness::PaintClient(form->Source->Handle());
  const Integer gutter = form->Source->Core().GutterWidth();
  int dark = 0;
  for (int y = 0; y < form->Source->Core().LineHeight(); ++y)
    for (int x = gutter + 2; x < gutter + 2 + 8 * form->Source->Core().CharWidth(); ++x)
      if ((picture.Pixel(x, y) & 0xFF) < 0x80) ++dark;
  EXPECT_GT(dark, 20);
  if (const wchar_t* folder = _wgetenv(L"KESTRUM_SCREENSHOTS"); folder && *folder)
    picture.SaveBmp(std::wstring(folder) + L"\\codeedit.bmp");
  delete form;
}

TEST_F(CodeEditWindowTest, ItPaintsTokensGutterNumbersBookmarksAndTheSelection) {
  std::unique_ptr<TCodeEditForm> form(CreateForm<TCodeEditForm>(FApp.get()));
  TCodeEdit& edit = *form->Source;
  TCodeEditCore& core = edit.Core();
  TCodeDfmHighlighter highlighter;
  highlighter.KeywordAttribute()->SetForeground(clNavy);
  highlighter.KeywordAttribute()->SetStyle({fsBold});
  highlighter.StringAttribute()->SetForeground(clRed);
  core.SetWordWrap(false);
  core.SetHighlighter(&highlighter);
  core.SetText(u"object Form1: TForm1\r\n  Caption = 'Hello'\r\n  Width = 300\r\nend");
  core.SetBookMark(2, 1, 3);
  core.Caret().SetSelectionMode(smNormal);
  core.Caret().SetCaretAndSelection({8, 2}, {3, 2}, {8, 2});
  form->Show();
  Pump();
  const harness::Bitmap32 picture = harness::PaintClient(edit.Handle());
  harness::SaveForInspection(picture, L"codeedit-painted");
  const Integer cell = core.CharWidth(), row = core.LineHeight(), offset = core.TextOffset();
  const auto count = [&](Integer line, Integer firstColumn, Integer lastColumn, auto&& wanted) {
    int found = 0;
    for (Integer y = (line - 1) * row; y < line * row; ++y)
      for (Integer x = offset + (firstColumn - 1) * cell;
           x < std::min<Integer>(offset + lastColumn * cell, picture.Width()); ++x)
        if (wanted(picture.Pixel(x, y) & 0xFFFFFF)) ++found;
    return found;
  };
  // "object" in navy, "'Hello'" in red, the selection "Capti" on navy with white text.
  const auto navy = [](uint32_t p) { return p == 0x000080 || p == 0x800000; };
  EXPECT_GT(count(1, 1, 6, navy), 20);
  EXPECT_GT(count(2, 13, 19, [](uint32_t p) { return p == 0xFF0000 || p == 0x0000FF; }), 10);
  EXPECT_GT(count(2, 3, 7, navy), cell * row * 3);
  // The caret line (2) is not yellow where selected; line 4 is white.
  EXPECT_GT(count(3, 20, 30, [](uint32_t p) { return p == 0xFFFFFF; }), cell * row * 5);
  // The gutter: a gradient with line numbers and the bookmark glyph on line 3.
  const Integer gutter = core.GutterWidth();
  int gutterInk = 0, bookmark = 0;
  for (Integer y = 0; y < 3 * row; ++y)
    for (Integer x = 0; x < gutter; ++x) {
      const uint32_t p = picture.Pixel(x, y) & 0xFFFFFF;
      if (p == 0xC0C0C0) ++gutterInk;
    }
  for (Integer y = 2 * row; y < 3 * row; ++y)
    for (Integer x = 0; x < 15; ++x)
      if ((picture.Pixel(x, y) & 0xFFFFFF) != (picture.Pixel(gutter / 2, 3 * row + row / 2) & 0xFFFFFF)) ++bookmark;
  EXPECT_GT(gutterInk, 5);
  EXPECT_GT(bookmark, 30);
  core.SetHighlighter(nullptr);
}

// Tokens after a tab are painted in their colours on the columns where
// their characters stand.
TEST_F(CodeEditWindowTest, TokensAfterATabArePaintedInTheirColours) {
  std::unique_ptr<TCodeEditForm> form(CreateForm<TCodeEditForm>(FApp.get()));
  TCodeEdit& edit = *form->Source;
  TCodeEditCore& core = edit.Core();
  TCodeDfmHighlighter highlighter;
  highlighter.StringAttribute()->SetForeground(clRed);
  highlighter.CommentAttribute()->SetForeground(clGreen);
  core.SetWordWrap(false);
  core.SetActiveLineColor(clNone);
  core.SetHighlighter(&highlighter);
  core.SetTabWidth(4);
  core.SetText(u"\tCaption = 'a b'\t{c}\r\nend");
  core.Caret().SetCaretXY({1, 2});
  form->Show();
  Pump();
  const harness::Bitmap32 picture = harness::PaintClient(edit.Handle());
  harness::SaveForInspection(picture, L"codeedit-tabs");
  const Integer cell = core.CharWidth(), row = core.LineHeight(), offset = core.TextOffset();
  const auto count = [&](Integer firstColumn, Integer lastColumn, auto&& wanted) {
    int found = 0;
    for (Integer y = 0; y < row; ++y)
      for (Integer x = offset + (firstColumn - 1) * cell; x < offset + lastColumn * cell; ++x)
        if (wanted(picture.Pixel(x, y) & 0xFFFFFF)) ++found;
    return found;
  };
  // "\t" takes columns 1-4: "Caption" 5-11, "'a b'" 15-19, "{c}" 21-23.
  // Smoothed glyphs have few pixels of the exact colour: their tint counts.
  const auto red = [](uint32_t p) {
    const uint32_t a = p >> 16 & 0xFF, g = p >> 8 & 0xFF, c = p & 0xFF;
    return std::max(a, c) > 0xA0 && std::min(a, c) < 0x70 && g < 0x70;
  };
  const auto green = [](uint32_t p) {
    const uint32_t a = p >> 16 & 0xFF, g = p >> 8 & 0xFF, c = p & 0xFF;
    return g > 0x50 && a < 0x40 && c < 0x40;
  };
  EXPECT_EQ(count(5, 11, red), 0);
  EXPECT_GT(count(15, 19, red), 10);
  EXPECT_EQ(count(20, 20, red), 0);
  EXPECT_GT(count(21, 23, green), 10);
  EXPECT_EQ(count(15, 19, green), 0);
  core.SetHighlighter(nullptr);
}

class CodeEditInputTest : public CodeEditWindowTest {
 protected:
  void SetUp() override {
    CodeEditWindowTest::SetUp();
    FForm.reset(CreateForm<TCodeEditForm>(FApp.get()));
    TCodeEditCore& core = Edit().Core();
    core.SetReadOnly(false);
    core.SetWordWrap(false);
    core.SetInsertMode(true);
    core.SetOptions(core.Options() - TCodeEditorOptions{eoTrimTrailingSpaces});
    FForm->Show();
    Pump();
    Edit().SetFocus();
  }
  void TearDown() override {
    FForm.reset();
    CodeEditWindowTest::TearDown();
  }
  TCodeEdit& Edit() { return *FForm->Source; }
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(Edit().Handle(), msg, w, l); }
  // The pixel of the middle of a buffer cell.
  LPARAM At(Integer column, Integer line) {
    const TPoint p = Edit().Core().Caret().RowColumnToPixels({column, line});
    return MAKELPARAM(p.X + 1, p.Y + Edit().Core().LineHeight() / 2);
  }
  std::unique_ptr<TCodeEditForm> FForm;
};

TEST_F(CodeEditInputTest, TypedKeysAndCharactersEditTheText) {
  TCodeEditCore& core = Edit().Core();
  core.SetText(u"abc\r\ndef");
  core.Caret().SetCaretXY({1, 1});
  Send(WM_KEYDOWN, VK_END);
  for (const Char c : String(u"xy")) Send(WM_CHAR, c);
  Send(WM_KEYDOWN, VK_DOWN);
  Send(WM_KEYDOWN, VK_HOME);
  Send(WM_KEYDOWN, VK_DELETE);
  Send(WM_CHAR, u'z');
  EXPECT_EQ(core.Lines().Get(0), u"abcxy");
  EXPECT_EQ(core.Lines().Get(1), u"zef");
}

TEST_F(CodeEditInputTest, MouseSelectsByClickDragAndDoubleClickAndTheWheelScrolls) {
  TCodeEditCore& core = Edit().Core();
  core.Caret().SetSelectionMode(smNormal);
  core.SetText(u"alpha beta gamma\r\nsecond line");
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 1));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(4, 2));
  Send(WM_LBUTTONUP, 0, At(4, 2));
  EXPECT_EQ(core.Caret().BlockBegin(), (TBufferCoord{3, 1}));
  EXPECT_EQ(core.Caret().BlockEnd(), (TBufferCoord{4, 2}));
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(8, 1));
  Send(WM_LBUTTONUP, 0, At(8, 1));
  EXPECT_EQ(core.Editing().SelText(), u"beta");
  String many;
  for (int i = 0; i < 100; ++i) many += u"line\r\n";
  core.SetText(many);
  EXPECT_EQ(core.Caret().TopLine(), 1);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_GT(core.Caret().TopLine(), 1);
  const Integer top = core.Caret().TopLine();
  Send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(core.Caret().TopLine(), top + 1);
}

TEST_F(CodeEditInputTest, ColumnBlocksTravelThroughTheClipboardWithTheirMode) {
  TCodeEditCore& core = Edit().Core();
  core.SetText(u"abcd\r\nefgh\r\nijkl");
  core.Caret().SetSelectionMode(smColumn);
  core.Caret().SetCaretAndSelection({3, 2}, {2, 1}, {3, 2});
  Send(WM_COPY);
  {
    TClipboard& clipboard = Clipboard();
    EXPECT_EQ(clipboard.AsText(), u"b\r\nf");
    const std::vector<Byte> block = clipboard.GetBuffer(CodeEditBlockTypeFormat());
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(block[0], smColumn);
  }
  // Pasted in normal mode as a column again.
  core.Caret().SetSelectionMode(smNormal);
  core.Caret().SetCaretXY({4, 2});
  Send(WM_PASTE);
  EXPECT_EQ(core.Lines().Get(1), u"efgbh");
  EXPECT_EQ(core.Lines().Get(2), u"ijkfl");
  core.Editing().Undo();
  EXPECT_EQ(core.Text(), u"abcd\r\nefgh\r\nijkl");
  // A mode byte that names no mode: the editor's own mode.
  const char unknown[] = {7, 'x', 0};
  Clipboard().Open();
  Clipboard().SetAsText(u"x\r\ny");
  Clipboard().SetBuffer(CodeEditBlockTypeFormat(), unknown, sizeof unknown);
  Clipboard().Close();
  core.Caret().SetCaretXY({1, 1});
  Send(WM_PASTE);
  EXPECT_EQ(core.Lines().Get(0), u"x");
  EXPECT_EQ(core.Lines().Get(1), u"yabcd");
}

TEST_F(CodeEditInputTest, WindowTextIsUtf16) {
  const wchar_t text[] = L"\u03A9\u03BC\u03AD\u03B3\u03B1 \u2713";
  EXPECT_TRUE(Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
  EXPECT_EQ(Edit().Core().Lines().Get(0), String(u"\u03A9\u03BC\u03AD\u03B3\u03B1 \u2713"));
  const auto length = static_cast<size_t>(Send(WM_GETTEXTLENGTH));
  std::vector<wchar_t> read(length + 1);
  EXPECT_EQ(static_cast<size_t>(Send(WM_GETTEXT, read.size(), reinterpret_cast<LPARAM>(read.data()))), length);
  EXPECT_EQ(std::wstring(read.data()).substr(0, 7), std::wstring(text));
  wchar_t small[4] = {};
  EXPECT_EQ(Send(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
  EXPECT_EQ(std::wstring(small), std::wstring(text).substr(0, 3));
}

TEST_F(CodeEditInputTest, TheMemoAnswersTheEditControlsMessages) {
  ASSERT_NE(FForm->Memo, nullptr);
  TCodeMemo& memo = *FForm->Memo;
  const auto send = [&](UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(memo.Handle(), msg, w, l); };
  EXPECT_EQ(send(EM_GETLINECOUNT), 3);
  // Characters count line breaks as two, from 0.
  send(EM_SETSEL, 7, 13);
  DWORD start = 0, end = 0;
  EXPECT_EQ(send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)), MAKELRESULT(7, 13));
  EXPECT_EQ(start, 7u);
  EXPECT_EQ(end, 13u);
  EXPECT_EQ(send(EM_GETSEL), MAKELRESULT(7, 13));
  wchar_t selected[16] = {};
  EXPECT_EQ(send(WM_USER + 62, 0, reinterpret_cast<LPARAM>(selected)), 6);
  EXPECT_EQ(std::wstring(selected), L"second");
  wchar_t line[16] = {};
  line[0] = 15;
  EXPECT_EQ(send(EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 11);
  EXPECT_EQ(std::wstring(line, 11), L"second line");
  wchar_t untouched[4] = {3, 'q', 0, 0};
  EXPECT_EQ(send(EM_GETLINE, 3, reinterpret_cast<LPARAM>(untouched)), 0);
  EXPECT_EQ(untouched[1], L'q');
  EXPECT_FALSE(send(EM_CANUNDO));
  EXPECT_EQ(send(EM_UNDO), 0);
  send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"2nd"));
  EXPECT_EQ(memo.Core().Lines().Get(1), u"2nd line");
  EXPECT_TRUE(send(EM_GETMODIFY));
  EXPECT_TRUE(send(EM_CANUNDO));
  EXPECT_NE(send(EM_UNDO), 0);
  EXPECT_EQ(memo.Core().Lines().Get(1), u"second line");
  send(EM_SETMODIFY, 0);
  EXPECT_FALSE(send(EM_GETMODIFY));
  EXPECT_EQ(send(EM_GETFIRSTVISIBLELINE), 0);
  const TPoint p = memo.Core().Caret().RowColumnToPixels({3, 2});
  EXPECT_EQ(send(EM_CHARFROMPOS, 0, MAKELPARAM(p.X + 1, p.Y + 1)), MAKELRESULT(7 + 2, 1));
  memo.Core().SetReadOnly(true);
  send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
  EXPECT_EQ(memo.Core().Text(), u"first\r\nsecond line\r\nthird");
}

// A change that cannot be undone leaves nothing older to undo at moved
// positions; 0 to -1 selects everything, -1 takes the selection away.
TEST_F(CodeEditInputTest, TheMemoSelectsAllAndForgetsUndoAfterAnUnrecordedChange) {
  ASSERT_NE(FForm->Memo, nullptr);
  TCodeMemo& memo = *FForm->Memo;
  memo.Core().SetReadOnly(false);
  const auto send = [&](UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(memo.Handle(), msg, w, l); };
  const String text = memo.Core().Text();
  send(EM_SETSEL, 0, -1);
  EXPECT_EQ(memo.Core().Editing().SelText(), text);
  send(EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_FALSE(memo.Core().Caret().SelAvail());
  send(EM_SETSEL, 0, 5);
  send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"new"));
  send(EM_SETSEL, 0, 3);
  send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"cafe"));
  EXPECT_FALSE(send(EM_CANUNDO));
  EXPECT_EQ(send(EM_UNDO), 0);
  EXPECT_EQ(memo.Core().Lines().Get(0), u"cafe");
  memo.Core().SetText(text);
}

// A sender of the other character set: an ANSI window gets the selected
// text as ANSI; positions past 16 bits arrive whole where the message has
// room for 32.
WNDPROC gOriginalMemoProc = nullptr;
LRESULT CALLBACK AnsiMemoProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
  return CallWindowProcA(gOriginalMemoProc, window, msg, w, l);
}

TEST_F(CodeEditInputTest, TheMemoAnswersAnAnsiWindowInAnsiAndKeepsLongPositions) {
  ASSERT_NE(FForm->Memo, nullptr);
  TCodeMemo& memo = *FForm->Memo;
  const HWND window = memo.Handle();
  memo.Core().SetText(u"caf\u00E9 au lait");
  SendMessageW(window, EM_SETSEL, 0, 4);
  gOriginalMemoProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnsiMemoProc)));
  ASSERT_FALSE(IsWindowUnicode(window));
  char ansi[16] = {};
  EXPECT_EQ(SendMessageA(window, WM_USER + 62, 0, reinterpret_cast<LPARAM>(ansi)), 4);
  EXPECT_EQ(std::string(ansi), "caf\xE9");
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gOriginalMemoProc));
  ASSERT_TRUE(IsWindowUnicode(window));
  wchar_t wide[16] = {};
  EXPECT_EQ(SendMessageW(window, WM_USER + 62, 0, reinterpret_cast<LPARAM>(wide)), 4);
  EXPECT_EQ(std::wstring(wide), L"caf\u00E9");
  // Past 65535.
  String line(70000, u'x');
  memo.Core().SetText(line + u"\r\n" + line);
  SendMessageW(window, EM_SETSEL, 70005, 70010);
  DWORD start = 0, end = 0;
  EXPECT_EQ(SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)), -1);
  EXPECT_EQ(start, 70005u);
  EXPECT_EQ(end, 70010u);
  EXPECT_EQ(memo.Core().Caret().BlockBegin(), (TBufferCoord{4, 2}));
  EXPECT_EQ(memo.Core().Caret().BlockEnd(), (TBufferCoord{9, 2}));
  memo.Core().SetText(u"first\r\nsecond line\r\nthird");
}

// A click right of the end of a wrapped row puts the caret at the end of that
// row, not at the start of the next.
TEST_F(CodeEditInputTest, AClickPastAWrappedRowStaysOnThatRow) {
  TCodeEditCore& core = Edit().Core();
  core.Caret().SetSelectionMode(smNormal);
  core.SetWordWrap(true);
  const Integer n = core.CharsInWindow();
  ASSERT_GT(n, 20);
  core.SetText(String(static_cast<size_t>(n - 5), u'a') + u" " + String(20, u'b'));
  ASSERT_GT(core.Caret().DisplayLineCount(), 1);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(n - 2, 1));
  Send(WM_LBUTTONUP, 0, At(n - 2, 1));
  EXPECT_EQ(core.Caret().DisplayY(), 1);
  EXPECT_EQ(core.Caret().DisplayX(), n - 4);
  EXPECT_EQ(core.Caret().CaretXY(), (TBufferCoord{n - 4, 1}));
  core.SetWordWrap(false);
}

TEST_F(CodeEditInputTest, ReplaceAllIsOneUndoStepOfTheWindow) {
  ASSERT_NE(FForm->Memo, nullptr);
  TCodeMemo& memo = *FForm->Memo;
  TCodeEditSearch engine;
  memo.Core().SetSearchEngine(&engine);
  memo.Core().SetReadOnly(false);
  memo.Core().Caret().SetCaretXY({1, 1});
  const String before = memo.Core().Text();
  EXPECT_EQ(SearchReplace(memo.Core(), u"i", u"I", {ssoReplace, ssoReplaceAll}), 3);
  EXPECT_EQ(memo.Core().Text(), u"fIrst\r\nsecond lIne\r\nthIrd");
  EXPECT_NE(SendMessageW(memo.Handle(), EM_UNDO, 0, 0), 0);
  EXPECT_EQ(memo.Core().Text(), before);
  EXPECT_FALSE(SendMessageW(memo.Handle(), EM_CANUNDO, 0, 0));
  memo.Core().SetSearchEngine(nullptr);
}

TEST_F(CodeEditInputTest, AFailingHandlerReachesTheApplicationNotTheCaller) {
  TCodeEditCore& core = Edit().Core();
  core.SetText(u"abc");
  core.OnChange = TNotifyEvent([](TObject*) { throw EConvertError(u"The handler failed"); });
  Send(WM_CHAR, u'x');
  ASSERT_EQ(FExceptions.size(), 1u);
  EXPECT_EQ(FExceptions[0], u"The handler failed");
  core.OnChange = TNotifyEvent();
  Send(WM_CHAR, u'y');
  EXPECT_EQ(core.Lines().Get(0).substr(0, 2), u"xy") << "the window goes on";
}

TEST_F(CodeEditInputTest, ClearUndoAndInputMethodMessages) {
  TCodeEditCore& core = Edit().Core();
  core.Caret().SetSelectionMode(smNormal);
  core.SetText(u"alpha beta");
  core.Caret().SetCaretAndSelection({6, 1}, {1, 1}, {6, 1});
  Send(WM_CLEAR);
  EXPECT_EQ(core.Lines().Get(0), u" beta");
  Send(WM_UNDO);
  EXPECT_EQ(core.Lines().Get(0), u"alpha beta");
  core.SetReadOnly(true);
  core.Caret().SetCaretAndSelection({6, 1}, {1, 1}, {6, 1});
  Send(WM_CLEAR);
  EXPECT_EQ(core.Lines().Get(0), u"alpha beta") << "read-only";
  core.SetReadOnly(false);
  core.Caret().SetCaretXY({1, 1});
  // Characters that are no text: Alt+Backspace, and the input method's
  // characters, whose string came with the composition's result.
  Send(WM_SYSCHAR, VK_BACK, 1 << 29);
  Send(WM_IME_CHAR, u'x');
  Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  Send(WM_IME_NOTIFY, IMN_SETOPENSTATUS);
  EXPECT_EQ(core.Lines().Get(0), u"alpha beta");
  EXPECT_TRUE(FExceptions.empty());
  // A drag whose capture is taken away selects no further.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 1));
  Send(WM_CAPTURECHANGED);
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(8, 1));
  EXPECT_FALSE(core.Caret().SelAvail());
}

TEST_F(CodeEditInputTest, FocusChangesPassThroughTheCommandPipeline) {
  std::vector<TCodeEditorCommand> seen;
  Edit().Core().OnCommandProcessed =
      TProcessCommandEvent([&](TObject*, TCodeEditorCommand& command, Char&, void*) { seen.push_back(command); });
  const String text = Edit().Core().Text();
  ::SetFocus(nullptr);
  ::SetFocus(Edit().Handle());
  Pump();
  EXPECT_EQ(seen, (std::vector<TCodeEditorCommand>{481, 480}));
  EXPECT_EQ(Edit().Core().Text(), text) << "nothing is executed";
}

TEST_F(CodeEditInputTest, ADragBelowTheTextScrollsAndSelectsOnTheTimer) {
  TCodeEditCore& core = Edit().Core();
  core.Caret().SetSelectionMode(smNormal);
  String many;
  for (int i = 0; i < 200; ++i) many += u"line\r\n";
  core.SetText(many);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 1));
  const Integer below = core.LinesInWindow() * core.LineHeight() + 3 * core.LineHeight();
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(core.GutterWidth() + 20, below));
  const Integer top = core.Caret().TopLine();
  const Integer end = core.Caret().BlockEnd().Line;
  Send(WM_TIMER, 1);
  EXPECT_GT(core.Caret().TopLine(), top);
  EXPECT_GT(core.Caret().BlockEnd().Line, end) << "the selection follows";
  EXPECT_EQ(core.Caret().BlockBegin(), (TBufferCoord{2, 1}));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(core.GutterWidth() + 20, below));
  EXPECT_FALSE(KillTimer(Edit().Handle(), 1)) << "the release stopped the timer";
  const Integer after = core.Caret().TopLine();
  Send(WM_TIMER, 1);
  EXPECT_EQ(core.Caret().TopLine(), after);
}

TEST_F(CodeEditInputTest, DroppedFileNamesArriveWhole) {
  std::vector<String> dropped;
  Edit().OnDropFiles = TDropFilesEvent([&](TObject*, const TStrings& files, TPoint) {
    for (Integer i = 0; i < files.GetCount(); ++i) dropped.push_back(files.Get(i));
  });
  Edit().SetOptions(Edit().Options() + TCodeEditorOptions{eoDropFiles});
  const std::wstring longName = L"C:\\" + std::wstring(300, L'a') + L".dfm";
  const std::wstring names = longName + L'\0' + L"C:\\b.dfm" + L'\0' + L'\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
  GlobalUnlock(memory);
  Send(WM_DROPFILES, reinterpret_cast<WPARAM>(memory));
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[0].size(), longName.size());
  EXPECT_EQ(dropped[1], u"C:\\b.dfm");
}

}  // namespace
