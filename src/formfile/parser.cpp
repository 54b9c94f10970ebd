#include "formfile/parser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "rtl/character.h"
#include "rtl/codepage.h"
#include "rtl/floattext.h"
#include "rtl/formatsettings.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

// The window holds this many bytes and one more for the zero behind them.
// Windows are cut out of a larger block read from the stream in one piece,
// so that a long input costs few reads and few moves; the block has a few
// spare bytes so that blanks and identifiers can be read several at a time.
constexpr size_t kWindowSize = 4095;
constexpr size_t kMaxBlockSize = size_t(128) << 10;
constexpr size_t kSpareBytes = 1 + 16;

// A block as large as the input (at least one window), but not larger than
// kMaxBlockSize: a small form does not pay for a large buffer.
size_t BlockSizeFor(TStream& stream) {
  Int64 remaining = stream.Size() - stream.Position();
  if (remaining <= static_cast<Int64>(kWindowSize)) return kWindowSize;
  return static_cast<size_t>(std::min<Int64>(remaining, static_cast<Int64>(kMaxBlockSize)));
}

enum CharClass : Byte {
  kOther = 0,
  kIdentStart = 1,  // letters and "_"
  kDigit = 2,
  kHex = 4,
  kFloatChar = 8,  // what continues a number: digits, ".", "e", "E", "+", "-"
};

constexpr std::array<Byte, 256> MakeClasses() {
  std::array<Byte, 256> table{};
  for (int c = 'A'; c <= 'Z'; ++c) table[c] |= kIdentStart;
  for (int c = 'a'; c <= 'z'; ++c) table[c] |= kIdentStart;
  table['_'] |= kIdentStart;
  for (int c = '0'; c <= '9'; ++c) table[c] |= kDigit | kHex | kFloatChar;
  for (int c = 'A'; c <= 'F'; ++c) table[c] |= kHex;
  for (int c = 'a'; c <= 'f'; ++c) table[c] |= kHex;
  for (char c : {'.', 'e', 'E', '+', '-'}) table[static_cast<Byte>(c)] |= kFloatChar;
  return table;
}

constexpr std::array<Byte, 256> kClasses = MakeClasses();

constexpr std::array<signed char, 256> MakeHexValues() {
  std::array<signed char, 256> table{};
  for (auto& v : table) v = -1;
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<signed char>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<signed char>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<signed char>(c - 'a' + 10);
  return table;
}

constexpr std::array<signed char, 256> kHexValues = MakeHexValues();

inline Byte ClassOf(char c) {
  return kClasses[static_cast<Byte>(c)];
}

// The end of the run of ASCII letters, digits and "_" at p, and whether the
// byte there is not ASCII. The zero that ends the window stops the run;
// reading up to 15 bytes behind it stays in the buffer's spare bytes.
inline size_t SkipASCIIIdentChars(const char* buffer, size_t p, bool& nonASCII) {
#if defined(__SSE2__)
  for (;;) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + p));
    // A byte is in [low, low + span] when its distance above low, taken
    // without sign, is at most span.
    auto inRange = [](__m128i v, char low, char span) {
      __m128i distance = _mm_sub_epi8(v, _mm_set1_epi8(low));
      return _mm_cmpeq_epi8(_mm_min_epu8(distance, _mm_set1_epi8(span)), distance);
    };
    __m128i letters = inRange(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), 'a', 'z' - 'a');
    __m128i digits = inRange(bytes, '0', '9' - '0');
    __m128i underscores = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('_'));
    auto identMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(letters, digits), underscores)));
    if (identMask != 0xFFFF) {
      // The byte that ends the run is taken from the register, not read again.
      auto run = static_cast<unsigned>(std::countr_one(identMask));
      nonASCII = (static_cast<unsigned>(_mm_movemask_epi8(bytes)) >> run) & 1;
      return p + run;
    }
    p += 16;
  }
#else
  while (ClassOf(buffer[p]) & (kIdentStart | kDigit)) ++p;
  nonASCII = static_cast<Byte>(buffer[p]) >= 0x80;
  return p;
#endif
}

