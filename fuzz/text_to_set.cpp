// Set text from outside (settings values): TextToSet writes only the set's
// own storage bytes and no bit outside its members, fails only with the
// system's errors, and what it reads comes back unchanged through SetToText.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"
#include "services/typeinfowrappers.h"

namespace {

const TEnumTypeInfo& Letter() {
  static const TEnumTypeInfo t(u"TLetter", u"Fuzz", {u"a", u"b", u"c", u"d", u"e"});
  return t;
}
const TEnumTypeInfo& MiddleLetter() {
  static const TEnumTypeInfo t(u"TMiddle", u"Fuzz", Letter(), 1, 3);
  return t;
}

// Set types over member ranges that start and end inside bytes, cross byte
// boundaries and fill the whole 0..255 range.
std::vector<std::unique_ptr<TSetTypeInfo>> MakeSetTypes() {
  static const TOrdinalTypeInfo ranges[] = {
      {tkInteger, u"T0_15", u"Fuzz", otUByte, 0, 15},   {tkInteger, u"T7_8", u"Fuzz", otUByte, 7, 8},
      {tkInteger, u"T8_15", u"Fuzz", otUByte, 8, 15},   {tkInteger, u"T13_40", u"Fuzz", otUByte, 13, 40},
      {tkInteger, u"T255", u"Fuzz", otUByte, 255, 255}, {tkChar, u"TLower", u"Fuzz", otUByte, 'a', 'z'},
  };
  std::vector<std::unique_ptr<TSetTypeInfo>> sets;
  sets.push_back(std::make_unique<TSetTypeInfo>(u"TLetters", u"Fuzz", Letter()));
  sets.push_back(std::make_unique<TSetTypeInfo>(u"TMiddles", u"Fuzz", MiddleLetter()));
  sets.push_back(std::make_unique<TSetTypeInfo>(u"TBooleans", u"Fuzz", types::Boolean()));
  sets.push_back(std::make_unique<TSetTypeInfo>(u"TBytes", u"Fuzz", types::Byte()));
  for (const auto& range : ranges) sets.push_back(std::make_unique<TSetTypeInfo>(u"TRangeSet", u"Fuzz", range));
  return sets;
}

bool OnlyMemberBits(const TSetTypeInfo& type, const std::vector<Byte>& storage) {
  for (int bit = 0; bit < 8 * type.StorageSize(); ++bit) {
    bool member = bit >= type.FirstBit() && bit <= type.LastBit();
    if (!member && ((storage[static_cast<size_t>(bit / 8)] >> (bit % 8)) & 1)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto setTypes = MakeSetTypes();
  if (size == 0) return 0;
  const TSetTypeInfo& type = *setTypes[data[0] % setTypes.size()];
  const String text = UTF8ToString(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

  // Exactly the set's bytes on the heap: a write beyond them is caught.
  std::vector<Byte> storage(static_cast<size_t>(type.StorageSize()), 0xFF);
  bool read = false;
  try {
    TextToSet(type, storage.data(), text);
    read = true;
  } catch (const EUtRTTIError&) {
  } catch (const EConvertError&) {
  }
  // Also a failed read has cleared the storage and set members only.
  if (!OnlyMemberBits(type, storage)) std::abort();
  if (!read) return 0;

  for (bool ranges : {false, true}) {
    std::vector<Byte> again(storage.size(), 0xFF);
    TextToSet(type, again.data(), SetToText(type, storage.data(), true, ranges));
    if (again != storage) std::abort();
  }
  return 0;
}
