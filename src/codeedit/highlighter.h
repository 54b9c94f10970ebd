// The highlighter framework: a highlighter splits one line at a time into
// tokens with a kind and a display attribute and reports the range state at
// the end of the line, which the editor stores with the line so that scanning
// can resume at any line.
//
// Attribute colours and styles are set in code or by forms; persistence in
// the registry, in INI files and the import of the IDE's colour settings are
// not part of this system.
#pragma once

#include <memory>
#include <vector>

#include "codeedit/chains.h"
#include "codeedit/types.h"
#include "rtl/events.h"
#include "rtl/object.h"
#include "rtl/uitypes.h"

class TStrings;

class TCodeHighlighterAttributes : public TObject {
 public:
  TCodeHighlighterAttributes(String aName, String aFriendlyName);

  TColor Background() const noexcept { return fBackground; }
  void SetBackground(TColor value);
  TColor Foreground() const noexcept { return fForeground; }
  void SetForeground(TColor value);
  TFontStyles Style() const noexcept { return fStyle; }
  void SetStyle(TFontStyles value);
  // The style as bits: 1 bold, 2 italic, 4 underline, 8 strike-out.
  Integer IntegerStyle() const noexcept { return static_cast<Integer>(fStyle.Bits()); }
  void SetIntegerStyle(Integer value) { SetStyle(TFontStyles::FromBits(static_cast<std::uint64_t>(value) & 15)); }
  // Both colours with one notification.
  void SetColors(TColor foreground, TColor background);

  const String& Name() const noexcept { return fName; }
  const String& FriendlyName() const noexcept { return fFriendlyName; }

  // Streamed only when they differ from the values recorded as defaults.
  bool BackgroundStored() const noexcept { return fBackground != fBackgroundDefault; }
  bool ForegroundStored() const noexcept { return fForeground != fForegroundDefault; }
  bool StyleStored() const noexcept { return fStyle != fStyleDefault; }
  // Records the current colours and style as the defaults.
  void InternalSaveDefaultValues();

  // Copies the name, then colours and style (one notification when any changed).
  void Assign(const TCodeHighlighterAttributes& source);
  void AssignColorAndStyle(const TCodeHighlighterAttributes& source);

  const TNotifyEvent& OnChange() const noexcept { return fOnChange; }
  void SetOnChange(TNotifyEvent handler) { fOnChange = std::move(handler); }

 protected:
  virtual void NotifyChange();

 private:
  TColor fBackground = clNone;
  TColor fBackgroundDefault = clNone;
  TColor fForeground = clNone;
  TColor fForegroundDefault = clNone;
  String fFriendlyName;
  String fName;
  TFontStyles fStyle;
  TFontStyles fStyleDefault;
  TNotifyEvent fOnChange;
};

// Options that forms set on a highlighter; nothing in the system reads them.
class TCodeEditHighlighterOptions : public TObject {
 public:
  void Assign(const TCodeEditHighlighterOptions& source);
  void AssignTo(TCodeEditHighlighterOptions& dest) const { dest.Assign(*this); }

  bool AutoDetectEnabled = false;
  Cardinal AutoDetectLineLimit = 0;
  String AutoDetectMatchExpression;
  String DefaultExtension;
  String LineCommentarEnd;
  String LineCommentarStart;
  String Title;
  bool Visible = false;
};

enum THighlighterCapability { hcUserSettings, hcRegistry };
using THighlighterCapabilities = TSet<THighlighterCapability>;

// Indexes of GetDefaultAttribute.
inline constexpr Integer CODE_ATTR_COMMENT = 0;
inline constexpr Integer CODE_ATTR_IDENTIFIER = 1;
inline constexpr Integer CODE_ATTR_KEYWORD = 2;
inline constexpr Integer CODE_ATTR_STRING = 3;
inline constexpr Integer CODE_ATTR_WHITESPACE = 4;
inline constexpr Integer CODE_ATTR_SYMBOL = 5;

class TCodeCustomHighlighter : public TObject {
 public:
  TCodeCustomHighlighter();
  ~TCodeCustomHighlighter() override;
  TCodeCustomHighlighter(const TCodeCustomHighlighter&) = delete;
  TCodeCustomHighlighter& operator=(const TCodeCustomHighlighter&) = delete;

