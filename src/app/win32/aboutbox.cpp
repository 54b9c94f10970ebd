#include "app/win32/aboutbox.h"

#include <shellapi.h>

#include "rtl/format.h"
#include "services/fileversion.h"

namespace {

struct TAboutTexts {
  const char16_t* Caption;
  const char16_t* Version;
};
constexpr TAboutTexts kTexts[] = {{u"About", u"Version"}, {u"O programu", u"Verze"}};

constexpr const char16_t* kEmail = u"kestrum@obrix.example";
constexpr const char16_t* kHomepage = u"www.obrix.example/kestrum";
constexpr const char16_t* kNotice =
    u"Kestrum opens, edits, converts and saves the form files of Delphi and C++Builder "
    u"in their three encodings: text, binary and resource-wrapped.\r\n\r\n"
    u"A form file is read as data: nothing named in it is run, opened or connected.\r\n\r\n"
    u"This program is provided as it is, without warranty of any kind.";

String ProgramFileName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return FromWStr(path);
}

}  // namespace

KST_CLASS_IMPL(TdlgAbout, "Kestrum_About")

void TdlgAbout::Describe(TClassBuilder<TdlgAbout>& c) {
  using A = TdlgAbout;
  c.Field(u"pTop", &A::pTop);
  c.Field(u"pMiddle", &A::pMiddle);
  c.Field(u"pBottom", &A::pBottom);
  c.Field(u"Icon", &A::Icon);
  c.Field(u"lProduct", &A::lProduct);
  c.Field(u"lVer", &A::lVer);
  c.Field(u"lCR", &A::lCR);
  c.Field(u"lDesc", &A::lDesc);
  c.Field(u"lEmail", &A::lEmail);
  c.Field(u"lWWW", &A::lWWW);
  c.Field(u"mLic", &A::mLic);
  c.Field(u"bOK", &A::bOK);
  c.Method(u"FormCreate", &A::FormCreate);
  c.Method(u"FormMouseDown", &A::FormMouseDown);
  c.Method(u"cmEmail", &A::cmEmail);
  c.Method(u"cmHomepage", &A::cmHomepage);
}

void TdlgAbout::FormCreate(TObject*) {
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) Icon->Picture().Icon().SetHandle(icon);
}

void TdlgAbout::Fill(int language, const String& extraLine) {
  const TAboutTexts& texts = kTexts[language == 1 ? 1 : 0];
  String product, version, copyright, description;
  try {
    TUtFileVersionInfo info(ProgramFileName());
    product = info.ProductName();
    version = info.FileVersion();
    copyright = info.LegalCopyright();
    description = info.Comments().empty() ? info.FileDescription() : info.Comments();
  } catch (const Exception&) {
    // A program without its version record still shows its box.
  }
  lProduct->SetCaption(product);
  lVer->SetCaption(Format(u"%s %s", {String(texts.Version), version}));
  lEmail->SetCaption(kEmail);
  lWWW->SetCaption(kHomepage);
  lCR->SetCaption(copyright);
  lDesc->SetCaption(description);
  SetCaption(Format(u"%s....", {String(texts.Caption)}));
  mLic->GetLines()->SetTextStr(kNotice);
  if (!extraLine.empty()) mLic->GetLines()->Add(extraLine);
  mLic->SetSelStart(0);
  if (mLic->GetLines()->Count() > 12) mLic->SetScrollBars(ssVertical);
}

void TdlgAbout::FormMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  ReleaseCapture();
  SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TdlgAbout::cmEmail(TObject*) {
  ShellExecuteW(Handle(), L"open", L"mailto:kestrum@obrix.example", nullptr, nullptr, SW_SHOWNORMAL);
}

void TdlgAbout::cmHomepage(TObject*) {
  ShellExecuteW(Handle(), L"open", L"https://www.obrix.example/kestrum", nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowAboutDialog(int language, const String& extraLine) {
  auto box = MakeForm<TdlgAbout>(Application->MainForm());
  box->Fill(language, extraLine);
  box->ShowModal();
}