// The end of the run of blanks (the bytes 1 to 32) at p, counting its line
// feeds into `line`. A line break and the indentation behind it take one or
// two reads of sixteen bytes. The zero that ends the window stops the run;
// reading up to 15 bytes behind it stays in the buffer's spare bytes.
inline size_t SkipBlankBytes(const char* buffer, size_t p, Integer& line) {
#if defined(__SSE2__)
  for (;;) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + p));
    // One less than a blank is below 32 when taken without sign.
    __m128i less = _mm_sub_epi8(bytes, _mm_set1_epi8(1));
    __m128i blank = _mm_cmpeq_epi8(_mm_min_epu8(less, _mm_set1_epi8(31)), less);
    auto blanks = static_cast<unsigned>(_mm_movemask_epi8(blank));
    auto feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
    auto run = static_cast<unsigned>(std::countr_one(blanks));
    if (run < 16) feeds &= (1u << run) - 1;
    // Seldom more than one; a count instruction is not sure to be there.
    for (; feeds != 0; feeds &= feeds - 1) ++line;
    p += run;
    if (run < 16) return p;
  }
#else
  Byte c;
  while ((c = static_cast<Byte>(buffer[p])) <= ' ' && c != 0) {
    ++p;
    if (c == '\n') ++line;
  }
  return p;
#endif
}

// The end of the bytes at p that can stand inside a quoted run: up to an
// apostrophe, a line break or the zero that ends the window (reading up to
// 15 bytes behind it stays in the buffer's spare bytes). Sets `nonASCII`
// when one of them is not ASCII.
inline size_t FindQuotedRunEnd(const char* buffer, size_t p, bool& nonASCII) {
#if defined(__SSE2__)
  for (;;) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + p));
    __m128i stops = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\'')), _mm_cmpeq_epi8(bytes, _mm_setzero_si128())),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
    auto stopMask = static_cast<unsigned>(_mm_movemask_epi8(stops));
    auto highMask = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    if (stopMask != 0) {
      auto run = static_cast<unsigned>(std::countr_zero(stopMask));
      if (highMask & ((1u << run) - 1)) nonASCII = true;
      return p + run;
    }
    if (highMask != 0) nonASCII = true;
    p += 16;
  }
#else
  for (;;) {
    char c = buffer[p];
    if (c == '\'' || c == 0 || c == '\n' || c == '\r') return p;
    if (static_cast<Byte>(c) >= 0x80) nonASCII = true;
    ++p;
  }
#endif
}

// Decodes one UTF-8 sequence at p; the zero that ends the window is never a
// continuation byte, so decoding cannot run past it. Returns its length, or 0
// for an invalid sequence.
size_t DecodeUTF8(const char* p, char32_t& cp) {
  auto b0 = static_cast<Byte>(p[0]);
  size_t need;
  Byte lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  for (size_t i = 1; i <= need; ++i) {
    auto b = static_cast<Byte>(p[i]);
    if (b < lo || b > hi) return 0;
    cp = (cp << 6) | (b & 0x3F);
    lo = 0x80;
    hi = 0xBF;
  }
  return need + 1;
}

String WidenASCII(std::string_view bytes) {
  return String(bytes.begin(), bytes.end());
}

bool IsASCIIText(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<Byte>(c) < 0x80; });
}

[[noreturn]] void RaiseInvalidInteger(std::string_view text) {
  throw EConvertError(u"''" + UTF8ToString(text) + u"'' is not a valid integer value");
}

}  // namespace

TParser::TParser(TStream& stream) : FStream(stream) {
  FOrigin = FStream.Position();
  FBlockSize = BlockSizeFor(FStream);
  FBuffer = std::make_unique<char[]>(FBlockSize + kSpareBytes);
  FBuffer[0] = 0;
  try {
    ReadBuffer();
    auto b0 = static_cast<Byte>(FBuffer[0]), b1 = static_cast<Byte>(FBuffer[1]);
    if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) Error(u"ANSI or UTF8 encoding expected");
    if (b0 == 0xEF && b1 == 0xBB && static_cast<Byte>(FBuffer[2]) == 0xBF) {
      FUTF8 = true;
      FSourcePtr = 3;
    }
    NextToken();
  } catch (...) {
    // Without a first token the stream is not put back; it stays behind the
    // window read last, as though the stream were read one window at a time.
    Int64 windowRead = static_cast<Int64>(std::min(FBufPtr - FWindowStart, kWindowSize));
    try {
      FStream.Seek(FOrigin + static_cast<Int64>(FWindowStart) + windowRead, soBeginning);
    } catch (...) {  // NOLINT(bugprone-empty-catch): the first failure is the one to report
    }
    throw;
  }
}

TParser::~TParser() {
  try {
    FStream.Seek(FTokenPos, soBeginning);
  } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw
  }
}

