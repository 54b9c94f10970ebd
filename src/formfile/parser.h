// The tokenizer of the text form.
//
// The text is scanned through a window of 4095 bytes that always ends behind
// a line feed (or at the end of the input), the way the IDE's own parser
// reads it; a line that does not fit into one window fails with "Line too
// long". The stream itself is read in larger blocks.
// The first bytes decide the encoding: a UTF-8 byte-order mark means UTF-8,
// no mark the ANSI code page, a UTF-16 mark is refused.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "rtl/exceptions.h"
#include "rtl/extended.h"
#include "rtl/object.h"
#include "rtl/streams.h"
#include "rtl/types.h"

// Token kinds; every other token is its one symbol character.
inline constexpr Char toEOF = 0;
inline constexpr Char toSymbol = 1;
inline constexpr Char toString = 2;
inline constexpr Char toInteger = 3;
inline constexpr Char toFloat = 4;
inline constexpr Char toWString = 5;

class TParser : public TObject {
 public:
  // Reads the first window and the first token.
  explicit TParser(TStream& stream);
  // Puts the stream back at the start of the current token.
  ~TParser() override;
  TParser(const TParser&) = delete;
  TParser& operator=(const TParser&) = delete;

  Char NextToken();
  Char Token() const noexcept { return FToken; }
  // For a float token: its suffix letter as written ("s", "c", "d", "f" in
  // either case), or 0 without one.
  Char FloatType() const noexcept { return FFloatType; }
  bool IsUTF8() const noexcept { return FUTF8; }
  Integer SourceLine() const noexcept { return FSourceLine; }
  // Stream offset of the current token.
  Int64 SourcePos() const noexcept { return FTokenPos; }

  // The token decoded: a string token's value, any other token's text.
  String TokenString() const;
  String TokenWideString() const { return TokenString(); }
  // The token's bytes as they stand in the text (for a string token its
  // source, quotes and codes included).
  std::string_view TokenText() const { return std::string_view(FBuffer.get() + FTokenStart, FSourcePtr - FTokenStart); }
  // A string token that is not wide: its bytes in the text's encoding.
  const std::string& TokenStringBytes() const noexcept { return FStringBytes; }
  // Whether those bytes are all ASCII.
  bool TokenStringIsASCII() const noexcept { return FStringASCII; }
  // Hands those bytes over without a copy; the parser keeps the block that
  // `bytes` held for the next string, and the token's bytes are gone.
  void TakeStringBytes(std::string& bytes) noexcept { FStringBytes.swap(bytes); }
  // Reads the next token when it is the one-character symbol `symbol`,
  // directly behind the current token or behind one space, and returns
  // true; the current token's text stays in place meanwhile. Reads nothing
  // and returns false otherwise.
  bool NextTokenIfSymbol(char symbol) noexcept {
    const char* buffer = FBuffer.get();
    size_t p = FSourcePtr;
    if (buffer[p] == ' ') ++p;
    if (buffer[p] != symbol) return false;
    FTokenStart = p;
    FTokenPos = FOrigin + static_cast<Int64>(p);
    FFloatType = 0;
    FIntExact = false;
    FToken = static_cast<Byte>(symbol);
    FSourcePtr = p + 1;
    return true;
  }
  Int64 TokenInt() const { return FIntExact ? FIntValue : ParseTokenInt(); }
  long double TokenFloat() const;
  // The float token as the extended value nearest to it.
  Extended80 TokenExtended() const;
  // An identifier token extended by "." and identifier characters that
  // follow it directly (a component reference); raises "Identifier
  // expected" when a "." is followed by no identifier.
  std::string_view TokenComponentIdent();
  // Identifier tokens compared without regard to ASCII case; `symbol` is
  // made of ASCII letters, so a byte matches a letter of it when both are
  // the same with the lower-case bit set.
  bool TokenSymbolIs(std::string_view symbol) const noexcept {
    if (FToken != toSymbol || FSourcePtr - FTokenStart != symbol.size()) return false;
    const char* text = FBuffer.get() + FTokenStart;
    for (size_t i = 0; i < symbol.size(); ++i) {
      if ((text[i] | 0x20) != (symbol[i] | 0x20)) return false;
    }
    return true;
  }

  void CheckToken(Char token) const;
  void CheckTokenSymbol(std::string_view symbol) const;
  // EParserError "<message> on line <n>".
  [[noreturn]] void Error(StringView message) const;

  // Decodes the hexadecimal digits up to "}" into the stream and makes "}"
  // the current token; "Invalid binary value" for anything but pairs of
  // digits and white space.
  void HexToBinary(TStream& stream);
  void HexToBinary(TBytes& bytes);

 private:
  void ReadBuffer();
  void SkipBlanks();
  // The rest of an identifier, a number or a string token starting at p
  // (for an identifier, behind its first character): each makes it the
  // current token.
  [[gnu::noinline]] Char ScanIdentifier(size_t p);
  [[gnu::noinline]] Char ScanNumber(size_t p);
  [[gnu::noinline]] Char ScanStringToken(size_t p);
  Char ScanString(size_t& p);
  // Length of the identifier character at p that may start (or continue) an
  // identifier, 0 when there is none.
  size_t IdentStartLength(size_t p) const;
  size_t IdentPartLength(size_t p) const;
  std::string_view TokenTextWithoutSuffix() const;
  Int64 ParseTokenInt() const;

  TStream& FStream;
  std::unique_ptr<char[]> FBuffer;
  size_t FBlockSize = 0;    // bytes the buffer holds, spare bytes not counted
  size_t FBufPtr = 0;       // end of the bytes read
  size_t FWindowStart = 0;  // where the window begins
  size_t FSourcePtr = 0;    // where scanning goes on
  size_t FSourceEnd = 0;    // end of the window; holds a zero while scanned
  size_t FTokenStart = 0;   // start of the current token in the window
  char FSaveChar = 0;       // the byte the zero at FSourceEnd stands in for
  Int64 FOrigin = 0;        // stream offset of the buffer's first byte
  Int64 FTokenPos = 0;
  Integer FSourceLine = 1;
  Char FToken = toEOF;
  Char FFloatType = 0;
  bool FUTF8 = false;
  bool FInputEnded = false;  // the stream gave nothing more
  // A decimal integer token of at most 18 digits has its value taken while
  // it is scanned.
  bool FIntExact = false;
  bool FStringASCII = true;
  Int64 FIntValue = 0;
  std::string FStringBytes;
  String FStringUnits;
};
