// Form resources of an executable come back as the text they were made from.
#include <gtest/gtest.h>

#include "formfile/formconvert.h"
#include "pe/pereader.h"
#include "rtl/stringlist.h"
#include "rtl/unicode.h"
#include "support/image_builder.h"

namespace {

using namespace imagebuilder;

const char kForm1[] =
    "object Form1: TForm1\r\n"
    "  Left = 192\r\n"
    "  Top = 107\r\n"
    "  Caption = 'Main window'\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 8\r\n"
    "    Caption = 'OK'\r\n"
    "  end\r\n"
    "end\r\n";

const char kAbout[] =
    "object AboutBox: TAbout\r\n"
    "  Caption = 'About'\r\n"
    "  Lines.Strings = (\r\n"
    "    'one'\r\n"
    "    'two')\r\n"
    "end\r\n";

TBytes BinaryForm(std::string_view text) {
  TBytesStream input(TBytes(text.begin(), text.end()));
  TBytesStream output;
  FormTextToBinary(input, output);
  return output.Bytes();
}

String Lines(const TStrings& lines) {
  return lines.Text();
}

PeImageBuilder FormImage() {
  PeImageBuilder builder(false);
  // A bitmap of the same name comes before the form in the resource list.
  builder.AddResources({
      {Word{2}, String(u"TFORM1"), 0x409, TBytes{'B', 'M', 0, 0, 0, 0}, 0},
      RcData(u"TFORM1", BinaryForm(kForm1), 0x409),
      RcData(u"TFORM1", BinaryForm(kForm1), 0x407),
      RcData(u"TABOUT", BinaryForm(kAbout), 0x409),
      RcData(u"TBROKEN", TBytes{'T', 'P', 'F', '0', 0x06, 'T'}, 0x409),
  });
  return builder;
}

TEST(FormResources, FormsComeBackAsTheirText) {
  PeImageBuilder wide(true);
  wide.AddResources({RcData(u"TABOUT", BinaryForm(kAbout))});
  TPEReader wideReader;
  wideReader.LoadFromBytes(wide.Build());
  TStringList about;
  wideReader.GetFormSource(0, about);
  EXPECT_EQ(Lines(about), S(kAbout));

  TPEReader reader;
  reader.LoadFromBytes(FormImage().Build());
  ASSERT_EQ(reader.FormCount(), 4);
  EXPECT_EQ(reader.Forms(0), u"TABOUT");
  EXPECT_EQ(reader.Forms(1), u"TBROKEN");
  EXPECT_EQ(reader.Forms(2), u"TFORM1");
  EXPECT_EQ(reader.Forms(3), u"TFORM1");
  TStringList lines;
  reader.GetFormSource(2, lines);
  EXPECT_EQ(Lines(lines), S(kForm1));
  EXPECT_EQ(lines[0], u"object Form1: TForm1");
}

TEST(FormResources, TheFirstResourceOfANameNeedNotBeAForm) {
  TPEReader reader;
  reader.LoadFromBytes(FormImage().Build());
  TResourceItem item;
  reader.GetResourceByName(u"tform1", item);
  EXPECT_EQ(item.Typ, 2);
  TStringList lines;
  lines.Add(u"stale");
  FormResourceToStrings(item, lines);
  EXPECT_EQ(lines.Count(), 0);
}

TEST(FormResources, ADamagedFormRaisesAfterClearing) {
  TPEReader reader;
  reader.LoadFromBytes(FormImage().Build());
  TStringList lines;
  lines.Add(u"stale");
  EXPECT_THROW(reader.GetFormSource(1, lines), EReadError);
  EXPECT_EQ(lines.Count(), 0);
}

TEST(FormResources, RawStreamReadsTheDataInPlace) {
  TPEReader reader;
  reader.LoadFromBytes(FormImage().Build());
  const TResourceItem& bitmap = reader.Resources()[0];
  TResourceRawStream stream(bitmap);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Memory(), bitmap.RawDataAddress);
  Byte b = 'X';
  EXPECT_EQ(stream.Write(&b, 1), 0);
  Byte first[2];
  stream.ReadBuffer(first, 2);
  EXPECT_EQ(first[1], 'M');

  TResourceItem outside = bitmap;
  outside.RawDataAddress = nullptr;
  EXPECT_EQ(TResourceRawStream(outside).Size(), 0);
}

}  // namespace
