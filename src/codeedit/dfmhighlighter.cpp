#include "codeedit/dfmhighlighter.h"

namespace {

constexpr char16_t kDefaultFilter[] = u"Borland Form Files (*.dfm;*.xfm)|*.dfm;*.xfm";
constexpr char16_t kFriendlyLanguageName[] = u"Borland Forms";
constexpr char16_t kLanguageName[] = u"BorlandForms";

bool IsDigit(Char c) {
  return c >= u'0' && c <= u'9';
}
bool IsHexDigit(Char c) {
  return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
bool IsLetter(Char c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool IsIdentifierChar(Char c) {
  return IsLetter(c) || IsDigit(c);
}

}  // namespace

TCodeDfmHighlighter::TCodeDfmHighlighter() {
  fCaseSensitive = false;
  fCommentAttri = MakeAttribute(u"Comment", {fsItalic});
  fIdentifierAttri = MakeAttribute(u"Identifier", {});
  fKeyAttri = MakeAttribute(u"Key", {fsBold});
  fNumberAttri = MakeAttribute(u"Number", {});
  fSpaceAttri = MakeAttribute(u"Space", {});
  fStringAttri = MakeAttribute(u"String", {});
  fSymbolAttri = MakeAttribute(u"Symbol", {});
  WireAttributeEvents();
  SetDefaultFilter(kDefaultFilter);
  fRange = rsUnKnown;
}

TCodeHighlighterAttributes* TCodeDfmHighlighter::MakeAttribute(const char16_t* name, TFontStyles style) {
  auto attribute = std::make_unique<TCodeHighlighterAttributes>(name, name);
  attribute->SetStyle(style);
  TCodeHighlighterAttributes* result = attribute.get();
  AddAttribute(std::move(attribute));
  return result;
}

TCodeHighlighterClass TCodeDfmHighlighter::HighlighterClass() {
  return {u"TCodeDfmHighlighter", kLanguageName, kFriendlyLanguageName,
          []() -> std::unique_ptr<TCodeCustomHighlighter> { return std::make_unique<TCodeDfmHighlighter>(); },
          [](const TCodeCustomHighlighter& highlighter) {
            return dynamic_cast<const TCodeDfmHighlighter*>(&highlighter) != nullptr;
          }};
}

bool TCodeDfmHighlighter::IsInstanceOfMyClass(const TCodeCustomHighlighter& other) const {
  return dynamic_cast<const TCodeDfmHighlighter*>(&other) != nullptr;
}

TCodeHighlighterAttributes* TCodeDfmHighlighter::GetDefaultAttribute(Integer index) const {
  switch (index) {
    case CODE_ATTR_COMMENT: return fCommentAttri;
    case CODE_ATTR_IDENTIFIER: return fIdentifierAttri;
    case CODE_ATTR_KEYWORD: return fKeyAttri;
    case CODE_ATTR_STRING: return fStringAttri;
    case CODE_ATTR_WHITESPACE: return fSpaceAttri;
    case CODE_ATTR_SYMBOL: return fSymbolAttri;
    default: return nullptr;
  }
}

bool TCodeDfmHighlighter::DefaultFilterStored() const {
  return DefaultFilter() != kDefaultFilter;
}

String TCodeDfmHighlighter::SampleSource() const {
  return u"{ Delphi/C++ Builder Form Definitions }\r\n"
         u"object TestForm: TTestForm\r\n"
         u"  Left = 273\r\n"
         u"  Top = 103\r\n"
         u"  Caption = 'CodeEdit sample source'\r\n"
         u"end";
}

String TCodeDfmHighlighter::GetLanguageName() const {
  return kLanguageName;
}

String TCodeDfmHighlighter::GetFriendlyLanguageName() const {
  return kFriendlyLanguageName;
}

TCodeHighlighterAttributes* TCodeDfmHighlighter::GetTokenAttribute() const {
  switch (FTokenID) {
    case tkComment: return fCommentAttri;
    case tkIdentifier:
    case tkUnknown: return fIdentifierAttri;
    case tkKey: return fKeyAttri;
    case tkNumber: return fNumberAttri;
    case tkSpace: return fSpaceAttri;
    case tkString: return fStringAttri;
    case tkSymbol: return fSymbolAttri;
    default: return nullptr;
  }
}

// The rest of a comment from Run: to the first closing brace, taken in, or to
// the end of the line, where the comment goes on in the next line.
void TCodeDfmHighlighter::CommentProc() {
  FTokenID = tkComment;
  while (Run < fLineLen) {
    if (LineChar(Run) == u'}') {
      ++Run;
      fRange = rsUnKnown;
      return;
    }
    ++Run;
  }
}

void TCodeDfmHighlighter::NumberProc() {
  FTokenID = tkNumber;
  ++Run;
  for (;;) {
    const Char c = LineChar(Run);
    if (c == u'.') {
      if (LineChar(Run + 1) != u'.') ++Run;
      return;
    }
    if (!IsDigit(c) && c != u'e' && c != u'E') return;
    ++Run;
  }
}

void TCodeDfmHighlighter::StringProc() {
  FTokenID = tkString;
  ++Run;
  while (Run < fLineLen) {
    if (LineChar(Run) == u'\'') {
      if (LineChar(Run + 1) != u'\'') {
        ++Run;
        return;
      }
      ++Run;
    }
    ++Run;
  }
}

void TCodeDfmHighlighter::SpaceProc() {
  FTokenID = tkSpace;
  ++Run;
  for (Char c = LineChar(Run); c != 0 && c <= 32 && c != u'\r' && c != u'\n'; c = LineChar(Run)) ++Run;
}

bool TCodeDfmHighlighter::IsKeyAt(StringView keyword) {
  fToIdent = Run;
  fStringLen = static_cast<Integer>(keyword.size());
  if (Run + fStringLen > fLineLen || !TokenEquals(keyword)) return false;
  return !IsIdentifierChar(LineChar(Run + fStringLen));
}

void TCodeDfmHighlighter::IdentProc() {
  StringView key;
  switch (LineChar(Run)) {
    case u'e': key = IsKeyAt(u"end") ? u"end" : u""; break;
    case u'o': key = IsKeyAt(u"object") ? u"object" : u""; break;
    case u'i':
      if (IsKeyAt(u"inherited")) {
        key = u"inherited";
      } else if (IsKeyAt(u"inline")) {
        key = u"inline";
      }
      break;
    default: break;
  }
  if (!key.empty()) {
    FTokenID = tkKey;
    Run += static_cast<Integer>(key.size());
    return;
  }
  FTokenID = tkIdentifier;
  ++Run;
  while (IsIdentifierChar(LineChar(Run))) ++Run;
}

void TCodeDfmHighlighter::Next() {
  fTokenPos = Run;
  const Char c = LineChar(Run);
  if (fRange == rsComment) {
    if (c == 0) {
      FTokenID = tkNull;
      ++Run;
    } else {
      CommentProc();
    }
  } else {
    switch (c) {
      case 0:
        FTokenID = tkNull;
        ++Run;
        break;
      case u'\r':
        FTokenID = tkSpace;
        ++Run;
        if (LineChar(Run) == u'\n') ++Run;
        break;
      case u'\n':
        FTokenID = tkSpace;
        ++Run;
        break;
      case u'#':
        FTokenID = tkString;
        ++Run;
        while (IsDigit(LineChar(Run))) ++Run;
        break;
      case u'$':
        FTokenID = tkNumber;
        ++Run;
        while (IsHexDigit(LineChar(Run))) ++Run;
        break;
      case u'\'': StringProc(); break;
      case u'(':
      case u')':
      case u',':
      case u'.':
      case u'/':
      case u'<':
      case u'=':
      case u'>':
      case u'[':
      case u']':
        FTokenID = tkSymbol;
        ++Run;
        break;
      case u'{':
        fRange = rsComment;
        ++Run;
        CommentProc();
        break;
      case u'}':
        FTokenID = tkIdentifier;
        fRange = rsUnKnown;
        ++Run;
        break;
      default:
        if (c <= 32) {
          SpaceProc();
        } else if (IsDigit(c)) {
          NumberProc();
        } else if (IsLetter(c)) {
          IdentProc();
        } else {
          FTokenID = tkUnknown;
          ++Run;
        }
        break;
    }
  }
  TCodeCustomHighlighter::Next();
}
