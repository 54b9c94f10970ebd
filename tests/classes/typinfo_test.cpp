#include "classes/typinfo.h"

#include <gtest/gtest.h>

#include "classes/component.h"
#include "rtl/unicode.h"

namespace {

TEST(SetLayout, StorageStartsAtTheByteOfTheLowestMember) {
  struct Case {
    Int64 min, max;
    int firstByte, storageSize, firstBit, lastBit;
  } cases[] = {{0, 3, 0, 1, 0, 3},      {7, 8, 0, 2, 7, 8},    {8, 15, 1, 1, 0, 7},
               {0, 255, 0, 32, 0, 255}, {13, 40, 1, 5, 5, 32}, {255, 255, 31, 1, 7, 7}};
  for (const auto& c : cases) {
    TOrdinalTypeInfo member(tkInteger, u"TRange", u"Probe", otUByte, c.min, c.max);
    TSetTypeInfo set(u"TRangeSet", u"Probe", member);
    EXPECT_EQ(set.FirstByte(), c.firstByte) << c.min << ".." << c.max;
    EXPECT_EQ(set.StorageSize(), c.storageSize) << c.min << ".." << c.max;
    EXPECT_EQ(set.FirstBit(), c.firstBit) << c.min << ".." << c.max;
    EXPECT_EQ(set.LastBit(), c.lastBit) << c.min << ".." << c.max;
  }
}

TEST(SetLayout, OrdinalValuesMoveToStorageAndBack) {
  TOrdinalTypeInfo member(tkInteger, u"TRange", u"Probe", otUByte, 8, 15);
  TSetTypeInfo set(u"TRangeSet", u"Probe", member);
  Byte storage[1] = {0};
  set.OrdinalToStorage((Int64{1} << 8) | (Int64{1} << 15), storage);
  EXPECT_EQ(storage[0], 0x81);
  EXPECT_EQ(set.StorageToOrdinal(storage), (Int64{1} << 8) | (Int64{1} << 15));

  Byte wide[32];
  std::fill(std::begin(wide), std::end(wide), Byte{0xAA});
  TSetTypeInfo bytes(u"TByteSet", u"Probe", types::Byte());
  bytes.OrdinalToStorage(0x0102, wide);
  EXPECT_EQ(wide[0], 0x02);
  EXPECT_EQ(wide[1], 0x01);
  EXPECT_EQ(wide[8], 0x00) << "bytes beyond an ordinal value are cleared";
  EXPECT_EQ(wide[31], 0x00);
}

TEST(SetLayout, MembersMustLieWithinAByte) {
  EXPECT_THROW(TSetTypeInfo(u"TBad", u"Probe", types::Integer()), EInvalidOperation);
  TOrdinalTypeInfo high(tkInteger, u"THigh", u"Probe", otSWord, 200, 256);
  EXPECT_THROW(TSetTypeInfo(u"TBad", u"Probe", high), EInvalidOperation);
  EXPECT_NO_THROW(TSetTypeInfo(u"TChars", u"Probe", types::Char()));
}

TEST(TypeInfoExtras, GuidTextAndParameterRecordSize) {
  constexpr TGUID guid = MakeGUID(0x3C9F4120, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  EXPECT_EQ(guid[0], 0x20);
  EXPECT_EQ(guid[3], 0x3C);
  EXPECT_EQ(GUIDToString(guid), u"{3C9F4120-8B2D-4E67-9A15-D2C07E4B6A31}");
  EXPECT_EQ(GUIDToString(TGUID{}), u"{00000000-0000-0000-0000-000000000000}");
  EXPECT_EQ((TMethodParam{0, u"Sender", u"TObject"}.RecSize()), 3 + 6 + 7);
  EXPECT_EQ((TMethodParam{0, u"\u00e4", u""}.RecSize()), 3 + 2) << "names count as UTF-8 bytes";
  EXPECT_EQ(types::MethodKind().GetEnumName(mkFunction), u"mkFunction");
  EXPECT_EQ(types::ParamFlags().CompType().MaxValue(), pfResult);
}

const TInterfaceTypeInfo& Unknown() {
  static const TInterfaceTypeInfo t(u"IUnknown", u"System", nullptr, TIntfFlags{1u << ifHasGuid},
                                    MakeGUID(0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), 3);
  return t;
}

class TSpecProbe : public TComponent {
  KST_CLASS(TSpecProbe, TComponent)
 public:
  using TComponent::TComponent;
  Integer Width = 0;
  Integer Height = 0;
  virtual Integer GetDepth() const { return 3; }
  Integer GetArea() const { return Width * Height; }
  void SetArea(Integer) {}
  bool AreaStored() const { return Width > 0; }
};
KST_CLASS_IMPL(TSpecProbe, "Probe")
void TSpecProbe::Describe(TClassBuilder<TSpecProbe>& c) {
  c.Implements(Unknown());
  c.Property(u"Width", &TSpecProbe::Width).Default(0);
  c.Property(u"Height", &TSpecProbe::Height).Stored(false);
  c.Property(u"Depth", &TSpecProbe::GetDepth);
  c.Property(u"Area", &TSpecProbe::GetArea, &TSpecProbe::SetArea).StoredWhen(&TSpecProbe::AreaStored);
  c.Property(u"Volume", [](const TSpecProbe&) { return 0; })
      .ReaderSpecifier(pskVirtualMethod, 0x1C)
      .StoredSpecifier(pskConstant, 0);
}

TEST(PropertySpecifiers, KindsValuesAndTheirEncoding) {
  TSpecProbe probe(nullptr);
  const auto& cls = TSpecProbe::StaticClass();
  auto offsetOf = [&](const Integer& member) {
    return static_cast<Cardinal>(reinterpret_cast<const char*>(&member) - reinterpret_cast<const char*>(&probe));
  };
  const TPropInfo* width = cls.FindProperty(u"Width");
  EXPECT_EQ(width->ReaderKind(), pskField);
  EXPECT_EQ(width->ReaderValue(), offsetOf(probe.Width));
  EXPECT_EQ(width->Reader(), 0xFF000000u | offsetOf(probe.Width));
  EXPECT_EQ(cls.FindProperty(u"Height")->WriterValue(), offsetOf(probe.Height));
  EXPECT_EQ(width->StoredKind(), pskConstant);
  EXPECT_EQ(width->StoredProc(), 1u);
  EXPECT_EQ(cls.FindProperty(u"Height")->StoredProc(), 0u);

  const TPropInfo* depth = cls.FindProperty(u"Depth");
  EXPECT_EQ(depth->ReaderKind(), pskVirtualMethod);
  EXPECT_EQ(depth->ReaderValue() % sizeof(void*), 0u) << "a byte offset in the virtual table";
  EXPECT_EQ(depth->Reader(), 0xFE000000u | depth->ReaderValue());
  EXPECT_EQ(depth->WriterKind(), pskNone);
  EXPECT_EQ(depth->Writer(), 0u);

  const TPropInfo* area = cls.FindProperty(u"Area");
  EXPECT_EQ(area->ReaderKind(), pskStaticMethod);
  EXPECT_EQ(area->WriterKind(), pskStaticMethod);
  EXPECT_NE(area->ReaderValue(), area->WriterValue());
  EXPECT_EQ(area->StoredKind(), pskStaticMethod);
  EXPECT_FALSE(area->IsStored(probe));
  probe.Width = 2;
  EXPECT_TRUE(area->IsStored(probe));

  const TPropInfo* volume = cls.FindProperty(u"Volume");
  EXPECT_EQ(volume->Reader(), 0xFE00001Cu);
  EXPECT_FALSE(volume->IsStored(probe));
  EXPECT_EQ(cls.Interfaces().size(), 1u);
  EXPECT_EQ(TComponent::StaticClass().Interfaces().size(), 0u);
}

}  // namespace
