// The highlighter of the text form of form files: the words object,
// inherited, inline and end as keys, quoted strings and character codes as
// strings, decimal and "$" hexadecimal numbers, the punctuation of property
// values as symbols, and brace comments, which may run over several lines.
#pragma once

#include "codeedit/highlighter.h"

class TCodeDfmHighlighter : public TCodeCustomHighlighter {
 public:
  enum TRangeState : Byte { rsANil, rsComment, rsUnKnown };
  enum TtkTokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown };

  TCodeDfmHighlighter();

  // The class as the highlighter class list knows it.
  static TCodeHighlighterClass HighlighterClass();

  TCodeHighlighterAttributes* GetDefaultAttribute(Integer index) const override;
  bool DefaultFilterStored() const override;
  String SampleSource() const override;
  String GetLanguageName() const override;
  String GetFriendlyLanguageName() const override;
  String ClassName() const override { return u"TCodeDfmHighlighter"; }

  bool GetEol() const override { return Run == fLineLen + 1; }
  void Next() override;
  TCodeRange GetRange() const override { return fRange; }
  void SetRange(TCodeRange value) override { fRange = static_cast<TRangeState>(value & 0xFF); }
  void ResetRange() override { fRange = rsUnKnown; }
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  Integer GetTokenKind() const override { return FTokenID; }
  TtkTokenKind TokenID() const noexcept { return FTokenID; }

  TCodeHighlighterAttributes* CommentAttri() const noexcept { return fCommentAttri; }
  TCodeHighlighterAttributes* IdentifierAttri() const noexcept { return fIdentifierAttri; }
  TCodeHighlighterAttributes* KeyAttri() const noexcept { return fKeyAttri; }
  TCodeHighlighterAttributes* NumberAttri() const noexcept { return fNumberAttri; }
  TCodeHighlighterAttributes* SpaceAttri() const noexcept { return fSpaceAttri; }
  TCodeHighlighterAttributes* StringAttri() const noexcept { return fStringAttri; }
  TCodeHighlighterAttributes* SymbolAttri() const noexcept { return fSymbolAttri; }

 protected:
  bool IsInstanceOfMyClass(const TCodeCustomHighlighter& other) const override;

 private:
  TCodeHighlighterAttributes* MakeAttribute(const char16_t* name, TFontStyles style);
  void CommentProc();
  void NumberProc();
  void StringProc();
  void SpaceProc();
  void IdentProc();
  bool IsKeyAt(StringView keyword);

  TRangeState fRange = rsUnKnown;
  TtkTokenKind FTokenID = tkNull;
  TCodeHighlighterAttributes* fCommentAttri = nullptr;
  TCodeHighlighterAttributes* fIdentifierAttri = nullptr;
  TCodeHighlighterAttributes* fKeyAttri = nullptr;
  TCodeHighlighterAttributes* fNumberAttri = nullptr;
  TCodeHighlighterAttributes* fSpaceAttri = nullptr;
  TCodeHighlighterAttributes* fStringAttri = nullptr;
  TCodeHighlighterAttributes* fSymbolAttri = nullptr;
};