void TParser::Error(StringView message) const {
  throw EParserError(String(message) + u" on line " + IntToStr(FSourceLine));
}

// Starts the next window at the scanning position. When the block holds
// less than a window behind it, what is left moves to the block's front and
// the rest of the block is filled from the stream. A full window is cut
// behind its last line feed, so no token is ever split between two windows.
void TParser::ReadBuffer() {
  char* buffer = FBuffer.get();
  buffer[FSourceEnd] = FSaveChar;
  if (!FInputEnded && FBufPtr - FSourcePtr < kWindowSize) {
    FOrigin += static_cast<Int64>(FSourcePtr);
    size_t count = FBufPtr - FSourcePtr;
    if (count != 0) std::memmove(buffer, buffer + FSourcePtr, count);
    FBufPtr = count;
    FSourcePtr = 0;
    while (FBufPtr < FBlockSize) {
      Int64 read = FStream.Read(buffer + FBufPtr, static_cast<Int64>(FBlockSize - FBufPtr));
      if (read <= 0) {
        FInputEnded = true;
        break;
      }
      FBufPtr += static_cast<size_t>(read);
    }
  }
  FWindowStart = FSourcePtr;
  FSourceEnd = std::min(FBufPtr, FSourcePtr + kWindowSize);
  if (FSourceEnd - FSourcePtr == kWindowSize) {
    size_t lastFeed = std::string_view(buffer + FSourcePtr, kWindowSize).rfind('\n');
    if (lastFeed == std::string_view::npos) {
      FSourceEnd = FSourcePtr;
      FSaveChar = buffer[FSourceEnd];
      buffer[FSourceEnd] = 0;
      Error(u"Line too long");
    }
    FSourceEnd = FSourcePtr + lastFeed + 1;
  }
  FSaveChar = buffer[FSourceEnd];
  buffer[FSourceEnd] = 0;
}

void TParser::SkipBlanks() {
  for (;;) {
    const char* buffer = FBuffer.get();
    size_t p = SkipBlankBytes(buffer, FSourcePtr, FSourceLine);
    FSourcePtr = p;
    if (buffer[p] != 0) return;
    ReadBuffer();
    if (FBuffer[FSourcePtr] == 0) return;
  }
}

size_t TParser::IdentStartLength(size_t p) const {
  char c = FBuffer[p];
  if (ClassOf(c) & kIdentStart) return 1;
  if (!FUTF8 || static_cast<Byte>(c) < 0x80) return 0;
  char32_t cp;
  size_t length = DecodeUTF8(FBuffer.get() + p, cp);
  if (length == 0) return 0;
  TUnicodeCategory category = GetUnicodeCategory(cp);
  return IsLetterCategory(category) || category == ucLetterNumber ? length : 0;
}

size_t TParser::IdentPartLength(size_t p) const {
  char c = FBuffer[p];
  if (ClassOf(c) & (kIdentStart | kDigit)) return 1;
  if (!FUTF8 || static_cast<Byte>(c) < 0x80) return 0;
  char32_t cp;
  size_t length = DecodeUTF8(FBuffer.get() + p, cp);
  if (length == 0) return 0;
  switch (TUnicodeCategory category = GetUnicodeCategory(cp)) {
    case ucLetterNumber:
    case ucNonSpacingMark:
    case ucCombiningMark:
    case ucDecimalNumber:
    case ucConnectPunctuation:
    case ucFormat: return length;
    default: return IsLetterCategory(category) ? length : 0;
  }
}

Char TParser::NextToken() {
  // Nothing to skip when a token follows directly, and a single space
  // between two tokens, the most common gap, needs no call.
  size_t p = FSourcePtr;
  if (static_cast<Byte>(FBuffer[p]) <= ' ') {
    if (FBuffer[p] == ' ' && static_cast<Byte>(FBuffer[p + 1]) > ' ') {
      ++p;
    } else {
      // A line break and its indentation, the next most common gap, are
      // skipped here too; only the window's end needs the call.
      p = SkipBlankBytes(FBuffer.get(), p, FSourceLine);
      if (FBuffer[p] == 0) {
        FSourcePtr = p;
        SkipBlanks();
        p = FSourcePtr;
      }
    }
    FSourcePtr = p;
  }
  FTokenStart = p;
  FTokenPos = FOrigin + static_cast<Int64>(p);
  FFloatType = 0;
  FIntExact = false;
  // Each kind of token is scanned by a function of its own, which this one
  // jumps to: it stays small enough to need few registers.
  char c = FBuffer[p];
  if (ClassOf(c) & kIdentStart) return ScanIdentifier(p + 1);
  if (c == '-' || (ClassOf(c) & kDigit)) return ScanNumber(p);
  if (c == '\'' || c == '#') return ScanStringToken(p);
  if (static_cast<Byte>(c) >= 0x80) {
    if (size_t length = IdentStartLength(p)) return ScanIdentifier(p + length);
  }
  Char token = static_cast<Byte>(c);
  if (c == '$') {
    ++p;
    while (ClassOf(FBuffer[p]) & kHex) ++p;
    token = toInteger;
  } else if (c != 0) {
    ++p;
  }
  FSourcePtr = p;
  FToken = token;
  return token;
}

