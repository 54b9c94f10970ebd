#include "typeinfo_types.h"

KST_CLASS_IMPL(TGadgetFont, "Gadgets")
KST_CLASS_IMPL(TGadget, "Gadgets")
KST_CLASS_IMPL(TBigGadget, "Gadgets")

namespace probe_types {

const TEnumTypeInfo& Letter() {
  static const TEnumTypeInfo t(u"TLetter", u"Letters", {u"a", u"b", u"c", u"d"});
  return t;
}
const TSetTypeInfo& Letters() {
  static const TSetTypeInfo t(u"TLetters", u"Letters", Letter());
  return t;
}
const TEnumTypeInfo& MiddleLetter() {
  static const TEnumTypeInfo t(u"TMiddle", u"Letters", Letter(), 1, 2);
  return t;
}
const TOrdinalTypeInfo& Nibble() {
  static const TOrdinalTypeInfo t(tkInteger, u"TNibble", u"Letters", otUByte, 0, 15);
  return t;
}
const TSetTypeInfo& Nibbles() {
  static const TSetTypeInfo t(u"TNibbles", u"Letters", Nibble());
  return t;
}
const TSetTypeInfo& Bytes() {
  static const TSetTypeInfo t(u"TBytesSet", u"Letters", types::Byte());
  return t;
}
const TOrdinalTypeInfo& SevenEight() {
  static const TOrdinalTypeInfo t(tkInteger, u"TSevenEight", u"Letters", otUByte, 7, 8);
  return t;
}
const TSetTypeInfo& SevenEights() {
  static const TSetTypeInfo t(u"TSevenEights", u"Letters", SevenEight());
  return t;
}
const TOrdinalTypeInfo& LowerCase() {
  static const TOrdinalTypeInfo t(tkChar, u"TLowerCase", u"Letters", otUByte, 'a', 'z');
  return t;
}
const TMethodTypeInfo& NoParams() {
  static const TMethodTypeInfo t(u"TSimpleEvent", u"Letters", mkProcedure, {});
  return t;
}
const TMethodTypeInfo& Lookup() {
  static const TMethodTypeInfo t(
      u"TLookupEvent", u"Letters", mkFunction,
      {{ParamFlagBit(pfVar), u"Key", u"string"},
       {ParamFlagBit(pfConst), u"Values", u"Integer"},
       {ParamFlagBit(pfOut), u"Found", u"TObject"},
       {static_cast<TParamFlags>(ParamFlagBit(pfConst) | ParamFlagBit(pfArray)), u"Args", u"TVarRec"},
       {ParamFlagBit(pfArray), u"Names", u"string"},
       {0, u"Data", u""}},
      u"Boolean");
  return t;
}
const TInterfaceTypeInfo& Unknown() {
  static const TInterfaceTypeInfo t(u"IUnknown", u"System", nullptr, 1u << ifHasGuid,
                                    MakeGUID(0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), 3);
  return t;
}
const TInterfaceTypeInfo& Storable() {
  static const TInterfaceTypeInfo t(
      u"IStorable", u"Storage", &Unknown(), 1u << ifHasGuid,
      MakeGUID(0x5F2A8C6D, 0xE193, 0x47B0, {0xB5, 0xD2, 0x0A, 0x6E, 0x94, 0xC3, 0x1F, 0x78}), 5);
  return t;
}
const TInterfaceTypeInfo& Dispatch() {
  static const TInterfaceTypeInfo t(u"DGadget", u"Gadgets", &Storable(), (1u << ifDispInterface) | (1u << ifDispatch),
                                    MakeGUID(1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}), 0);
  return t;
}
const TDynArrayTypeInfo& IntegerArray() {
  static const TDynArrayTypeInfo t(u"TIntegerArray", u"Letters", 4, &types::Integer(), 3, false);
  return t;
}
const TDynArrayTypeInfo& AnonymousArray() {
  static const TEnumTypeInfo element(u".1", u"Letters", {u"x", u"y"});
  static const TDynArrayTypeInfo t(u".2", u"Letters", 1, &element, 17, false);
  return t;
}

}  // namespace probe_types

const TTypeInfo& DescribeType(TypeTag<TLetter>) {
  return probe_types::Letter();
}
const TTypeInfo& DescribeType(TypeTag<TLetters>) {
  return probe_types::Letters();
}

void TGadgetFont::Describe(TClassBuilder<TGadgetFont>& c) {
  c.Property(u"Name", &TGadgetFont::Name);
}

void TGadget::Describe(TClassBuilder<TGadget>& c) {
  c.Property(u"Size", &TGadget::Size).Default(0);
  c.Property(u"Letter", &TGadget::Letter);
  c.Property(u"Letters", &TGadget::Letters);
  c.Property(u"Ratio", &TGadget::Ratio);
  c.Property(u"Caption", &TGadget::Caption);
  c.Property(u"Big", &TGadget::Big);
  c.Property(u"Buddy", &TGadget::Buddy);
  c.Property(u"Font", &TGadget::GetFont);
  c.Property(u"OnChange", &TGadget::OnChange);
}

void TBigGadget::Describe(TClassBuilder<TBigGadget>& c) {
  c.Implements(probe_types::Storable());
  c.Property(u"Depth", &TBigGadget::Depth).Index(2).Default(5);
  c.ReaderSpecifier(pskField, 0x48).WriterSpecifier(pskVirtualMethod, 0x1C).StoredSpecifier(pskStaticMethod, 0x401A2C);
}
