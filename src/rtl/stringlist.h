// Lists of strings: the abstract TStrings and the stored, sortable TStringList.
//
// Subclassing TStrings (for a list with its own line store, such as an editor's
// buffer): override the storage operations Get, GetCount and Insert (required),
// and Put, PutObject, GetObject, Delete, Clear, Exchange, GetCapacity,
// SetCapacity, GetTextStr, SetTextStr, SetUpdateState as the store needs. The
// base class implements everything else (Add, Values, CommaText, streams...)
// through these operations only, so an override is always seen. Indexes are
// 0-based. Update brackets nest: SetUpdateState(true) is called when the
// outermost BeginUpdate opens and SetUpdateState(false) when it closes.
#pragma once

#include <functional>
#include <vector>

#include "rtl/object.h"
#include "rtl/types.h"

class TEncoding;
class TStream;

// The platform's messages of the string lists.
inline constexpr char16_t kListIndexError[] = u"List index out of bounds (%d)";
inline constexpr char16_t kListCapacityError[] = u"List capacity out of bounds (%d)";
inline constexpr char16_t kDuplicateString[] = u"String list does not allow duplicates";
inline constexpr char16_t kSortedListError[] = u"Operation not allowed on sorted list";

using TStringsNotifyEvent = std::function<void(TObject* sender)>;

class TStrings : public TObject {
 public:
  TStrings();
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;
  ~TStrings() override;

  // ---- The storage operations ----
  virtual String Get(Integer index) const = 0;
  virtual Integer GetCount() const = 0;
  virtual void Insert(Integer index, const String& s) = 0;
  // The default deletes and inserts (keeping the object).
  virtual void Put(Integer index, const String& s);
  // The default stores nothing and answers nullptr.
  virtual TObject* GetObject(Integer index) const;
  virtual void PutObject(Integer index, TObject* object);
  virtual void Delete(Integer index) = 0;
  virtual void Clear() = 0;
  // The default swaps through Put/PutObject.
  virtual void Exchange(Integer index1, Integer index2);
  virtual Integer GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(Integer /*capacity*/) {}
  // The lines, each followed by LineBreak() (the last one only when
  // TrailingLineBreak() is true).
  virtual String GetTextStr() const;
  // Replaces all lines. With the default line break (CR LF) a line ends at
  // CR LF, LF or CR; with any other, at that break. A break at the very end
  // ends the last line and adds no empty one.
  virtual void SetTextStr(const String& text);
  // Called when the outermost update bracket opens (true) and closes (false).
  virtual void SetUpdateState(bool /*updating*/) {}
  // The comparison of IndexOf, IndexOfName, Values: without regard to case by default.
  virtual int CompareStrings(const String& s1, const String& s2) const;

  // ---- Built on the storage operations ----
  virtual Integer Add(const String& s);
  virtual Integer AddObject(const String& s, TObject* object);
  Integer AddPair(const String& name, const String& value);
  void Append(const String& s) { Add(s); }
  virtual void AddStrings(const TStrings& strings);
  void AddStrings(const std::vector<String>& strings);
  // The default inserts and then stores the object.
  virtual void InsertObject(Integer index, const String& s, TObject* object);
  // Replaces the lines and objects by those of `source` (and copies its text
  // properties: delimiter, quote, separator, line break, encodings).
  virtual void Assign(const TStrings& source);
  // Same count and the same lines, compared exactly.
  bool Equals(const TStrings& other) const;
  virtual void Move(Integer currentIndex, Integer newIndex);
  virtual Integer IndexOf(const String& s) const;
  Integer IndexOfObject(const TObject* object) const;
  std::vector<String> ToStringArray() const;

  Integer Count() const { return GetCount(); }
  String operator[](Integer index) const { return Get(index); }
  String Strings(Integer index) const { return Get(index); }
  void SetStrings(Integer index, const String& s) { Put(index, s); }
  TObject* Objects(Integer index) const { return GetObject(index); }
  void SetObjects(Integer index, TObject* object) { PutObject(index, object); }
  Integer Capacity() const { return GetCapacity(); }

  String Text() const { return GetTextStr(); }
  void SetText(const String& text) { SetTextStr(text); }
  // The lines quoted where needed and separated by Delimiter (below).
  String DelimitedText() const;
  void SetDelimitedText(const String& text);
  // DelimitedText with ',' and '"', blanks separating too.
  String CommaText() const;
  void SetCommaText(const String& text);

  // Name=value lines. A line without the separator has an empty name.
  String Names(Integer index) const;
  String Values(const String& name) const;
  // An empty value deletes the line; a new name is added at the end.
  void SetValues(const String& name, const String& value);
  String ValueFromIndex(Integer index) const;
  void SetValueFromIndex(Integer index, const String& value);
  virtual Integer IndexOfName(const String& name) const;

  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // Reads the rest of the stream as text. With `encoding` nullptr a byte order
  // mark chooses UTF-16 LE/BE or UTF-8, else DefaultEncoding() (the current
  // ANSI code page) applies; the encoding used is kept in Encoding() for saving.
  virtual void LoadFromStream(TStream& stream, TEncoding* encoding = nullptr);
  // Writes Text() in `encoding` (nullptr: Encoding(), else DefaultEncoding()),
  // preceded by its preamble when WriteBOM() is true.
  virtual void SaveToStream(TStream& stream, TEncoding* encoding = nullptr) const;
  virtual void LoadFromFile(const String& fileName, TEncoding* encoding = nullptr);
  // Saves through a temporary file, so a failed save leaves the old file as it was.
  virtual void SaveToFile(const String& fileName, TEncoding* encoding = nullptr) const;

