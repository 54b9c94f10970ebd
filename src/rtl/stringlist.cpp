#include "rtl/stringlist.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "rtl/encoding.h"
#include "rtl/exceptions.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/streams.h"
#include "rtl/sysstr.h"
#include "rtl/updatescope.h"

namespace {

int CompareLines(StringView a, StringView b, bool caseSensitive, bool useLocale) {
  if (useLocale) return caseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
  return caseSensitive ? CompareStr(a, b) : CompareText(a, b);
}

// How many of the UTF-16 units in `text` equal `a` or `b`, four units at a
// time: a lane of x ^ pattern is zero exactly where the unit matches.
size_t CountUnits(StringView text, Char a, Char b) {
  constexpr UInt64 kLow = 0x7FFF7FFF7FFF7FFFull;
  constexpr UInt64 kHigh = 0x8000800080008000ull;
  auto zeroLanes = [](UInt64 x) {
    return static_cast<size_t>(__builtin_popcountll(~(((x & kLow) + kLow) | x) & kHigh));
  };
  const UInt64 patternA = 0x0001000100010001ull * a;
  const UInt64 patternB = 0x0001000100010001ull * b;
  size_t count = 0;
  size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) {
    UInt64 chunk;
    std::memcpy(&chunk, text.data() + i, sizeof chunk);
    count += zeroLanes(chunk ^ patternA);
    if (a != b) count += zeroLanes(chunk ^ patternB);
  }
  for (; i < text.size(); ++i) count += static_cast<size_t>(text[i] == a || text[i] == b);
  return count;
}

// An upper bound of the lines SetTextStr makes of `text`, to allocate once.
size_t MaxLineCount(StringView text, StringView lineBreak) {
  if (text.empty()) return 0;
  if (lineBreak == u"\r\n" || lineBreak.empty()) return CountUnits(text, u'\r', u'\n') + 1;
  return CountUnits(text, lineBreak[0], lineBreak[0]) + 1;
}

// Calls `addLine(start, length)` for each line of `text`: with the default
// break (CR LF) a line ends at CR LF, LF or CR, else at `lineBreak`; a break
// at the very end adds no empty line.
template <typename AddLine>
void ForEachLine(StringView text, StringView lineBreak, AddLine&& addLine) {
  const size_t length = text.size();
  const Char* data = text.data();
  size_t pos = 0;
  if (lineBreak == u"\r\n" || lineBreak.empty()) {
    while (pos < length) {
      size_t start = pos;
      while (pos < length && (data[pos] > u'\r' || (data[pos] != u'\r' && data[pos] != u'\n'))) ++pos;
      addLine(data + start, pos - start);
      if (pos < length && data[pos] == u'\r') ++pos;
      if (pos < length && data[pos] == u'\n') ++pos;
    }
    return;
  }
  while (pos < length) {
    size_t end = text.find(lineBreak, pos);
    if (end == StringView::npos) end = length;
    addLine(data + pos, end - pos);
    pos = end == length ? length : end + lineBreak.size();
  }
}

bool IsBlank(Char c) {
  return c >= 1 && c <= u' ';
}

String QuotedText(const String& s, Char quote) {
  String result;
  result.reserve(s.size() + 2);
  result += quote;
  for (Char c : s) {
    result += c;
    if (c == quote) result += quote;
  }
  result += quote;
  return result;
}

// Reads a quoted item starting at text[pos] (the opening quote): doubled quotes
// stand for one; an item without a closing quote runs to the end of the text.
String ExtractQuoted(const String& text, size_t& pos, Char quote) {
  String result;
  ++pos;
  while (pos < text.size()) {
    Char c = text[pos++];
    if (c == quote) {
      if (pos < text.size() && text[pos] == quote) {
        ++pos;
      } else {
        return result;
      }
    }
    result += c;
  }
  return result;
}

}  // namespace

// ---- TStrings ----

TStrings::TStrings() : FDefaultEncoding(TEncoding::ANSI()) {}

TStrings::~TStrings() = default;

void TStrings::Error(const char16_t* message, Integer data) {
  throw EStringListError(Format(message, {data}));
}

void TStrings::Put(Integer index, const String& s) {
  TObject* object = GetObject(index);
  TUpdateScope<TStrings> bracket(*this);
  Delete(index);
  InsertObject(index, s, object);
}

TObject* TStrings::GetObject(Integer /*index*/) const {
  return nullptr;
}

void TStrings::PutObject(Integer /*index*/, TObject* /*object*/) {}

void TStrings::Exchange(Integer index1, Integer index2) {
  TUpdateScope<TStrings> bracket(*this);
  TObject* object = GetObject(index1);
  String s = Get(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, s);
  PutObject(index2, object);
}