Char TParser::ScanIdentifier(size_t p) {
  const char* buffer = FBuffer.get();
  // ASCII first: identifiers are nearly always plain.
  for (;;) {
    bool nonASCII;
    p = SkipASCIIIdentChars(buffer, p, nonASCII);
    if (!nonASCII || !FUTF8) break;
    size_t part = IdentPartLength(p);
    if (part == 0) break;
    p += part;
  }
  FSourcePtr = p;
  FToken = toSymbol;
  return toSymbol;
}

Char TParser::ScanNumber(size_t p) {
  const char* buffer = FBuffer.get();
  char c = buffer[p];
  size_t digits = p + (c == '-' ? 1 : 0);
  ++p;
  UInt64 value = c == '-' ? 0 : static_cast<UInt64>(c - '0');
  while (ClassOf(buffer[p]) & kDigit) {
    value = value * 10 + static_cast<UInt64>(buffer[p] - '0');
    ++p;
  }
  Char token = toInteger;
  size_t digitsEnd = p;
  while (ClassOf(buffer[p]) & kFloatChar) {
    ++p;
    token = toFloat;
  }
  switch (buffer[p]) {
    case 's':
    case 'S':
    case 'c':
    case 'C':
    case 'd':
    case 'D':
    case 'f':
    case 'F':
      token = toFloat;
      FFloatType = static_cast<Char>(buffer[p]);
      ++p;
      break;
    default: break;
  }
  // Up to 18 digits cannot overflow.
  if (token == toInteger && digitsEnd != digits && digitsEnd - digits <= 18) {
    FIntExact = true;
    FIntValue = c == '-' ? -static_cast<Int64>(value) : static_cast<Int64>(value);
  }
  FSourcePtr = p;
  FToken = token;
  return token;
}

Char TParser::ScanStringToken(size_t p) {
  // Scanned on a copy: the position stays in a register.
  Char token = ScanString(p);
  FSourcePtr = p;
  FToken = token;
  return token;
}

// A string token: quoted runs and "#" codes without anything between them.
// The bytes of the runs stay in the text's encoding unless a code above 127
// makes the token wide; from then on every byte and code is one UTF-16 unit.
Char TParser::ScanString(size_t& p) {
  const char* buffer = FBuffer.get();
  FStringBytes.clear();
  FStringUnits.clear();
  bool wide = false;
  bool nonASCII = false;
  for (;;) {
    if (buffer[p] == '#') {
      ++p;
      std::uint32_t code = 0;
      while (ClassOf(buffer[p]) & kDigit) {
        code = code * 10 + static_cast<std::uint32_t>(buffer[p] - '0');
        ++p;
      }
      if (!wide && code > 127) {
        wide = true;
        FStringUnits.assign(FStringBytes.begin(), FStringBytes.end());
        for (Char& unit : FStringUnits) unit &= 0xFF;
      }
      if (wide) {
        FStringUnits.push_back(static_cast<Char>(code));
      } else {
        FStringBytes.push_back(static_cast<char>(code));
      }
    } else if (buffer[p] == '\'') {
      ++p;
      for (;;) {
        size_t run = p;
        p = FindQuotedRunEnd(buffer, p, nonASCII);
        if (wide) {
          for (size_t i = run; i < p; ++i) FStringUnits.push_back(static_cast<Byte>(buffer[i]));
        } else {
          FStringBytes.append(buffer + run, p - run);
        }
        if (buffer[p] != '\'') Error(u"Invalid string constant");
        if (buffer[p + 1] != '\'') {
          ++p;
          break;
        }
        if (wide) {
          FStringUnits.push_back(u'\'');
        } else {
          FStringBytes.push_back('\'');
        }
        p += 2;
      }
    } else {
      break;
    }
  }
  // Codes of a narrow string are below 128.
  FStringASCII = !nonASCII;
  return wide ? toWString : toString;
}

