// Text encodings: how a String becomes bytes in a file or stream and back.
//
// The shared encodings (ANSI(), UTF8(), Unicode(), BigEndianUnicode()) are
// immutable objects that live for the whole process; never delete them.
// Callers may also create their own (e.g. a UTF-8 encoding without preamble).
#pragma once

#include <cstddef>

#include "rtl/exceptions.h"
#include "rtl/types.h"

KST_DECLARE_EXCEPTION(EEncodingError, Exception);

class TEncoding {
 public:
  virtual ~TEncoding() = default;
  TEncoding(const TEncoding&) = delete;
  TEncoding& operator=(const TEncoding&) = delete;

  // The byte order mark written before the text in files (may be empty).
  virtual TBytes GetPreamble() const = 0;
  virtual TBytes GetBytes(StringView text) const = 0;
  // Decodes `count` bytes; malformed input becomes U+FFFD, never read past the end.
  virtual String GetString(const Byte* bytes, size_t count) const = 0;
  String GetString(const TBytes& bytes) const { return GetString(bytes.data(), bytes.size()); }
  // Bytes [index, index + count) of `bytes`; a range outside raises EEncodingError
  // "Character index out of bounds (%d)" or "Invalid count (%d)".
  String GetString(const TBytes& bytes, Int64 index, Int64 count) const;
  // The Windows code page number (1200 for UTF-16 LE, 1201 for BE, 65001 for UTF-8).
  virtual Cardinal CodePage() const = 0;
  // True when every character takes one byte (the single-byte ANSI code pages).
  virtual bool IsSingleByte() const { return false; }

  // The current ANSI code page; see rtl/codepage.h.
  static TEncoding* ANSI();
  // A given ANSI code page (0 = the current one); the same object for the same page.
  static TEncoding* ANSI(Cardinal codePage);
  static TEncoding* Default() { return ANSI(); }
  static TEncoding* UTF8();              // with the EF BB BF preamble
  static TEncoding* Unicode();           // UTF-16 little endian, preamble FF FE
  static TEncoding* BigEndianUnicode();  // UTF-16 big endian, preamble FE FF
  // The shared encoding for a Windows code page number (1200, 1201, 65001 or an ANSI page).
  static TEncoding* GetEncoding(Cardinal codePage);

  // The platform's detection: when `encoding` is nullptr, a UTF-16 LE, UTF-16
  // BE or UTF-8 byte order mark at the start of `bytes` chooses it (else
  // `defaultEncoding`, or ANSI() when that is nullptr, with result 0); when
  // `encoding` is given, it is kept. Returns the length of the preamble found
  // at the start (0 when the chosen encoding's preamble is not there).
  static Integer GetBufferEncoding(const Byte* bytes, size_t count, TEncoding*& encoding,
                                   TEncoding* defaultEncoding = nullptr);
  static Integer GetBufferEncoding(const TBytes& bytes, TEncoding*& encoding, TEncoding* defaultEncoding = nullptr) {
    return GetBufferEncoding(bytes.data(), bytes.size(), encoding, defaultEncoding);
  }
  // True for the process-wide encodings above (which nobody may delete).
  static bool IsStandardEncoding(const TEncoding* encoding);

 protected:
  TEncoding() = default;
};

class TUTF8Encoding : public TEncoding {
 public:
  explicit TUTF8Encoding(bool withPreamble = true) : FWithPreamble(withPreamble) {}
  TBytes GetPreamble() const override;
  TBytes GetBytes(StringView text) const override;
  String GetString(const Byte* bytes, size_t count) const override;
  using TEncoding::GetString;
  Cardinal CodePage() const override { return 65001; }

 private:
  bool FWithPreamble;
};

class TUnicodeEncoding : public TEncoding {
 public:
  TBytes GetPreamble() const override { return {0xFF, 0xFE}; }
  TBytes GetBytes(StringView text) const override;
  // An odd final byte is dropped.
  String GetString(const Byte* bytes, size_t count) const override;
  using TEncoding::GetString;
  Cardinal CodePage() const override { return 1200; }
};

class TBigEndianUnicodeEncoding : public TEncoding {
 public:
  TBytes GetPreamble() const override { return {0xFE, 0xFF}; }
  TBytes GetBytes(StringView text) const override;
  String GetString(const Byte* bytes, size_t count) const override;
  using TEncoding::GetString;
  Cardinal CodePage() const override { return 1201; }
};

// An ANSI code page; code page 0 follows the current code page at every call.
class TMBCSEncoding : public TEncoding {
 public:
  explicit TMBCSEncoding(Cardinal codePage = 0) : FCodePage(codePage) {}
  TBytes GetPreamble() const override { return {}; }
  TBytes GetBytes(StringView text) const override;
  String GetString(const Byte* bytes, size_t count) const override;
  using TEncoding::GetString;
  Cardinal CodePage() const override;
  bool IsSingleByte() const override;

 private:
  Cardinal FCodePage;
};
