#include "formfile/formconvert.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "classes/filer.h"
#include "formfile/parser.h"
#include "rtl/codepage.h"
#include "rtl/files_platform.h"
#include "rtl/floattext.h"
#include "rtl/formatsettings.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

constexpr std::string_view kUTF8BOM = "\xEF\xBB\xBF";
// A string value is cut into lines of this many characters, and binary data
// into rows of half as many bytes.
constexpr size_t kLineLength = 64;
constexpr size_t kBinaryRowBytes = 32;

// The binary stream is written, and a stream that is not in memory read,
// through buffers of this size: few calls to the streams, and still well
// inside the processor's caches.
constexpr Integer kStreamBlockSize = 64 << 10;

bool IsASCII(std::string_view bytes) {
  Byte any = 0;
  for (char c : bytes) any |= static_cast<Byte>(c);
  return any < 0x80;
}

constexpr std::array<char, 512> MakeHexPairs() {
  std::array<char, 512> pairs{};
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < 256; ++i) {
    pairs[2 * i] = kDigits[i >> 4];
    pairs[2 * i + 1] = kDigits[i & 15];
  }
  return pairs;
}

constexpr std::array<char, 512> kHexPairs = MakeHexPairs();

// Whole numbers, nearly every float a form holds, convert exactly in both
// directions and need none of the general decimal conversion. Written with
// 16 significant digits, a whole number of up to 15 digits is its digits and
// the 18 zeros of the fixed format.
constexpr UInt64 kMaxWrittenWhole = 999'999'999'999'999;
constexpr std::string_view kFixedFraction = ".000000000000000000";

// A nonzero whole number below 2^63 stored in an extended value.
bool IsWholeExtended(const Extended80& value, UInt64& magnitude) {
  int exponent = value.BiasedExponent() - Extended80::kExponentBias;
  UInt64 significand = value.Significand();
  if (exponent < 0 || exponent > 62 || !(significand >> 63)) return false;
  int fractionBits = 63 - exponent;
  if (fractionBits > 0 && (significand << (64 - fractionBits)) != 0) return false;
  magnitude = significand >> fractionBits;
  return true;
}

Extended80 WholeExtended(bool negative, UInt64 magnitude) {
  int shift = std::countl_zero(magnitude);
  return Extended80::FromParts(negative, Extended80::kExponentBias + 63 - shift, magnitude << shift);
}

// Text such as "-12.000": a nonzero whole number of at most 18 digits with a
// fraction of zeros and no exponent.
bool ParseWholeFloat(std::string_view text, bool& negative, UInt64& magnitude) {
  negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  size_t point = text.find('.');
  if (point == 0 || point > 18 || point == std::string_view::npos || point + 1 == text.size()) return false;
  magnitude = 0;
  for (char c : text.substr(0, point)) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + static_cast<UInt64>(c - '0');
  }
  for (char c : text.substr(point + 1)) {
    if (c != '0') return false;
  }
  return magnitude != 0;
}

// The text under construction, in a block of its own or, when the output is
// a stream in memory, in place at the output's end. Its own block grows by a
// quarter at a time instead of doubling: a large form's text is held twice at
// the end, here and in the output, and doubling would leave up to as much
// again unused. In place, the output grows by small steps, each cleared while
// it is still in the cache, and what is not committed is taken away again.
class TTextBuffer {
 public:
  explicit TTextBuffer(TMemoryStream* output) : FOutput(output), FStart(output ? Unsigned(output->Size()) : 0) {}
  TTextBuffer(const TTextBuffer&) = delete;
  TTextBuffer& operator=(const TTextBuffer&) = delete;
  ~TTextBuffer() {
    if (FOutput == nullptr || FCommitted) return;
    try {
      FOutput->SetSize(static_cast<Int64>(FStart));
    } catch (...) {  // NOLINT(bugprone-empty-catch): shrinking does not fail; a destructor must not throw
    }
  }

  bool InPlace() const { return FOutput != nullptr; }
  void reserve(size_t capacity) {
    if (FOutput != nullptr) {
      FOutput->SetCapacity(static_cast<Int64>(FStart + capacity));
    } else if (capacity > FCapacity) {
      Reallocate(capacity);
    }
  }
  size_t size() const { return FSize; }
  const char* data() const { return FText; }

