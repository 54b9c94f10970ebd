#include "codeedit/highlighter.h"

#include <algorithm>
#include <typeinfo>

#include "codeedit/dfmhighlighter.h"
#include "codeedit/textutils.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"

// ---- TCodeHighlighterAttributes ----

TCodeHighlighterAttributes::TCodeHighlighterAttributes(String aName, String aFriendlyName)
    : fFriendlyName(std::move(aFriendlyName)), fName(std::move(aName)) {}

void TCodeHighlighterAttributes::NotifyChange() {
  fOnChange(this);
}

void TCodeHighlighterAttributes::SetBackground(TColor value) {
  if (fBackground == value) return;
  fBackground = value;
  NotifyChange();
}

void TCodeHighlighterAttributes::SetForeground(TColor value) {
  if (fForeground == value) return;
  fForeground = value;
  NotifyChange();
}

void TCodeHighlighterAttributes::SetStyle(TFontStyles value) {
  if (fStyle == value) return;
  fStyle = value;
  NotifyChange();
}

void TCodeHighlighterAttributes::SetColors(TColor foreground, TColor background) {
  if (fForeground == foreground && fBackground == background) return;
  fForeground = foreground;
  fBackground = background;
  NotifyChange();
}

void TCodeHighlighterAttributes::InternalSaveDefaultValues() {
  fForegroundDefault = fForeground;
  fBackgroundDefault = fBackground;
  fStyleDefault = fStyle;
}

void TCodeHighlighterAttributes::Assign(const TCodeHighlighterAttributes& source) {
  if (&source == this) return;
  fName = source.fName;
  AssignColorAndStyle(source);
}

void TCodeHighlighterAttributes::AssignColorAndStyle(const TCodeHighlighterAttributes& source) {
  bool changed = false;
  if (fBackground != source.fBackground) {
    fBackground = source.fBackground;
    changed = true;
  }
  if (fForeground != source.fForeground) {
    fForeground = source.fForeground;
    changed = true;
  }
  if (fStyle != source.fStyle) {
    fStyle = source.fStyle;
    changed = true;
  }
  if (changed) NotifyChange();
}

// ---- TCodeEditHighlighterOptions ----

void TCodeEditHighlighterOptions::Assign(const TCodeEditHighlighterOptions& source) {
  if (&source == this) return;
  AutoDetectEnabled = source.AutoDetectEnabled;
  AutoDetectLineLimit = source.AutoDetectLineLimit;
  AutoDetectMatchExpression = source.AutoDetectMatchExpression;
  DefaultExtension = source.DefaultExtension;
  LineCommentarEnd = source.LineCommentarEnd;
  LineCommentarStart = source.LineCommentarStart;
  Title = source.Title;
  Visible = source.Visible;
}

// ---- TCodeCustomHighlighter ----

TCodeCustomHighlighter::TCodeCustomHighlighter()
    : fAttrChangeHooks(this), FOptions(std::make_unique<TCodeEditHighlighterOptions>()) {}

TCodeCustomHighlighter::~TCodeCustomHighlighter() {
  FreeAttributes();
}

Integer TCodeCustomHighlighter::AttrCount() const {
  return static_cast<Integer>(fAttributes.size());
}

TCodeHighlighterAttributes* TCodeCustomHighlighter::AttributeAt(Integer index) const {
  if (index < 0 || index >= AttrCount()) return nullptr;
  return fAttributes[static_cast<size_t>(index)].get();
}

void TCodeCustomHighlighter::AddAttribute(std::unique_ptr<TCodeHighlighterAttributes> attribute) {
  const auto position =
      std::lower_bound(fAttributes.begin(), fAttributes.end(), attribute->Name(),
                       [](const auto& listed, const String& name) { return CompareText(listed->Name(), name) < 0; });
  if (position != fAttributes.end() && CompareText((*position)->Name(), attribute->Name()) == 0)
    throw EStringListError(kDuplicateString);
  fAttributes.insert(position, std::move(attribute));
}