  // ---- Attributes ----
  virtual Integer AttrCount() const;
  // In the order of their names (case ignored); nil outside the range.
  virtual TCodeHighlighterAttributes* AttributeAt(Integer index) const;
  virtual TCodeHighlighterAttributes* GetDefaultAttribute(Integer index) const = 0;
  TCodeHighlighterAttributes* CommentAttribute() const { return GetDefaultAttribute(CODE_ATTR_COMMENT); }
  TCodeHighlighterAttributes* IdentifierAttribute() const { return GetDefaultAttribute(CODE_ATTR_IDENTIFIER); }
  TCodeHighlighterAttributes* KeywordAttribute() const { return GetDefaultAttribute(CODE_ATTR_KEYWORD); }
  TCodeHighlighterAttributes* StringAttribute() const { return GetDefaultAttribute(CODE_ATTR_STRING); }
  TCodeHighlighterAttributes* WhitespaceAttribute() const { return GetDefaultAttribute(CODE_ATTR_WHITESPACE); }
  TCodeHighlighterAttributes* SymbolAttribute() const { return GetDefaultAttribute(CODE_ATTR_SYMBOL); }

  // Observers of attribute changes (the editors using this highlighter).
  void HookAttrChangeEvent(const TNotifyEvent& handler) { fAttrChangeHooks.Add(handler); }
  void UnhookAttrChangeEvent(const TNotifyEvent& handler) { fAttrChangeHooks.Remove(handler); }
  // Counted; the outermost EndUpdate delivers one pending change.
  void BeginUpdate();
  void EndUpdate();

  // Loading from a form: changes are not reported while loading; Loaded
  // reports one afterwards.
  void BeginLoading() noexcept { fLoading = true; }
  virtual void Loaded();
  bool Loading() const noexcept { return fLoading; }

  // Copies attributes by name, the sample source (from this class or a
  // descendant), DefaultFilter and Enabled.
  virtual void Assign(const TCodeCustomHighlighter& source);

  bool Enabled() const noexcept { return fEnabled; }
  void SetEnabled(bool value);
  virtual String DefaultFilter() const { return fDefaultFilter; }
  virtual void SetDefaultFilter(const String& value) { fDefaultFilter = value; }
  virtual bool DefaultFilterStored() const { return true; }
  virtual String SampleSource() const { return {}; }
  virtual void SetSampleSource(const String&) {}
  virtual THighlighterCapabilities GetCapabilities() const { return {hcRegistry}; }
  virtual String GetLanguageName() const { return u"<Unknown>"; }
  virtual String GetFriendlyLanguageName() const { return u"<Unknown>"; }
  // The class name, for ExportName.
  virtual String ClassName() const { return u"TCodeCustomHighlighter"; }
  // The class name without "T" (or "TCode") and "Highlighter".
  const String& ExportName() const;
  TCodeEditHighlighterOptions& Options() noexcept { return *FOptions; }
  void SetOptions(const TCodeEditHighlighterOptions& value) { FOptions->Assign(value); }
  virtual bool UseUserSettings(Integer) { return false; }
  // The named colour settings a highlighter offers; none here.
  virtual void EnumUserSettings(TStrings& settings);

  const TCodeCharSet& AdditionalIdentChars() const noexcept { return FAdditionalIdentChars; }
  void SetAdditionalIdentChars(const TCodeCharSet& value) { FAdditionalIdentChars = value; }
  const TCodeCharSet& AdditionalWordBreakChars() const noexcept { return FAdditionalWordBreakChars; }
  void SetAdditionalWordBreakChars(const TCodeCharSet& value) { FAdditionalWordBreakChars = value; }

