// The clipboard (text and a format of our own) and files dropped on a window.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "ui/clipbrd.h"
#include "ui/uitest.h"

namespace {

using ClipboardTest = UiTest;

TEST_F(ClipboardTest, TextGoesRoundAsUnicode) {
  const String text = u"Gr\u00FC\u00DFe \u2014 \u65E5\u672C\u8A9E \u2713\r\nsecond line";
  Clipboard().SetAsText(text);
  EXPECT_TRUE(Clipboard().HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clipboard().AsText(), text);
  Clipboard().Clear();
  EXPECT_FALSE(Clipboard().HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clipboard().AsText(), u"");
}

TEST_F(ClipboardTest, TextBuffersAndTheListOfFormats) {
  Clipboard().SetTextBuf(u"buffered text");
  EXPECT_EQ(Clipboard().AsText(), u"buffered text");
  Char small[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(Clipboard().GetTextBuf(small, 6), 5);
  EXPECT_EQ(String(small), u"buffe");
  EXPECT_EQ(Clipboard().GetTextBuf(nullptr, 10), 0);
  EXPECT_EQ(Clipboard().GetTextBuf(small, 0), 0);
  // The system adds the other text formats beside the one put.
  const Integer count = Clipboard().FormatCount();
  ASSERT_GE(count, 1);
  bool unicode = false;
  for (Integer i = 0; i < count; ++i) unicode = unicode || Clipboard().Formats(i) == CF_UNICODETEXT;
  EXPECT_TRUE(unicode);
  EXPECT_THROW(Clipboard().Formats(count), EListError);
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "every query closes what it opened";
  Clipboard().SetTextBuf(nullptr);
  EXPECT_EQ(Clipboard().AsText(), u"");
  EXPECT_EQ(TClipboard::StaticClass().UnitName(), u"Clipbrd");
  EXPECT_EQ(Clipboard().ClassType(), &TClipboard::StaticClass());
}

TEST_F(ClipboardTest, AFormatOfOurOwnCarriesBytesBesideTheText) {
  UINT format = RegisterClipboardFormat(u"Kestrum Test Block");
  EXPECT_EQ(RegisterClipboardFormat(u"Kestrum Test Block"), format);
  EXPECT_THROW(RegisterClipboardFormat(u""), EClipboardException);
  const Byte bytes[] = {0, 1, 2, 0xFF, 0, 7};

  // One session: the second thing put keeps the first.
  Clipboard().Open();
  Clipboard().Open();
  EXPECT_NE(GetOpenClipboardWindow(), nullptr);
  Clipboard().SetAsText(u"block");
  Clipboard().SetBuffer(format, bytes, sizeof bytes);
  Clipboard().Close();
  EXPECT_NE(GetOpenClipboardWindow(), nullptr) << "still the outer session";
  Clipboard().Close();
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);

  EXPECT_TRUE(Clipboard().HasFormat(format));
  EXPECT_EQ(Clipboard().AsText(), u"block");
  std::vector<Byte> back = Clipboard().GetBuffer(format);
  ASSERT_GE(back.size(), sizeof bytes);
  EXPECT_EQ(std::memcmp(back.data(), bytes, sizeof bytes), 0);

  // A new session replaces both.
  Clipboard().SetAsText(u"only text");
  EXPECT_FALSE(Clipboard().HasFormat(format));
  EXPECT_TRUE(Clipboard().GetBuffer(format).empty());
}

// What the shell hands a window for a drop: the header, then the wide file
// names each ended by a null, and one more null.
HGLOBAL MakeDrop(const std::vector<std::wstring>& files, POINT at) {
  size_t chars = 1;
  for (const std::wstring& f : files) chars += f.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->pt = at;
  header->fNC = FALSE;
  header->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& f : files) {
    std::memcpy(names, f.c_str(), (f.size() + 1) * sizeof(wchar_t));
    names += f.size() + 1;
  }
  GlobalUnlock(block);
  return block;
}

TEST_F(ClipboardTest, FilesDroppedOnAFormReachItsEvent) {
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  form->SetAcceptFiles(true);
  form->HandleNeeded();
  EXPECT_NE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  form->RecreateWnd();
  EXPECT_NE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << "kept by a new window";

  std::vector<String> dropped;
  TPoint at;
  form->OnDropFiles = TDropFilesEvent([&](TObject*, const TStrings& files, TPoint pos) {
    for (int i = 0; i < files.Count(); ++i) dropped.push_back(files[i]);
    at = pos;
  });
  SendMessageW(form->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({L"C:\\forms\\Main.dfm", L"D:\\\u00DCber uns\\b c.dfm"}, {10, 20})),
               0);
  EXPECT_EQ(dropped, (std::vector<String>{u"C:\\forms\\Main.dfm", u"D:\\\u00DCber uns\\b c.dfm"}));
  EXPECT_EQ(at, (TPoint{10, 20}));

  form->SetAcceptFiles(false);
  EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

}  // namespace