  // ---- Text properties ----
  Char Delimiter() const { return FDelimiter; }
  void SetDelimiter(Char delimiter) { FDelimiter = delimiter; }
  Char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(Char quoteChar) { FQuoteChar = quoteChar; }
  // When false (the default), blanks (characters up to ' ') also separate and
  // are trimmed around items.
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool strict) { FStrictDelimiter = strict; }
  Char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(Char separator) { FNameValueSeparator = separator; }
  const String& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& lineBreak) { FLineBreak = lineBreak; }
  bool TrailingLineBreak() const { return FTrailingLineBreak; }
  void SetTrailingLineBreak(bool trailing) { FTrailingLineBreak = trailing; }
  bool WriteBOM() const { return FWriteBOM; }
  void SetWriteBOM(bool writeBOM) { FWriteBOM = writeBOM; }
  // Encodings are not owned: the shared ones live forever, others must outlive the list.
  TEncoding* DefaultEncoding() const { return FDefaultEncoding; }
  void SetDefaultEncoding(TEncoding* encoding);
  // The encoding found by the last load (nullptr before any).
  TEncoding* Encoding() const { return FEncoding; }

 protected:
  // Raises EStringListError with `message` formatted with the one %d.
  [[noreturn]] static void Error(const char16_t* message, Integer data);
  void SetEncoding(TEncoding* encoding) { FEncoding = encoding; }
  // Splits `text` by the rules of SetTextStr.
  std::vector<String> SplitText(const String& text) const;

 private:
  String DelimitedTextWith(Char delimiter, Char quoteChar, bool strict) const;
  void SetDelimitedTextWith(const String& text, Char delimiter, Char quoteChar, bool strict);

  Integer FUpdateCount = 0;
  Char FDelimiter = u',';
  Char FQuoteChar = u'"';
  Char FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
  bool FTrailingLineBreak = true;
  bool FWriteBOM = true;
  String FLineBreak = u"\r\n";
  TEncoding* FDefaultEncoding;
  TEncoding* FEncoding = nullptr;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };
inline constexpr TDuplicates dupIgnore = TDuplicates::dupIgnore;
inline constexpr TDuplicates dupAccept = TDuplicates::dupAccept;
inline constexpr TDuplicates dupError = TDuplicates::dupError;

class TStringList;
// Negative, zero or positive as the item at index1 sorts before, with or after
// the item at index2. The list does not change while the sort asks.
using TStringListSortCompare = std::function<int(TStringList& list, Integer index1, Integer index2)>;

// Strings with objects, stored in one array. Index errors raise
// EStringListError "List index out of bounds (%d)".
class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool ownsObjects) : FOwnsObjects(ownsObjects) {}
  TStringList(TDuplicates duplicates, bool sorted, bool caseSensitive = false);
  ~TStringList() override;

  String Get(Integer index) const override;
  Integer GetCount() const override { return static_cast<Integer>(FItems.size()); }
  // Refused on a sorted list ("Operation not allowed on sorted list").
  void Insert(Integer index, const String& s) override;
  void Put(Integer index, const String& s) override;
  TObject* GetObject(Integer index) const override;
  void PutObject(Integer index, TObject* object) override;
  // With OwnsObjects the line's object is deleted too.
  void Delete(Integer index) override;
  void Clear() override;
  void Exchange(Integer index1, Integer index2) override;
  Integer GetCapacity() const override { return static_cast<Integer>(FItems.capacity()); }
  // Below the count: "List capacity out of bounds (%d)".
  void SetCapacity(Integer capacity) override;
  String GetTextStr() const override;
  void SetTextStr(const String& text) override;
  void SetUpdateState(bool updating) override;
  // By CaseSensitive (and UseLocale: the user's collation, else ordinal).
  int CompareStrings(const String& s1, const String& s2) const override;

  // On a sorted list the position follows the order; a duplicate is then
  // ignored (the existing index is returned), accepted or refused
  // ("String list does not allow duplicates") by Duplicates.
  Integer Add(const String& s) override { return AddObject(s, nullptr); }
  Integer AddObject(const String& s, TObject* object) override;
  void InsertObject(Integer index, const String& s, TObject* object) override;
  Integer IndexOf(const String& s) const override;

  // Binary search of a sorted list: true and the index of the first equal
  // line, or false and the index where the line would go.
  virtual bool Find(const String& s, Integer& index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool caseSensitive);
  bool UseLocale() const { return FUseLocale; }
  void SetUseLocale(bool useLocale);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool ownsObjects) { FOwnsObjects = ownsObjects; }

  // Fired around every change outside update brackets, and once around a bracket.
  TStringsNotifyEvent OnChange;
  TStringsNotifyEvent OnChanging;

 protected:
  virtual void Changing();
  virtual void Changed();
  // Inserts without the sorted-list check (the position is the caller's).
  virtual void InsertItem(Integer index, const String& s, TObject* object);
  void CheckIndex(Integer index) const;

 private:
  struct Item {
    String FString;
    TObject* FObject = nullptr;
  };
  void SortItems(const std::function<bool(Integer, Integer)>& less);
  std::vector<Item> FItems;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FUseLocale = true;
  bool FOwnsObjects = false;
};
