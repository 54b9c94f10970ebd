#include "services/recentstrings.h"

#include <algorithm>
#include <cstdint>

#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

const TTypeInfo& DescribeType(TypeTag<TRecentMode>) {
  static const TEnumTypeInfo t(u"TRecentMode", u"SvMRUManager", {u"rmInsert", u"rmAppend"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMenuLocation>) {
  static const TEnumTypeInfo t(u"TMenuLocation", u"SvMRUManager", {u"mruChild", u"mruSibling"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TAccelDelimiter>) {
  static const TEnumTypeInfo t(u"TAccelDelimiter", u"SvMRUManager", {u"adTab", u"adSpace"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDuplicates>) {
  static const TEnumTypeInfo t(u"TDuplicates", u"Classes", {u"dupIgnore", u"dupAccept", u"dupError"});
  return t;
}

namespace {
TObject* UserDataObject(Integer userData) {
  return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(userData));
}
Integer UserDataOfObject(TObject* object) {
  return static_cast<Integer>(reinterpret_cast<std::intptr_t>(object));
}
}  // namespace

TSvRecentStrings::TSvRecentStrings() = default;

void TSvRecentStrings::SetMaxSize(Integer value) {
  FMaxSize = std::max<Integer>(1, value);
  DeleteExceed();
}

Integer TSvRecentStrings::Add(const String& s) {
  const Integer present = IndexOf(s);
  const Integer target = FMode == rmInsert ? 0 : Count() - 1;
  if (present >= 0 && present == target) return target;
  // One change, seen with the list already cut to its size.
  BeginUpdate();
  try {
    if (present >= 0)
      Move(present, target);
    else
      InsertObject(FMode == rmInsert ? 0 : Count(), s, nullptr);
    DeleteExceed();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return FMode == rmInsert ? 0 : Count() - 1;
}

void TSvRecentStrings::AddStrings(const TStrings& strings) {
  const Integer taken = std::min(strings.Count(), FMaxSize);
  BeginUpdate();
  try {
    if (FMode == rmAppend) {
      for (Integer i = 0; i < taken; ++i) {
        const Integer index = Add(strings[i]);
        PutObject(index, strings.Objects(i));
      }
    } else {
      for (Integer i = taken - 1; i >= 0; --i) {
        const Integer index = Add(strings[i]);
        PutObject(index, strings.Objects(i));
      }
    }
    DeleteExceed();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TSvRecentStrings::Remove(const String& s) {
  const Integer index = IndexOf(s);
  if (index >= 0) Delete(index);
}

void TSvRecentStrings::DeleteExceed() {
  if (Count() <= FMaxSize) return;
  BeginUpdate();
  while (Count() > FMaxSize) Delete(FMode == rmInsert ? Count() - 1 : 0);
  EndUpdate();
}

void TSvRecentStrings::SetTextStr(const String& text) {
  const TRecentMode saved = FMode;
  FMode = rmAppend;
  try {
    TStringList::SetTextStr(text);
  } catch (...) {
    FMode = saved;
    throw;
  }
  FMode = saved;
  DeleteExceed();
}

Integer TSvRecentStrings::UserData(Integer index) const {
  return UserDataOfObject(Objects(index));
}

void TSvRecentStrings::SetUserData(Integer index, Integer userData) {
  PutObject(index, UserDataObject(userData));
}

String RecentAccelText(Integer n) {
  if (n < 10) return String(u"&") + Char(u'0' + n);
  if (n <= 100) return String(u"&") + Char(u'A' + n - 10);
  return u" ";
}

String ShortenWithStartEllipsis(const String& text, Integer maxLength) {
  if (maxLength <= 0 || static_cast<Integer>(text.size()) <= maxLength) return text;
  return u"..." + text.substr(text.size() - static_cast<size_t>(maxLength));
}

String RecentCaptionPart(const String& text) {
  const size_t bar = text.find(u'|');
  return bar == String::npos ? text : text.substr(0, bar);
}

String RecentHintPart(const String& text) {
  const size_t bar = text.find(u'|');
  return bar == String::npos ? String() : text.substr(bar + 1);
}

namespace {
String ItemValueName(Integer index) {
  return Format(u"Item_%d", {index});
}
String UserValueName(Integer index) {
  return Format(u"User_%d", {index});
}

// The highest n of the "Item_n" values in the folder, -1 for none: reading
// stops there, so a huge capacity costs no more than the stored entries.
Integer HighestStoredItem(TSvCustomAppStorage& store, const String& path) {
  TStringList names;
  store.GetStoredValues(path, names, TSvAppStorageEnumOptions{aeoValues, aeoReportRelative});
  Integer highest = -1;
  for (Integer i = 0; i < names.Count(); ++i) {
    const String name = names[i];
    if (!StartsText(u"Item_", name)) continue;
    Integer index = 0;
    if (TryStrToInt(StringView(name).substr(5), index) && index > highest) highest = index;
  }
  return highest;
}
}  // namespace

void SaveRecentList(TSvCustomAppStorage& store, const String& path, const TStrings& list,
                    const TRecentItemWriter& writer) {
  store.BeginUpdate();
  try {
    store.DeleteSubTree(path);
    for (Integer i = 0; i < list.Count(); ++i) {
      const Integer userData = UserDataOfObject(list.Objects(i));
      if (writer) {
        writer(path, i, list[i], userData);
        continue;
      }
      store.WriteString(TSvCustomAppStorage::ConcatPaths({path, ItemValueName(i)}), list[i]);
      const String userPath = TSvCustomAppStorage::ConcatPaths({path, UserValueName(i)});
      if (userData != 0)
        store.WriteInteger(userPath, userData);
      else
        store.DeleteValue(userPath);
    }
  } catch (...) {
    store.EndUpdate();
    throw;
  }
  store.EndUpdate();
}

void LoadRecentList(TSvCustomAppStorage& store, const String& path, Integer capacity, const TRecentItemAdder& add,
                    const TRecentItemReader& reader) {
  store.BeginUpdate();
  try {
    Integer first = capacity - 1;
    if (!reader) first = std::min(first, HighestStoredItem(store, path));
    for (Integer i = first; i >= 0; --i) {
      String name;
      Integer userData = 0;
      if (reader) {
        reader(path, i, name, userData);
      } else {
        name = store.ReadString(TSvCustomAppStorage::ConcatPaths({path, ItemValueName(i)}), String());
        userData = store.ReadInteger(TSvCustomAppStorage::ConcatPaths({path, UserValueName(i)}), 0);
      }
      if (!name.empty()) add(name, userData);
    }
  } catch (...) {
    store.EndUpdate();
    throw;
  }
  store.EndUpdate();
}