int TStrings::CompareStrings(const String& s1, const String& s2) const {
  return CompareLines(s1, s2, false, true);
}

Integer TStrings::Add(const String& s) {
  Integer index = GetCount();
  Insert(index, s);
  return index;
}

Integer TStrings::AddObject(const String& s, TObject* object) {
  Integer index = Add(s);
  PutObject(index, object);
  return index;
}

Integer TStrings::AddPair(const String& name, const String& value) {
  return Add(name + FNameValueSeparator + value);
}

void TStrings::AddStrings(const TStrings& strings) {
  TUpdateScope<TStrings> bracket(*this);
  Integer count = strings.GetCount();
  for (Integer i = 0; i < count; ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::AddStrings(const std::vector<String>& strings) {
  TUpdateScope<TStrings> bracket(*this);
  for (const String& s : strings) Add(s);
}

void TStrings::InsertObject(Integer index, const String& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  TUpdateScope<TStrings> bracket(*this);
  Clear();
  FDelimiter = source.FDelimiter;
  FQuoteChar = source.FQuoteChar;
  FNameValueSeparator = source.FNameValueSeparator;
  FStrictDelimiter = source.FStrictDelimiter;
  FLineBreak = source.FLineBreak;
  FTrailingLineBreak = source.FTrailingLineBreak;
  FWriteBOM = source.FWriteBOM;
  FDefaultEncoding = source.FDefaultEncoding;
  FEncoding = source.FEncoding;
  AddStrings(source);
}

bool TStrings::Equals(const TStrings& other) const {
  Integer count = GetCount();
  if (count != other.GetCount()) return false;
  for (Integer i = 0; i < count; ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::Move(Integer currentIndex, Integer newIndex) {
  if (currentIndex == newIndex) return;
  TUpdateScope<TStrings> bracket(*this);
  TObject* object = GetObject(currentIndex);
  String s = Get(currentIndex);
  PutObject(currentIndex, nullptr);  // so that an owning list does not free it
  Delete(currentIndex);
  InsertObject(newIndex, s, object);
}

Integer TStrings::IndexOf(const String& s) const {
  Integer count = GetCount();
  for (Integer i = 0; i < count; ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfObject(const TObject* object) const {
  Integer count = GetCount();
  for (Integer i = 0; i < count; ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

std::vector<String> TStrings::ToStringArray() const {
  std::vector<String> result;
  Integer count = GetCount();
  result.reserve(static_cast<size_t>(std::max(count, 0)));
  for (Integer i = 0; i < count; ++i) result.push_back(Get(i));
  return result;
}

String TStrings::GetTextStr() const {
  Integer count = GetCount();
  std::vector<String> lines;
  lines.reserve(static_cast<size_t>(std::max(count, 0)));
  size_t size = 0;
  for (Integer i = 0; i < count; ++i) {
    lines.push_back(Get(i));
    size += lines.back().size() + FLineBreak.size();
  }
  String text;
  text.reserve(size);
  for (Integer i = 0; i < count; ++i) {
    text += lines[static_cast<size_t>(i)];
    if (FTrailingLineBreak || i + 1 < count) text += FLineBreak;
  }
  return text;
}

std::vector<String> TStrings::SplitText(const String& text) const {
  std::vector<String> lines;
  lines.reserve(MaxLineCount(text, FLineBreak));
  ForEachLine(text, FLineBreak, [&lines](const Char* start, size_t length) { lines.emplace_back(start, length); });
  return lines;
}

void TStrings::SetTextStr(const String& text) {
  TUpdateScope<TStrings> bracket(*this);
  Clear();
  for (const String& line : SplitText(text)) Add(line);
}

String TStrings::DelimitedTextWith(Char delimiter, Char quoteChar, bool strict) const {
  Integer count = GetCount();
  if (count == 1 && Get(0).empty()) return String(2, quoteChar);
  String result;
  for (Integer i = 0; i < count; ++i) {
    String s = Get(i);
    bool quote = std::any_of(s.begin(), s.end(), [&](Char c) {
      return c == u'\0' || c == quoteChar || c == delimiter || (!strict && IsBlank(c));
    });
    // Loose reading skips blanks, so with a blank delimiter an empty item is
    // quoted or it would vanish (the platform loses it there).
    if (s.empty() && !strict && IsBlank(delimiter)) quote = true;
    if (i > 0) result += delimiter;
    result += quote ? QuotedText(s, quoteChar) : s;
  }
  return result;
}

void TStrings::SetDelimitedTextWith(const String& text, Char delimiter, Char quoteChar, bool strict) {
  TUpdateScope<TStrings> bracket(*this);
  Clear();
  // As on the platform, the text ends at a NUL character.
  const size_t length = std::min(text.size(), text.find(u'\0'));
  size_t pos = 0;
  auto skipBlanks = [&] {
    if (!strict)
      while (pos < length && IsBlank(text[pos])) ++pos;
  };
  skipBlanks();
  while (pos < length) {
    String item;
    if (text[pos] == quoteChar) {
      item = ExtractQuoted(text, pos, quoteChar);
    } else {
      size_t start = pos;
      while (pos < length && text[pos] != delimiter && (strict || text[pos] > u' ')) ++pos;
      item.assign(text, start, pos - start);
    }
    Add(item);
    skipBlanks();
    if (pos < length && text[pos] == delimiter) {
      if (pos + 1 == length) Add(String());  // a final delimiter ends an empty item
      ++pos;
      skipBlanks();
    }
  }
}

String TStrings::DelimitedText() const {
  return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const String& text) {
  SetDelimitedTextWith(text, FDelimiter, FQuoteChar, FStrictDelimiter);
}

String TStrings::CommaText() const {
  return DelimitedTextWith(u',', u'"', false);
}

void TStrings::SetCommaText(const String& text) {
  SetDelimitedTextWith(text, u',', u'"', false);
}

String TStrings::Names(Integer index) const {
  String s = Get(index);
  size_t at = s.find(FNameValueSeparator);
  return at == String::npos ? String() : s.substr(0, at);
}

Integer TStrings::IndexOfName(const String& name) const {
  Integer count = GetCount();
  for (Integer i = 0; i < count; ++i) {
    String s = Get(i);
    size_t at = s.find(FNameValueSeparator);
    if (at != String::npos && CompareStrings(s.substr(0, at), name) == 0) return i;
  }
  return -1;
}

String TStrings::Values(const String& name) const {
  Integer index = IndexOfName(name);
  return index >= 0 ? ValueFromIndex(index) : String();
}

void TStrings::SetValues(const String& name, const String& value) {
  Integer index = IndexOfName(name);
  if (!value.empty()) {
    if (index < 0) index = Add(String());
    Put(index, name + FNameValueSeparator + value);
  } else if (index >= 0) {
    Delete(index);
  }
}

String TStrings::ValueFromIndex(Integer index) const {
  String s = Get(index);
  size_t at = s.find(FNameValueSeparator);
  return at == String::npos ? String() : s.substr(at + 1);
}

void TStrings::SetValueFromIndex(Integer index, const String& value) {
  if (!value.empty()) {
    if (index < 0) index = Add(String());
    Put(index, Names(index) + FNameValueSeparator + value);
  } else if (index >= 0) {
    Delete(index);
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetDefaultEncoding(TEncoding* encoding) {
  FDefaultEncoding = encoding ? encoding : TEncoding::ANSI();
}

void TStrings::LoadFromStream(TStream& stream, TEncoding* encoding) {
  TUpdateScope<TStrings> bracket(*this);
  TBytes bytes = stream.ReadAllBytes();
  Integer preamble = TEncoding::GetBufferEncoding(bytes, encoding, FDefaultEncoding);
  SetEncoding(encoding);
  SetTextStr(encoding->GetString(bytes.data() + preamble, bytes.size() - static_cast<size_t>(preamble)));
}

void TStrings::SaveToStream(TStream& stream, TEncoding* encoding) const {
  if (encoding == nullptr) encoding = FEncoding ? FEncoding : FDefaultEncoding;
  TBytes bytes = encoding->GetBytes(GetTextStr());
  if (FWriteBOM) {
    TBytes preamble = encoding->GetPreamble();
    stream.WriteBuffer(preamble.data(), static_cast<Int64>(preamble.size()));
  }
  stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TStrings::LoadFromFile(const String& fileName, TEncoding* encoding) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file, encoding);
}

void TStrings::SaveToFile(const String& fileName, TEncoding* encoding) const {
  SaveFileAtomically(fileName, [&](TStream& stream) { SaveToStream(stream, encoding); });
}

// ---- TStringList ----

TStringList::TStringList(TDuplicates duplicates, bool sorted, bool caseSensitive)
    : FDuplicates(duplicates), FSorted(sorted), FCaseSensitive(caseSensitive) {}

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (Item& item : FItems) delete item.FObject;
}

void TStringList::CheckIndex(Integer index) const {
  if (index < 0 || index >= GetCount()) Error(kListIndexError, index);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
  } else {
    Changed();
  }
}

String TStringList::Get(Integer index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].FString;
}

TObject* TStringList::GetObject(Integer index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].FObject;
}

void TStringList::Insert(Integer index, const String& s) {
  InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(Integer index, const String& s, TObject* object) {
  if (FSorted) Error(kSortedListError, 0);
  if (index < 0 || index > GetCount()) Error(kListIndexError, index);
  InsertItem(index, s, object);
}

void TStringList::InsertItem(Integer index, const String& s, TObject* object) {
  Changing();
  FItems.insert(FItems.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Put(Integer index, const String& s) {
  if (FSorted) Error(kSortedListError, 0);
  CheckIndex(index);
  Changing();
  FItems[static_cast<size_t>(index)].FString = s;
  Changed();
}

void TStringList::PutObject(Integer index, TObject* object) {
  CheckIndex(index);
  Changing();
  FItems[static_cast<size_t>(index)].FObject = object;
  Changed();
}

void TStringList::Delete(Integer index) {
  CheckIndex(index);
  Changing();
  TObject* object = FItems[static_cast<size_t>(index)].FObject;
  FItems.erase(FItems.begin() + index);
  if (FOwnsObjects) delete object;
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(FItems);
  if (FOwnsObjects)
    for (Item& item : old) delete item.FObject;
  Changed();
}

void TStringList::Exchange(Integer index1, Integer index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
  Changed();
}

void TStringList::SetCapacity(Integer capacity) {
  if (capacity < GetCount()) Error(kListCapacityError, capacity);
  try {
    FItems.reserve(static_cast<size_t>(capacity));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(u"Out of memory");
  } catch (const std::length_error&) {
    throw EOutOfMemory(u"Out of memory");
  }
}

String TStringList::GetTextStr() const {
  const String& lineBreak = LineBreak();
  size_t size = 0;
  for (const Item& item : FItems) size += item.FString.size() + lineBreak.size();
  String text;
  text.reserve(size);
  for (size_t i = 0; i < FItems.size(); ++i) {
    text += FItems[i].FString;
    if (TrailingLineBreak() || i + 1 < FItems.size()) text += lineBreak;
  }
  return text;
}

void TStringList::SetTextStr(const String& text) {
  if (FSorted) {
    TStrings::SetTextStr(text);
    return;
  }
  TUpdateScope<TStrings> bracket(*this);
  Clear();
  FItems.reserve(MaxLineCount(text, LineBreak()));
  ForEachLine(text, LineBreak(), [this](const Char* start, size_t length) {
    FItems.push_back(Item{String(start, length), nullptr});
  });
}

int TStringList::CompareStrings(const String& s1, const String& s2) const {
  return CompareLines(s1, s2, FCaseSensitive, FUseLocale);
}

Integer TStringList::AddObject(const String& s, TObject* object) {
  Integer index = GetCount();
  if (FSorted && Find(s, index)) {
    switch (FDuplicates) {
      case dupIgnore: return index;
      case dupError: Error(kDuplicateString, 0);
      case dupAccept: break;
    }
  }
  InsertItem(index, s, object);
  return index;
}

Integer TStringList::IndexOf(const String& s) const {
  if (FSorted) {
    Integer index;
    return Find(s, index) ? index : -1;
  }
  for (size_t i = 0; i < FItems.size(); ++i)
    if (CompareStrings(FItems[i].FString, s) == 0) return static_cast<Integer>(i);
  return -1;
}

bool TStringList::Find(const String& s, Integer& index) const {
  bool found = false;
  Integer low = 0;
  Integer high = GetCount() - 1;
  while (low <= high) {
    Integer middle = low + (high - low) / 2;
    int comparison = CompareStrings(FItems[static_cast<size_t>(middle)].FString, s);
    if (comparison < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (comparison == 0) {
        found = true;
        // Without duplicates there is only one; with them, go on to the first.
        if (FDuplicates != dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

void TStringList::SortItems(const std::function<bool(Integer, Integer)>& less) {
  std::vector<Integer> order(FItems.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), less);
  std::vector<Item> sorted;
  sorted.reserve(FItems.size());
  for (Integer i : order) sorted.push_back(std::move(FItems[static_cast<size_t>(i)]));
  FItems.swap(sorted);
}

void TStringList::Sort() {
  if (FSorted || FItems.size() < 2) return;
  Changing();
  SortItems([this](Integer a, Integer b) {
    return CompareStrings(FItems[static_cast<size_t>(a)].FString, FItems[static_cast<size_t>(b)].FString) < 0;
  });
  Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (FSorted || FItems.size() < 2) return;
  Changing();
  SortItems([&](Integer a, Integer b) { return compare(*this, a, b) < 0; });
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (FSorted == sorted) return;
  if (sorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (FCaseSensitive == caseSensitive) return;
  FCaseSensitive = caseSensitive;
  if (FSorted) {
    FSorted = false;
    SetSorted(true);
  }
}

void TStringList::SetUseLocale(bool useLocale) {
  if (FUseLocale == useLocale) return;
  FUseLocale = useLocale;
  if (FSorted) {
    FSorted = false;
    SetSorted(true);
  }
}