  // ---- Scanning ----
  // The first token is ready afterwards.
  virtual void SetLine(StringView newValue, Integer lineNumber);
  // With the line's display form as well: `newValue` is the display form
  // without its fillers (tabs expanded), `expandedLine` the display form.
  virtual void SetLineExpandedAtWideGlyphs(StringView newValue, StringView expandedLine, Integer lineNumber);
  virtual bool GetEol() const = 0;
  // Advances the display position over the characters the last token took;
  // a concrete class scans one token and then calls this.
  virtual void Next();
  void NextToEol();
  virtual TCodeRange GetRange() const { return 0; }
  virtual void SetRange(TCodeRange) {}
  virtual void ResetRange() {}
  // The token with the case of the line as passed in.
  virtual String GetToken() const;
  virtual Integer GetTokenPos() const { return fTokenPos; }
  virtual TCodeHighlighterAttributes* GetTokenAttribute() const = 0;
  virtual Integer GetTokenKind() const = 0;
  virtual String GetExpandedToken() const;
  virtual Integer GetExpandedTokenPos() const;
  // The display index reached after `pos` characters of the line.
  Integer PosToExpandedPos(Integer pos) const;
  virtual String GetKeyWords(Integer) const { return {}; }
  virtual bool IsKeyword(StringView) const { return false; }

  // ---- Character classes ----
  virtual bool IsIdentChar(Char c) const;
  virtual bool IsWhiteChar(Char c) const;
  virtual bool IsWordBreakChar(Char c) const;

 protected:
  // Takes the attribute over, listed under its name.
  void AddAttribute(std::unique_ptr<TCodeHighlighterAttributes> attribute);
  void FreeAttributes();
  // Every attribute reports to AttributeChanged; its current values become its defaults.
  void WireAttributeEvents();
  void AttributeChanged(TObject* sender);
  virtual bool IsInstanceOfMyClass(const TCodeCustomHighlighter& other) const;

  virtual void PrepareLine(StringView newValue, Integer lineNumber);
  // The identifier under test (fToIdent, fStringLen) equals the text exactly.
  virtual bool TokenEquals(StringView value) const;
  // True at or past the end of the line, or on LF or CR.
  virtual bool AtLineEnd(Integer index) const;
  // The character of the scanned line at `index`, NUL at and past its end.
  Char LineChar(Integer index) const {
    return index >= 0 && index < fLineLen ? fLineStr[static_cast<size_t>(index)] : Char{0};
  }

  bool fCaseSensitive = false;
  String fCasedLineStr;  // the line as passed in
  String fExpandedLineStr;
  bool fHasExpandedLine = false;
  Integer fExpandedLineLen = 0;
  Integer fExpandedTokenPos = 0;
  String fLineStr;  // the line scanned: lower-cased unless case sensitive
  Integer fLineLen = 0;
  Integer fLineNumber = 0;
  Integer fStringLen = 0;
  Integer fToIdent = 0;
  Integer fTokenPos = 0;
  Integer Run = 0;
  Integer ExpandedRun = 0;
  Integer fOldRun = 0;

 private:
  std::vector<std::unique_ptr<TCodeHighlighterAttributes>> fAttributes;
  TCodeNotifyEventChain fAttrChangeHooks;
  Integer fUpdateCount = 0;
  bool fEnabled = true;
  bool fUpdateChange = false;
  bool fLoading = false;
  TCodeCharSet FAdditionalWordBreakChars;
  TCodeCharSet FAdditionalIdentChars;
  mutable String FExportName;
  std::unique_ptr<TCodeEditHighlighterOptions> FOptions;
  String fDefaultFilter;
};

// A highlighter class as the class list knows it.
struct TCodeHighlighterClass {
  String ClassName;
  String LanguageName;
  String FriendlyLanguageName;
  std::unique_ptr<TCodeCustomHighlighter> (*Create)();
  bool (*IsInstance)(const TCodeCustomHighlighter& highlighter);
};

class TCodeHighlighterList : public TObject {
 public:
  Integer Count() const noexcept { return static_cast<Integer>(hlList.size()); }
  const TCodeHighlighterClass& ClassAt(Integer index) const { return hlList.at(static_cast<size_t>(index)); }
  // The first class the highlighter is an instance of, or -1.
  Integer FindByClass(const TCodeCustomHighlighter& comp) const;
  Integer FindByName(StringView name) const;
  Integer FindByFriendlyName(StringView name) const;
  // A class already listed (by class name) is ignored.
  void Add(const TCodeHighlighterClass& highlighterClass);

 private:
  std::vector<TCodeHighlighterClass> hlList;
};

// The process's list of highlighter classes; the program adds its classes
// at start-up (AddHighlighterClass).
TCodeHighlighterList& HighlighterClassList();
void AddHighlighterClass(const TCodeHighlighterClass& highlighterClass);
