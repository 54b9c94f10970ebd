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
  // Hands those bytes over without a copy; the parser keeps the block that
  // `bytes` held for the next string, and the token's bytes are gone.
  void TakeStringBytes(std::string& bytes) noexcept { FStringBytes.swap(bytes); }
  // Whether the next token is the symbol `symbol` and starts in the current
  // window: the current token's text then stays in place while it is read.
  bool NextTokenIs(char symbol) const noexcept {
    const char* p = FBuffer.get() + FSourcePtr;
    while (static_cast<Byte>(*p) <= ' ' && *p != 0) ++p;
    return *p == symbol;
  }
  Int64 TokenInt() const;
  long double TokenFloat() const;
  // The float token as the extended value nearest to it.
  Extended80 TokenExtended() const;
  // An identifier token extended by "." and identifier characters that
  // follow it directly (a component reference); raises "Identifier
  // expected" when a "." is followed by no identifier.
  std::string_view TokenComponentIdent();
  // Identifier tokens compared without regard to ASCII case.
  bool TokenSymbolIs(std::string_view symbol) const;

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
  Char ScanString(size_t& p);
  // Length of the identifier character at p that may start (or continue) an
  // identifier, 0 when there is none.
  size_t IdentStartLength(size_t p) const;
  size_t IdentPartLength(size_t p) const;
  std::string_view TokenTextWithoutSuffix() const;

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
  std::string FStringBytes;
  String FStringUnits;
};