  void push_back(char c) {
    Ensure(1);
    FText[FSize++] = c;
  }
  void append(std::string_view text) {
    char* to = Extend(text.size());
    // Most appends are a few bytes long: a loop beats a call.
    if (text.size() <= 16) {
      for (char c : text) *to++ = c;
    } else {
      std::memcpy(to, text.data(), text.size());
    }
  }
  void append(const char* first, const char* last) { append(std::string_view(first, last - first)); }
  void append(size_t count, char c) {
    char* to = Extend(count);
    for (size_t i = 0; i < count; ++i) to[i] = c;
  }
  // Room for `count` more bytes, to be filled by the caller.
  char* Extend(size_t count) {
    Ensure(count);
    char* at = FText + FSize;
    FSize += count;
    return at;
  }

  // In place: puts `prefix` in front of the text, which ends the output,
  // and leaves the output's position at its end.
  void Commit(std::string_view prefix) {
    if (!prefix.empty()) {
      Extend(prefix.size());
      std::memmove(FText + prefix.size(), FText, FSize - prefix.size());
      std::memcpy(FText, prefix.data(), prefix.size());
    }
    FOutput->SetSize(static_cast<Int64>(FStart + FSize));
    FOutput->Seek(0, soEnd);
    FCommitted = true;
  }

 private:
  static size_t Unsigned(Int64 size) { return static_cast<size_t>(size); }

  void Ensure(size_t count) {
    if (FCapacity - FSize >= count) return;
    constexpr size_t kInPlaceStep = 64 << 10;
    Reallocate(std::max(FSize + count, FCapacity + (FOutput != nullptr ? kInPlaceStep : FCapacity / 4 + 4096)));
  }
  void Reallocate(size_t capacity) {
    if (FOutput != nullptr) {
      FOutput->SetSize(static_cast<Int64>(FStart + capacity));
      FText = reinterpret_cast<char*>(FOutput->Memory()) + FStart;
      FCapacity = capacity;
      return;
    }
    std::unique_ptr<char[]> data;
    try {
      data = std::make_unique_for_overwrite<char[]>(capacity);
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory(u"Out of memory");
    }
    files_platform::PreferLargePages(data.get(), capacity);
    if (FSize > 0) std::memcpy(data.get(), FText, FSize);
    FOwned = std::move(data);
    FText = FOwned.get();
    FCapacity = capacity;
  }

  TMemoryStream* FOutput;
  size_t FStart;  // where the text starts in the output
  bool FCommitted = false;
  std::unique_ptr<char[]> FOwned;
  char* FText = nullptr;
  size_t FSize = 0;
  size_t FCapacity = 0;
};

// ---- Binary to text ----

// Reads another stream ahead in large blocks and answers the questions for
// its position and size itself: the reader asks how many bytes remain before
// every string it reads, which a file would answer with system calls each
// time. On destruction the other stream is put at the position reached here.
class TReadAheadStream : public TStream {
 public:
  explicit TReadAheadStream(TStream& source)
      : FSource(source),
        FBlock(std::make_unique_for_overwrite<Byte[]>(kStreamBlockSize)),
        FBlockStart(source.Position()),
        FSourcePos(FBlockStart),
        FSize(source.Size()) {}
  TReadAheadStream(const TReadAheadStream&) = delete;
  TReadAheadStream& operator=(const TReadAheadStream&) = delete;
  ~TReadAheadStream() override {
    try {
      FSource.Seek(FBlockStart + FBlockPos, soBeginning);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw
    }
  }

