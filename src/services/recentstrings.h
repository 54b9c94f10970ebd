// The list behind the recent-files menu: a bounded list of names, newest at
// the front or at the end, each with an integer of user data, and the parts
// of the menu and of the settings that need no window: the short-cut texts,
// the shortened captions and the list's layout in the settings store.
#pragma once

#include <functional>

#include "classes/reflection.h"
#include "rtl/stringlist.h"
#include "services/appstorage.h"

enum TRecentMode { rmInsert, rmAppend };
enum TMenuLocation { mruChild, mruSibling };
enum TAccelDelimiter { adTab, adSpace };

const TTypeInfo& DescribeType(TypeTag<TRecentMode>);
const TTypeInfo& DescribeType(TypeTag<TMenuLocation>);
const TTypeInfo& DescribeType(TypeTag<TAccelDelimiter>);
const TTypeInfo& DescribeType(TypeTag<TDuplicates>);

inline constexpr Integer kDefaultRecentCapacity = 10;

// Names compare without regard to letter case. Each line's object slot
// carries the entry's user data.
class TSvRecentStrings : public TStringList {
 public:
  TSvRecentStrings();

  Integer MaxSize() const { return FMaxSize; }
  // Never below 1; the excess goes at once.
  void SetMaxSize(Integer value);
  TRecentMode Mode() const { return FMode; }
  void SetMode(TRecentMode value) { FMode = value; }

  // A new name enters at the front (rmInsert) or the end (rmAppend); a listed
  // one moves there. The index the name has now.
  Integer Add(const String& s) override;
  // The first MaxSize lines of the source with their user data, so that the
  // source's first line ends up first.
  void AddStrings(const TStrings& strings) override;
  void Remove(const String& s);
  // Drops lines beyond MaxSize at the end names do not enter from.
  void DeleteExceed();
  // Lines keep their order.
  void SetTextStr(const String& text) override;

  Integer UserData(Integer index) const;
  void SetUserData(Integer index, Integer userData);

 private:
  Integer FMaxSize = kDefaultRecentCapacity;
  TRecentMode FMode = rmInsert;
};

// The accelerator of entry number n: "&1" to "&9", "&A" onward from 10, a
// blank past 100.
String RecentAccelText(Integer n);
inline Char AccelDelimiterChar(TAccelDelimiter delimiter) {
  return delimiter == adTab ? u'\t' : u' ';
}
// "..." and the last maxLength characters of a longer text; a text that fits
// (or any text when maxLength is not positive) whole.
String ShortenWithStartEllipsis(const String& text, Integer maxLength);
// The caption an entry's text has on its menu item: before the "|"; the hint after it.
String RecentCaptionPart(const String& text);
String RecentHintPart(const String& text);

// ---- In the settings store ----------------------------------------------------
// One folder per list; entry i is "Item_i" and, when it is not 0, its user data "User_i".

using TRecentItemWriter = std::function<void(const String& path, Integer index, const String& name, Integer userData)>;
using TRecentItemReader = std::function<void(const String& path, Integer index, String& name, Integer& userData)>;
using TRecentItemAdder = std::function<void(const String& name, Integer userData)>;

// Replaces the folder with the list; a writer, when given, writes each entry instead.
void SaveRecentList(TSvCustomAppStorage& store, const String& path, const TStrings& list,
                    const TRecentItemWriter& writer = nullptr);
// Reads entries capacity-1 down to 0 and hands every non-empty name to add,
// the highest index first, so that with insertion at the front entry 0 ends
// first. A reader, when given, reads each entry instead.
void LoadRecentList(TSvCustomAppStorage& store, const String& path, Integer capacity, const TRecentItemAdder& add,
                    const TRecentItemReader& reader = nullptr);