void TCodeCustomHighlighter::FreeAttributes() {
  fAttributes.clear();
}

void TCodeCustomHighlighter::WireAttributeEvents() {
  for (const auto& attribute : fAttributes) {
    attribute->SetOnChange(TNotifyEvent(this, &TCodeCustomHighlighter::AttributeChanged));
    attribute->InternalSaveDefaultValues();
  }
}

void TCodeCustomHighlighter::AttributeChanged(TObject* sender) {
  if (fUpdateCount > 0) {
    fUpdateChange = true;
    return;
  }
  if (fLoading) return;
  fAttrChangeHooks.SetSender(sender);
  fAttrChangeHooks.Fire();
}

void TCodeCustomHighlighter::BeginUpdate() {
  ++fUpdateCount;
}

void TCodeCustomHighlighter::EndUpdate() {
  if (fUpdateCount <= 0) return;
  if (--fUpdateCount == 0 && fUpdateChange) {
    fUpdateChange = false;
    AttributeChanged(nullptr);
  }
}

void TCodeCustomHighlighter::Loaded() {
  fLoading = false;
  AttributeChanged(nullptr);
}

bool TCodeCustomHighlighter::IsInstanceOfMyClass(const TCodeCustomHighlighter& other) const {
  return typeid(other) == typeid(*this);
}

void TCodeCustomHighlighter::Assign(const TCodeCustomHighlighter& source) {
  if (&source == this) return;
  for (const auto& attribute : fAttributes) {
    for (Integer i = 0; i < source.AttrCount(); ++i) {
      TCodeHighlighterAttributes* sourceAttribute = source.AttributeAt(i);
      if (sourceAttribute->Name() == attribute->Name()) {
        attribute->Assign(*sourceAttribute);
        break;
      }
    }
  }
  if (IsInstanceOfMyClass(source)) SetSampleSource(source.SampleSource());
  SetDefaultFilter(source.DefaultFilter());
  SetEnabled(source.Enabled());
}

void TCodeCustomHighlighter::SetEnabled(bool value) {
  if (fEnabled == value) return;
  fEnabled = value;
  AttributeChanged(nullptr);
}

void TCodeCustomHighlighter::EnumUserSettings(TStrings& settings) {
  settings.Clear();
}

const String& TCodeCustomHighlighter::ExportName() const {
  if (FExportName.empty()) FExportName = StripClassNameAffixes(ClassName());
  return FExportName;
}

void TCodeCustomHighlighter::PrepareLine(StringView newValue, Integer lineNumber) {
  fCasedLineStr = String(newValue);
  fLineStr = fCaseSensitive ? fCasedLineStr : WideLowerCase(newValue);
  Run = 0;
  ExpandedRun = 0;
  fOldRun = 0;
  fTokenPos = 0;
  fExpandedTokenPos = 0;
  fLineLen = static_cast<Integer>(fLineStr.size());
  fLineNumber = lineNumber;
}

void TCodeCustomHighlighter::SetLine(StringView newValue, Integer lineNumber) {
  fExpandedLineStr.clear();
  fHasExpandedLine = false;
  fExpandedLineLen = 0;
  PrepareLine(newValue, lineNumber);
  Next();
}

void TCodeCustomHighlighter::SetLineExpandedAtWideGlyphs(StringView newValue, StringView expandedLine,
                                                         Integer lineNumber) {
  fExpandedLineStr = String(expandedLine);
  fHasExpandedLine = true;
  fExpandedLineLen = static_cast<Integer>(fExpandedLineStr.size());
  PrepareLine(newValue, lineNumber);
  Next();
}