  Int64 Read(void* buffer, Int64 count) override {
    auto* out = static_cast<Byte*>(buffer);
    Int64 moved = 0;
    while (moved < count) {
      if (FBlockPos == FBlockEnd && !Fill()) break;
      Int64 chunk = std::min<Int64>(FBlockEnd - FBlockPos, count - moved);
      std::memcpy(out + moved, FBlock.get() + FBlockPos, static_cast<size_t>(chunk));
      FBlockPos += chunk;
      moved += chunk;
    }
    return moved;
  }
  Int64 Write(const void* /*buffer*/, Int64 /*count*/) override { return 0; }
  Int64 Seek(Int64 offset, TSeekOrigin origin) override {
    Int64 target = offset;
    if (origin == soCurrent) target += FBlockStart + FBlockPos;
    if (origin == soEnd) target += FSize;
    if (target >= FBlockStart && target <= FBlockStart + FBlockEnd) {
      FBlockPos = target - FBlockStart;
      return target;
    }
    // Outside the block: the other stream decides.
    FSourcePos = FSource.Seek(target, soBeginning);
    FBlockStart = FSourcePos;
    FBlockPos = FBlockEnd = 0;
    return FSourcePos;
  }
  Int64 Size() override { return FSize; }

 private:
  bool Fill() {
    FBlockStart += FBlockEnd;
    FBlockPos = FBlockEnd = 0;
    if (FSourcePos != FBlockStart) FSourcePos = FSource.Seek(FBlockStart, soBeginning);
    Int64 read = FSource.Read(FBlock.get(), kStreamBlockSize);
    if (read <= 0) return false;
    FSourcePos += read;
    FBlockEnd = read;
    return true;
  }

  TStream& FSource;
  std::unique_ptr<Byte[]> FBlock;
  Int64 FBlockStart;  // position in the other stream of the block's first byte
  Int64 FBlockPos = 0;
  Int64 FBlockEnd = 0;
  Int64 FSourcePos;  // where the other stream stands
  Int64 FSize;
};

class TBinaryToText {
 public:
  // Without `inPlace`, the text is built in memory of its own and written
  // to the output when complete.
  TBinaryToText(TReader& reader, TMemoryStream* inPlace) : FReader(reader), FText(inPlace) {}

  void Reserve(size_t capacity) { FText.reserve(capacity); }

  void Convert() {
    // Room for a byte-order mark, so that the output receives everything in one write.
    if (!FText.InPlace()) FText.append(kUTF8BOM);
    FReader.ReadSignature();
    ConvertObject(0);
  }

  void Finish(TStream& output) {
    if (FText.InPlace()) {
      FText.Commit(FNeedsBOM ? kUTF8BOM : std::string_view());
      return;
    }
    size_t start = FNeedsBOM ? 0 : kUTF8BOM.size();
    output.WriteBuffer(FText.data() + start, static_cast<Int64>(FText.size() - start));
  }

 private:
  void Indent() { FText.append(2 * FLevel, ' '); }
  void NewLine() {
    FText.append("\r\n");
    Indent();
  }
  void EndLine() { FText.append("\r\n"); }

  template <typename T>
  void WriteNumber(T value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    FText.append(digits, result.ptr);
  }

  void WriteASCII(const String& text) {
    for (Char c : text) FText.push_back(static_cast<char>(c));
  }

  // Names and identifiers are UTF-8; invalid sequences come out as U+FFFD.
  void WriteName(std::string_view bytes) {
    if (IsASCII(bytes)) {
      FText.append(bytes);
      return;
    }
    FText.append(StringToUTF8(UTF8ToString(bytes)));
    FNeedsBOM = true;
  }

  void CheckDepth(int depth) {
    if (depth > kMaxFormNesting) TReader::FormatError();
  }

  void ConvertObject(int depth) {
    CheckDepth(depth);
    TFilerFlags flags;
    Integer position;
    FReader.ReadPrefix(flags, position);
    FClassName.assign(FReader.ReadStrView());
    std::string_view objectName = FReader.ReadStrView();
    FObjectName.assign(objectName.empty() ? std::string_view(FClassName) : objectName);
    Indent();
    if (flags & ffInherited) {
      FText.append("inherited ");
    } else if (flags & ffInline) {
      FText.append("inline ");
    } else {
      FText.append("object ");
    }
    if (!objectName.empty()) {
      WriteName(objectName);
      FText.append(": ");
    }
    WriteName(FClassName);
    if (flags & ffChildPos) {
      FText.append(" [");
      WriteNumber(position);
      FText.push_back(']');
    }
    EndLine();
    ++FLevel;
    while (!FReader.EndOfList()) ConvertProperty(depth);
    FReader.ReadListEnd();
    while (!FReader.EndOfList()) ConvertObject(depth + 1);
    FReader.ReadListEnd();
    --FLevel;
    Indent();
    FText.append("end\r\n");
  }