std::string_view TParser::TokenTextWithoutSuffix() const {
  std::string_view text = TokenText();
  if (FFloatType != 0) text.remove_suffix(1);
  return text;
}

String TParser::TokenString() const {
  if (FToken == toWString) return FStringUnits;
  std::string_view bytes = FToken == toString ? std::string_view(FStringBytes) : TokenText();
  if (IsASCIIText(bytes)) return WidenASCII(bytes);
  return FUTF8 ? UTF8ToString(bytes) : AnsiToString(bytes);
}

Int64 TParser::ParseTokenInt() const {
  std::string_view text = TokenText();
  UInt64 value = 0;
  if (!text.empty() && text[0] == '$') {
    std::string_view digits = text.substr(1);
    if (digits.empty()) RaiseInvalidInteger(text);
    for (char c : digits) {
      if (value >> 60) RaiseInvalidInteger(text);
      value = (value << 4) | static_cast<UInt64>(kHexValues[static_cast<Byte>(c)]);
    }
    return static_cast<Int64>(value);
  }
  bool negative = !text.empty() && text[0] == '-';
  std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty()) RaiseInvalidInteger(text);
  const UInt64 limit = negative ? UInt64(1) << 63 : (UInt64(1) << 63) - 1;
  for (char c : digits) {
    if (!(ClassOf(c) & kDigit)) RaiseInvalidInteger(text);
    auto digit = static_cast<UInt64>(c - '0');
    if (value > (limit - digit) / 10) RaiseInvalidInteger(text);
    value = value * 10 + digit;
  }
  return negative ? static_cast<Int64>(0 - value) : static_cast<Int64>(value);
}

long double TParser::TokenFloat() const {
  String text = WidenASCII(TokenTextWithoutSuffix());
  long double value;
  if (!TryStrToFloat(text, value, InvariantFormatSettings())) throw EConvertError(InvalidFloatMessage(text));
  return value;
}

Extended80 TParser::TokenExtended() const {
  String text = WidenASCII(TokenTextWithoutSuffix());
  Extended80 value;
  if (!TryStrToExtended80(text, value, InvariantFormatSettings())) throw EConvertError(InvalidFloatMessage(text));
  return value;
}

std::string_view TParser::TokenComponentIdent() {
  CheckToken(toSymbol);
  size_t p = FSourcePtr;
  while (FBuffer[p] == '.') {
    ++p;
    size_t length = IdentStartLength(p);
    if (length == 0) Error(u"Identifier expected");
    p += length;
    while (size_t part = IdentPartLength(p)) p += part;
  }
  FSourcePtr = p;
  return TokenText();
}

void TParser::CheckToken(Char token) const {
  if (FToken == token) return;
  switch (token) {
    case toSymbol: Error(u"Identifier expected");
    case toString:
    case toWString: Error(u"String expected");
    case toInteger:
    case toFloat: Error(u"Number expected");
    default: Error(u"''" + String(1, token) + u"'' expected");
  }
}

void TParser::CheckTokenSymbol(std::string_view symbol) const {
  if (!TokenSymbolIs(symbol)) Error(WidenASCII(symbol) + u" expected");
}

void TParser::HexToBinary(TBytes& bytes) {
  SkipBlanks();
  while (FBuffer[FSourcePtr] != '}') {
    // Pairs of digits up to the first other character, decoded in chunks.
    const char* p = FBuffer.get() + FSourcePtr;
    const char* start = p;
    Byte chunk[256];
    for (;;) {
      size_t count = 0;
      while (count < sizeof chunk) {
        int high = kHexValues[static_cast<Byte>(p[0])];
        if (high < 0) break;  // before looking behind a zero that ends the window
        int low = kHexValues[static_cast<Byte>(p[1])];
        if (low < 0) break;
        chunk[count++] = static_cast<Byte>((high << 4) | low);
        p += 2;
      }
      bytes.insert(bytes.end(), chunk, chunk + count);
      if (count < sizeof chunk) break;
    }
    if (p == start) Error(u"Invalid binary value");
    FSourcePtr += static_cast<size_t>(p - start);
    SkipBlanks();
  }
  NextToken();
}

void TParser::HexToBinary(TStream& stream) {
  TBytes bytes;
  HexToBinary(bytes);
  stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}