void TCodeCustomHighlighter::Next() {
  if (fOldRun == Run) return;
  fExpandedTokenPos = ExpandedRun;
  if (fHasExpandedLine) {
    for (Integer step = Run - fOldRun; step > 0; --step) {
      while (ExpandedRun < fExpandedLineLen && fExpandedLineStr[static_cast<size_t>(ExpandedRun)] == WideGlyphFiller)
        ++ExpandedRun;
      ++ExpandedRun;
    }
  }
  fOldRun = Run;
}

void TCodeCustomHighlighter::NextToEol() {
  while (!GetEol()) Next();
}

String TCodeCustomHighlighter::GetToken() const {
  const Integer length = static_cast<Integer>(fCasedLineStr.size());
  const Integer start = std::clamp(fTokenPos, 0, length);
  const Integer end = std::clamp(Run, start, length);
  return fCasedLineStr.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

String TCodeCustomHighlighter::GetExpandedToken() const {
  if (!fHasExpandedLine) return GetToken();
  const Integer start = std::clamp(fExpandedTokenPos, 0, fExpandedLineLen);
  const Integer end = std::clamp(ExpandedRun, start, fExpandedLineLen);
  return fExpandedLineStr.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

Integer TCodeCustomHighlighter::GetExpandedTokenPos() const {
  return fHasExpandedLine ? fExpandedTokenPos : fTokenPos;
}

Integer TCodeCustomHighlighter::PosToExpandedPos(Integer pos) const {
  if (!fHasExpandedLine) return pos;
  Integer expanded = 0;
  for (Integer step = pos; step > 0; --step) {
    while (expanded < fExpandedLineLen && fExpandedLineStr[static_cast<size_t>(expanded)] == WideGlyphFiller)
      ++expanded;
    ++expanded;
  }
  return expanded;
}

bool TCodeCustomHighlighter::TokenEquals(StringView value) const {
  if (static_cast<Integer>(value.size()) != fStringLen) return false;
  return StringView(fLineStr).substr(static_cast<size_t>(fToIdent), static_cast<size_t>(fStringLen)) == value;
}

bool TCodeCustomHighlighter::AtLineEnd(Integer index) const {
  if (index >= fLineLen) return true;
  const Char c = LineChar(index);
  return c == u'\n' || c == u'\r';
}

bool TCodeCustomHighlighter::IsIdentChar(Char c) const {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool TCodeCustomHighlighter::IsWordBreakChar(Char c) const {
  return c <= 47 || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 126) || c == 167 ||
         c == 176 || c == 180;
}

bool TCodeCustomHighlighter::IsWhiteChar(Char c) const {
  if (c < 33) return true;
  return !IsIdentChar(c) && !IsWordBreakChar(c);
}

// ---- TCodeHighlighterList ----

Integer TCodeHighlighterList::FindByClass(const TCodeCustomHighlighter& comp) const {
  for (Integer i = 0; i < Count(); ++i)
    if (ClassAt(i).IsInstance(comp)) return i;
  return -1;
}

Integer TCodeHighlighterList::FindByName(StringView name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (ClassAt(i).LanguageName == name) return i;
  return -1;
}

Integer TCodeHighlighterList::FindByFriendlyName(StringView name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (ClassAt(i).FriendlyLanguageName == name) return i;
  return -1;
}

void TCodeHighlighterList::Add(const TCodeHighlighterClass& highlighterClass) {
  for (const auto& listed : hlList)
    if (listed.ClassName == highlighterClass.ClassName) return;
  hlList.push_back(highlighterClass);
}

TCodeHighlighterList& HighlighterClassList() {
  // The form-file highlighter is listed from the start: made here on first use,
  // as a static initialiser in a library would be dropped by the linker.
  static TCodeHighlighterList list;
  static const bool formFileListed = (list.Add(TCodeDfmHighlighter::HighlighterClass()), true);
  (void)formFileListed;
  return list;
}

void AddHighlighterClass(const TCodeHighlighterClass& highlighterClass) {
  HighlighterClassList().Add(highlighterClass);
}