  void ConvertProperty(int depth) {
    Indent();
    std::string_view name = FReader.ReadStrView();
    FPropName.assign(name);
    WriteName(name);
    FText.append(" = ");
    ConvertValue(depth + 1);
    EndLine();
  }

  void ConvertValue(int depth) {
    CheckDepth(depth);
    TValueType tag = FReader.NextValue();
    switch (tag) {
      case vaList:
        FReader.ReadValue();
        FText.push_back('(');
        ++FLevel;
        while (!FReader.EndOfList()) {
          NewLine();
          ConvertValue(depth + 1);
        }
        FReader.ReadListEnd();
        --FLevel;
        FText.push_back(')');
        return;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64: WriteNumber(FReader.ReadInt64()); return;
      case vaExtended:
      case vaDouble: {
        Extended80 value = FReader.ReadExtended();
        UInt64 whole;
        if (IsWholeExtended(value, whole) && whole <= kMaxWrittenWhole) {
          if (value.Negative()) FText.push_back('-');
          WriteNumber(whole);
          FText.append(kFixedFraction);
        } else {
          WriteASCII(FloatToStrF(value, ffFixed, 16, 18, InvariantFormatSettings()));
        }
        return;
      }
      case vaSingle:
        WriteASCII(FloatToStrF(FReader.ReadSingle(), ffGeneral, 15, 0, InvariantFormatSettings()));
        FText.push_back('s');
        return;
      case vaDate:
        WriteASCII(FloatToStrF(FReader.ReadDate(), ffGeneral, 15, 0, InvariantFormatSettings()));
        FText.push_back('d');
        return;
      case vaCurrency:
        WriteASCII(FloatToStrF(static_cast<long double>(FReader.ReadCurrency().Scaled()), ffGeneral, 15, 0,
                               InvariantFormatSettings()));
        FText.push_back('c');
        return;
      case vaFalse:
        FReader.ReadValue();
        FText.append("False");
        return;
      case vaTrue:
        FReader.ReadValue();
        FText.append("True");
        return;
      case vaNil:
        FReader.ReadValue();
        FText.append("nil");
        return;
      case vaNull:
        FReader.ReadValue();
        FText.append("Null");
        return;
      case vaIdent:
        FReader.ReadValue();
        WriteName(FReader.ReadStrView());
        return;
      case vaString:
      case vaLString: {
        FReader.ReadValue();
        UInt64 length = tag == vaString ? FReader.ReadByte() : ReadCount();
        if (length > static_cast<UInt64>(FReader.Remaining())) TReader::ReadError();
        AnsiString bytes(static_cast<size_t>(length), '\0');
        FReader.Read(bytes.data(), static_cast<Int64>(length));
        WriteAnsiString(bytes);
        return;
      }
      case vaWString:
      case vaUTF8String: WriteWideString(FReader.ReadWideString()); return;
      case vaSet: {
        FReader.ReadValue();
        FText.push_back('[');
        bool first = true;
        for (;;) {
          std::string_view name = FReader.ReadStrView();
          if (name.empty()) break;
          if (!first) FText.append(", ");
          FText.append(name);
          first = false;
        }
        FText.push_back(']');
        return;
      }
      case vaCollection: ConvertCollection(depth); return;
      case vaBinary: ConvertBinary(); return;
    }
    throw EReadError(u"Error reading " + UTF8ToString(FObjectName) + u"." + UTF8ToString(FPropName) + u": " +
                     IntToStr(static_cast<Integer>(tag)));
  }

  UInt64 ReadCount() {
    Byte bytes[4];
    FReader.Read(bytes, 4);
    return UInt64(bytes[0]) | UInt64(bytes[1]) << 8 | UInt64(bytes[2]) << 16 | UInt64(bytes[3]) << 24;
  }

  void ConvertCollection(int depth) {
    FReader.ReadValue();
    FText.push_back('<');
    ++FLevel;
    while (!FReader.EndOfList()) {
      NewLine();
      FText.append("item");
      TValueType next = FReader.NextValue();
      if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
        FText.append(" [");
        WriteNumber(FReader.ReadInteger());
        FText.push_back(']');
      }
      EndLine();
      FReader.CheckValue(vaList);
      ++FLevel;
      while (!FReader.EndOfList()) ConvertProperty(depth + 1);
      FReader.ReadListEnd();
      --FLevel;
      Indent();
      FText.append("end");
    }
    FReader.ReadListEnd();
    --FLevel;
    FText.push_back('>');
  }

  void ConvertBinary() {
    FReader.ReadValue();
    UInt64 count = ReadCount();
    if (count > static_cast<UInt64>(FReader.Remaining())) TReader::ReadError();
    FText.push_back('{');
    ++FLevel;
    Byte row[kBinaryRowBytes];
    bool ownLines = count >= kBinaryRowBytes;
    while (count > 0) {
      size_t part = static_cast<size_t>(std::min<UInt64>(count, kBinaryRowBytes));
      FReader.Read(row, static_cast<Int64>(part));
      if (ownLines) NewLine();
      char* out = FText.Extend(2 * part);
      for (size_t i = 0; i < part; ++i) {
        std::memcpy(out + 2 * i, &kHexPairs[2 * row[i]], 2);
      }
      count -= part;
    }
    --FLevel;
    FText.push_back('}');
  }

  // Cuts a string into quoted runs and "#" codes, at most 64 characters to a
  // line. `isRunChar` says which units may stand inside apostrophes.
  template <typename Unit, typename IsRunChar, typename WriteRun, typename IsTrailAt>
  void WriteStringRuns(const Unit* text, size_t length, IsRunChar isRunChar, WriteRun writeRun, IsTrailAt isTrailAt) {
    if (length == 0) {
      FText.append("''");
      return;
    }
    ++FLevel;
    if (length > kLineLength) NewLine();
    size_t lineStart = 0;
    size_t i = 0;
    while (i < length) {
      bool lineFull = false;
      if (!isRunChar(text[i])) {
        FText.push_back('#');
        WriteNumber(static_cast<unsigned>(text[i]));
        ++i;
      } else {
        size_t end = i + 1;
        while (end < length && isRunChar(text[end]) && end - lineStart < kLineLength) ++end;
        // A double-byte character is not cut between two lines: it starts
        // the next line instead, and this one ends a position short.
        if (end - lineStart >= kLineLength && end < length && end - 1 > i && isTrailAt(end)) {
          --end;
          lineFull = true;
        }
        FText.push_back('\'');
        writeRun(i, end);
        FText.push_back('\'');
        i = end;
      }
      if ((lineFull || i - lineStart >= kLineLength) && i < length) {
        FText.append(" +");
        NewLine();
        lineStart = i;
      }
    }
    --FLevel;
  }

  void WriteAnsiString(const AnsiString& bytes) {
    auto isRunChar = [](char c) { return static_cast<Byte>(c) >= 32 && c != '\''; };
    auto writeRun = [&](size_t from, size_t to) { FText.append(std::string_view(bytes).substr(from, to - from)); };
    Word codePage = CurrentCodePage();
    bool singleByte = IsSingleByteCodePage(codePage);
    // Walks character boundaries from the start; positions asked for only grow.
    size_t boundary = 0;
    auto isTrailAt = [&](size_t position) {
      if (singleByte) return false;
      while (boundary < position) boundary += IsLeadByte(static_cast<Byte>(bytes[boundary]), codePage) ? 2 : 1;
      return boundary > position;
    };
    WriteStringRuns(bytes.data(), bytes.size(), isRunChar, writeRun, isTrailAt);
  }

  void WriteWideString(const String& text) {
    auto isRunChar = [](Char c) { return c >= 32 && c <= 127 && c != u'\''; };
    auto writeRun = [&](size_t from, size_t to) {
      for (size_t i = from; i < to; ++i) FText.push_back(static_cast<char>(text[i]));
    };
    WriteStringRuns(text.data(), text.size(), isRunChar, writeRun, [](size_t) { return false; });
  }

  TReader& FReader;
  TTextBuffer FText;
  size_t FLevel = 0;
  bool FNeedsBOM = false;
  UTF8String FClassName;
  UTF8String FObjectName;  // for error messages: the object's name, else its class name
  UTF8String FPropName;
};

// ---- Text to binary ----

class TTextToBinary {
 public:
  TTextToBinary(TParser& parser, TWriter& writer) : FParser(parser), FWriter(writer) {}

  void ConvertObject(int depth) {
    CheckDepth(depth);
    TFilerFlags flags = 0;
    if (FParser.TokenSymbolIs("INHERITED")) {
      flags = ffInherited;
    } else if (FParser.TokenSymbolIs("INLINE")) {
      flags = ffInline;
    } else {
      FParser.CheckTokenSymbol("OBJECT");
    }
    FParser.NextToken();
    ConvertHeader(flags);
    while (!AtPropertiesEnd()) ConvertProperty(depth);
    FWriter.WriteListEnd();
    while (!FParser.TokenSymbolIs("END")) ConvertObject(depth + 1);
    FWriter.WriteListEnd();
    FParser.NextToken();
  }

 private:
  void CheckDepth(int depth) {
    if (depth > kMaxFormNesting) FParser.Error(u"Invalid property value");
  }

  // Whether the token ends an object's properties: "end" or the start of a
  // child object. Asked before every property, so by length first.
  bool AtPropertiesEnd() const {
    if (FParser.Token() != toSymbol) return false;
    std::string_view text = FParser.TokenText();
    // Every keyword starts with "e", "i" or "o" in either case; most names do not.
    char first = static_cast<char>(text[0] | 0x20);
    if (first != 'e' && first != 'i' && first != 'o') return false;
    switch (text.size()) {
      case 3: return FParser.TokenSymbolIs("END");
      case 6: return FParser.TokenSymbolIs("OBJECT") || FParser.TokenSymbolIs("INLINE");
      case 9: return FParser.TokenSymbolIs("INHERITED");
      default: return false;
    }
  }

  void ConvertHeader(TFilerFlags flags) {
    FParser.CheckToken(toSymbol);
    // Kept in members: their blocks are reused from object to object.
    FClassName.assign(FParser.TokenText());
    FObjectName.clear();
    if (FParser.NextToken() == u':') {
      FParser.NextToken();
      FParser.CheckToken(toSymbol);
      FObjectName.swap(FClassName);
      FClassName.assign(FParser.TokenText());
      FParser.NextToken();
    }
    Integer position = -1;
    if (FParser.Token() == u'[') {
      FParser.NextToken();
      FParser.CheckToken(toInteger);
      position = static_cast<Integer>(FParser.TokenInt());
      FParser.NextToken();
      FParser.CheckToken(u']');
      FParser.NextToken();
      flags |= ffChildPos;
    }
    FWriter.WriteObjectHeader(flags, position, FClassName, FObjectName);
  }

  void ConvertProperty(int depth) {
    FParser.CheckToken(toSymbol);
    // Nearly every name is followed by " =": it is written from the text
    // without a copy.
    std::string_view name = FParser.TokenText();
    if (FParser.NextTokenIfSymbol('=')) {
      FWriter.WriteUTF8Str(name);
      FParser.NextToken();
      ConvertValue(depth + 1, false);
      return;
    }
    FName.assign(name);
    FParser.NextToken();
    while (FParser.Token() == u'.') {
      FParser.NextToken();
      FParser.CheckToken(toSymbol);
      FName.push_back('.');
      FName.append(FParser.TokenText());
      FParser.NextToken();
    }
    FWriter.WriteUTF8Str(std::string_view(FName));
    FParser.CheckToken(u'=');
    FParser.NextToken();
    ConvertValue(depth + 1, false);
  }

  // A string value: string tokens joined by "+". Plain ASCII, the common
  // case, is written from its bytes; anything else goes through UTF-16 and
  // the writer's choice of tag.
  void ConvertString() {
    // The first token's bytes are taken over, not copied.
    bool plain = FParser.Token() == toString && FParser.TokenStringIsASCII();
    String text;
    if (plain) {
      FParser.TakeStringBytes(FPlain);
    } else {
      text = FParser.TokenString();
    }
    while (FParser.NextToken() == u'+') {
      if (FParser.NextToken() != toString && FParser.Token() != toWString) FParser.CheckToken(toString);
      if (plain && FParser.Token() == toString && FParser.TokenStringIsASCII()) {
        FPlain.append(FParser.TokenStringBytes());
      } else {
        if (plain) {
          text.assign(FPlain.begin(), FPlain.end());
          plain = false;
        }
        text.append(FParser.TokenString());
      }
    }
    if (!plain) {
      FWriter.WriteString(text);
    } else if (FPlain.empty()) {
      FWriter.WriteString(StringView());
    } else if (FPlain.size() > 255) {
      FWriter.WriteValue(vaLString);
      auto length = static_cast<Cardinal>(FPlain.size());
      Byte count[4] = {Byte(length), Byte(length >> 8), Byte(length >> 16), Byte(length >> 24)};
      FWriter.Write(count, 4);
      FWriter.Write(FPlain.data(), static_cast<Int64>(FPlain.size()));
    } else {
      FWriter.WriteValue(vaString);
      FWriter.WriteStr(FPlain);
    }
  }

  void ConvertFloat() {
    switch (FParser.FloatType()) {
      case u's':
      case u'S': {
        long double value = FParser.TokenFloat();
        auto single = static_cast<float>(value);
        if (std::isinf(single) && !std::isinf(value)) FParser.Error(u"Invalid property value");
        FWriter.WriteSingle(single);
        break;
      }
      case u'c':
      case u'C': {
        // The number is the amount times 10 000.
        long double scaled = std::nearbyint(FParser.TokenFloat());
        constexpr long double kLimit = 9223372036854775808.0L;
        if (!(scaled >= -kLimit && scaled < kLimit)) FParser.Error(u"Invalid property value");
        FWriter.WriteCurrency(Currency::FromScaled(static_cast<Int64>(scaled)));
        break;
      }
      case u'd':
      case u'D': {
        long double value = FParser.TokenFloat();
        auto date = static_cast<double>(value);
        if (std::isinf(date) && !std::isinf(value)) FParser.Error(u"Invalid property value");
        FWriter.WriteDate(date);
        break;
      }
      default: {
        bool negative;
        UInt64 whole;
        if (FParser.FloatType() == 0 && ParseWholeFloat(FParser.TokenText(), negative, whole)) {
          FWriter.WriteFloat(WholeExtended(negative, whole));
        } else {
          FWriter.WriteFloat(FParser.TokenExtended());
        }
        break;
      }
    }
  }

  void ConvertSet() {
    FParser.NextToken();
    FWriter.WriteValue(vaSet);
    if (FParser.Token() != u']') {
      for (;;) {
        switch (FParser.Token()) {
          case toInteger: FWriter.WriteStr(FParser.TokenText()); break;
          case toString:
          case toWString: {
            String text = FParser.TokenString();
            FWriter.WriteStr("#" + std::to_string(text.empty() ? 0 : unsigned(text[0])));
            break;
          }
          default:
            FParser.CheckToken(toSymbol);
            FWriter.WriteStr(FParser.TokenText());
            break;
        }
        if (FParser.NextToken() == u']') break;
        FParser.CheckToken(u',');
        FParser.NextToken();
      }
    }
    FWriter.WriteStr("");
  }

  void ConvertBinary() {
    FWriter.WriteValue(vaBinary);
    FBinary.clear();
    FParser.HexToBinary(FBinary);
    if (FBinary.size() > std::numeric_limits<Cardinal>::max()) FParser.Error(u"Invalid binary value");
    auto length = static_cast<Cardinal>(FBinary.size());
    Byte count[4] = {Byte(length), Byte(length >> 8), Byte(length >> 16), Byte(length >> 24)};
    FWriter.Write(count, 4);
    FWriter.Write(FBinary.data(), static_cast<Int64>(FBinary.size()));
  }

  void ConvertCollection(int depth) {
    FParser.NextToken();
    FWriter.WriteValue(vaCollection);
    while (FParser.Token() != u'>') {
      FParser.CheckTokenSymbol("item");
      FParser.NextToken();
      if (FParser.Token() == u'[') {
        FParser.NextToken();
        FParser.CheckToken(toInteger);
        FWriter.WriteInteger(static_cast<Integer>(FParser.TokenInt()));
        FParser.NextToken();
        FParser.CheckToken(u']');
        FParser.NextToken();
      }
      FWriter.WriteListBegin();
      while (!FParser.TokenSymbolIs("end")) ConvertProperty(depth);
      FWriter.WriteListEnd();
      FParser.NextToken();
    }
    FWriter.WriteListEnd();
  }

  void ConvertValue(int depth, bool inList) {
    CheckDepth(depth);
    switch (FParser.Token()) {
      case toString:
      case toWString:
        ConvertString();  // reads the token behind the value itself
        return;
      case toSymbol: {
        std::string_view ident = FParser.TokenComponentIdent();
        // In a list the Null tag would end the list and shift everything
        // behind it; there it is no value.
        if (inList && SameText(ident, "Null")) FParser.Error(u"Invalid property value");
        FWriter.WriteIdent(ident);
        break;
      }
      case toInteger: FWriter.WriteInteger(FParser.TokenInt()); break;
      case toFloat: ConvertFloat(); break;
      case u'[': ConvertSet(); break;
      case u'(':
        FParser.NextToken();
        FWriter.WriteListBegin();
        while (FParser.Token() != u')') ConvertValue(depth + 1, true);
        FWriter.WriteListEnd();
        break;
      case u'{': ConvertBinary(); break;
      case u'<': ConvertCollection(depth + 1); break;
      default: FParser.Error(u"Invalid property value");
    }
    FParser.NextToken();
  }

  TParser& FParser;
  TWriter& FWriter;
  std::string FName;
  std::string FClassName;
  std::string FObjectName;
  std::string FPlain;
  TBytes FBinary;
};

}  // namespace

namespace {

// The most room reserved for an output before the conversion starts: the
// input may hold more than the form.
constexpr Int64 kMaxFirstReserve = Int64(256) << 20;

// The output when it is a memory stream written at its end, which can take
// the converted form in place.
TMemoryStream* MemoryOutputAtEnd(TStream& input, TStream& output) {
  auto* memoryOutput = dynamic_cast<TMemoryStream*>(&output);
  bool atEnd = memoryOutput != nullptr && &output != &input && memoryOutput->Position() == memoryOutput->Size();
  return atEnd ? memoryOutput : nullptr;
}

}  // namespace

void FormBinaryToText(TStream& input, TStream& output) {
  // A stream in memory answers every question cheaply as it is.
  std::optional<TReadAheadStream> readAhead;
  TStream& source = dynamic_cast<TCustomMemoryStream*>(&input) != nullptr ? input : readAhead.emplace(input);
  TReader reader(source);
  // A memory stream written at its end takes the text in place.
  TBinaryToText converter(reader, MemoryOutputAtEnd(input, output));
  // Text takes about twice the bytes of binary data and more for short
  // values. The input may hold more than the form, so this is only a start.
  Int64 remaining = std::min(source.Size() - source.Position(), kMaxFirstReserve / 5 * 2);
  if (remaining > 0) converter.Reserve(static_cast<size_t>(remaining) * 5 / 2);
  converter.Convert();
  converter.Finish(output);
}

void FormTextToBinary(TStream& input, TStream& output) {
  // A memory stream written at its end gets room for the binary form at
  // once instead of growing (and copying itself) step by step: the binary
  // form takes about half the bytes of the text, hexadecimal data less,
  // short values more. Only a start, and only where the memory is there.
  if (TMemoryStream* memoryOutput = MemoryOutputAtEnd(input, output)) {
    Int64 remaining = std::min(input.Size() - input.Position(), 2 * kMaxFirstReserve);
    if (remaining > 0) {
      try {
        memoryOutput->SetCapacity(memoryOutput->Size() + remaining / 2 + kStreamBlockSize);
      } catch (const EOutOfMemory&) {  // NOLINT(bugprone-empty-catch): the stream grows as it is written instead
      }
    }
  }
  TParser parser(input);
  TWriter writer(output, kStreamBlockSize);
  writer.WriteSignature();
  TTextToBinary(parser, writer).ConvertObject(0);
  writer.FlushBuffer();
}
