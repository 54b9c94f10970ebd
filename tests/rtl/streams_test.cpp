#include "rtl/streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "rtl/encoding.h"
#include "rtl/exceptions.h"
#include "rtl/files.h"
#include "rtl/temp_folder.h"
#include "rtl/unicode.h"

namespace {

constexpr Int64 kHuge = std::numeric_limits<Int64>::max();

TBytes Content(TMemoryStream& stream) {
  return TBytes(stream.Memory(), stream.Memory() + stream.Size());
}

template <typename E>
String MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return u"<no exception>";
}

}  // namespace

TEST(MemoryStream, WritesGrowAndReadsStopAtTheEnd) {
  TMemoryStream stream;
  stream.WriteBuffer("hello", 5);
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_EQ(stream.Position(), 5);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 0);  // at the end
  stream.SetPosition(3);
  EXPECT_EQ(stream.Read(buffer, 8), 2);
  EXPECT_EQ(std::memcmp(buffer, "lo", 2), 0);
  stream.SetPosition(1);
  EXPECT_EQ(MessageOf<EReadError>([&] { stream.ReadBuffer(buffer, 5); }), u"Stream read error");
}

TEST(MemoryStream, PositionsOutsideTheDataReadNothing) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  char buffer[4] = {};
  // The platform lets any position be set; reading there yields nothing.
  EXPECT_EQ(stream.Seek(-10, soCurrent), -7);
  EXPECT_EQ(stream.Read(buffer, 3), 0);
  EXPECT_EQ(stream.Write("x", 1), 0);
  EXPECT_EQ(stream.Seek(kHuge, soCurrent), kHuge - 7);
  EXPECT_EQ(stream.Seek(kHuge, soEnd), kHuge);  // saturates instead of wrapping
  EXPECT_EQ(stream.Read(buffer, kHuge), 0);
  stream.SetPosition(0);
  EXPECT_EQ(stream.Read(buffer, -1), 0);
  EXPECT_EQ(stream.Read(buffer, kHuge), 3);  // a huge count reads what there is
  EXPECT_EQ(MessageOf<EReadError>([&] { stream.ReadBuffer(buffer, -1); }), u"Stream read error");
}

TEST(MemoryStream, WritingBeyondTheEndFillsTheGapWithZeros) {
  TMemoryStream stream;
  stream.SetPosition(3);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(Content(stream), (TBytes{0, 0, 0, 'z'}));
}

TEST(MemoryStream, SetSizeTruncatesAndKeepsThePositionInside) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2);
  EXPECT_EQ(Content(stream), (TBytes{'a', 'b'}));
  stream.SetSize(4);
  EXPECT_EQ(Content(stream), (TBytes{'a', 'b', 0, 0}));
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, ImpossibleSizesRaiseOutOfMemory) {
  TMemoryStream stream;
  stream.WriteBuffer("a", 1);
  const String expected = u"Out of memory while expanding memory stream";
  EXPECT_EQ(MessageOf<EOutOfMemory>([&] { stream.SetSize(kHuge); }), expected);
  EXPECT_EQ(MessageOf<EOutOfMemory>([&] { stream.SetCapacity(kHuge); }), expected);
  // A count that would overflow the position.
  stream.SetPosition(10);
  char byte = 0;
  EXPECT_EQ(MessageOf<EOutOfMemory>([&] { stream.Write(&byte, kHuge); }), expected);
  EXPECT_EQ(stream.Size(), 1);  // unchanged by the failures
}

TEST(MemoryStream, ManySmallWritesGrowGeometrically) {
  TMemoryStream stream;
  int reallocations = 0;
  Int64 capacity = stream.Capacity();
  for (int i = 0; i < 100000; ++i) {
    stream.WriteBuffer(&i, 1);
    if (stream.Capacity() != capacity) ++reallocations, capacity = stream.Capacity();
  }
  EXPECT_LT(reallocations, 40);
}

TEST(Stream, CopyFromZeroCopiesTheWholeSourceFromItsStart) {
  TBytesStream source(TBytes{1, 2, 3, 4, 5});
  source.SetPosition(3);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 5);
  EXPECT_EQ(Content(target), (TBytes{1, 2, 3, 4, 5}));

  source.SetPosition(1);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(source, 2), 2);
  EXPECT_EQ(Content(part), (TBytes{2, 3}));

  source.SetPosition(4);
  TMemoryStream tooMuch;
  EXPECT_EQ(MessageOf<EReadError>([&] { tooMuch.CopyFrom(source, kHuge); }), u"Stream read error");
}

TEST(Stream, CustomMemoryStreamStoresNothingAndWriteBufferFails) {
  struct Fixed : TCustomMemoryStream {
    explicit Fixed(Byte* data, Int64 size) { SetPointer(data, size); }
  };
  Byte data[3] = {7, 8, 9};
  Fixed stream(data, 3);
  EXPECT_EQ(stream.Write("x", 1), 0);
  EXPECT_EQ(MessageOf<EWriteError>([&] { stream.WriteBuffer("x", 1); }), u"Stream write error");
  stream.WriteBuffer("x", 0);  // nothing to write is no failure
  Byte out[3];
  stream.ReadBuffer(out, 3);
  EXPECT_EQ(out[2], 9);
}

TEST(StringStream, HoldsTheTextInItsEncoding) {
  TStringStream utf8(u"\u00E9t\u00E9", TEncoding::UTF8());
  EXPECT_EQ(utf8.Size(), 5);  // no preamble
  EXPECT_EQ(utf8.DataString(), u"\u00E9t\u00E9");
  utf8.SetPosition(5);
  utf8.WriteString(u"!");
  EXPECT_EQ(utf8.DataString(), u"\u00E9t\u00E9!");
  utf8.SetPosition(0);
  EXPECT_EQ(utf8.ReadString(2), u"\u00E9");
  EXPECT_EQ(utf8.ReadString(kHuge), u"t\u00E9!");

  TStringStream unicode(u"ab", TEncoding::Unicode());
  EXPECT_EQ(unicode.Bytes(), (TBytes{'a', 0, 'b', 0}));

  TStringStream raw(RawByteString("TPF0"));
  EXPECT_EQ(raw.Size(), 4);
  EXPECT_EQ(raw.DataString(), u"TPF0");
}

class FileStreamTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(FileStreamTest, CreatesWritesAndReadsBack) {
  const String name = folder.File(u"data.bin");
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer("0123456789", 10);
    EXPECT_EQ(file.Size(), 10);
    file.SetSize(4);
    EXPECT_EQ(file.Position(), 4);
    EXPECT_EQ(file.Size(), 4);
  }
  TFileStream file(name, fmOpenRead | fmShareDenyNone);
  EXPECT_EQ(file.Size(), 4);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 8), 4);
  EXPECT_EQ(std::memcmp(buffer, "0123", 4), 0);
  EXPECT_EQ(file.Seek(-1, soBeginning), -1);  // the system refuses a negative position
  EXPECT_EQ(file.Position(), 4);
  EXPECT_EQ(MessageOf<EWriteError>([&] { file.WriteBuffer("x", 1); }), u"Stream write error");

  TMemoryStream memory;
  memory.LoadFromFile(name);
  EXPECT_EQ(Content(memory), (TBytes{'0', '1', '2', '3'}));
  EXPECT_TRUE(FileExists(name));
}

TEST_F(FileStreamTest, FailuresNameTheFullPathAndTheSystemsReason) {
  const String missing = folder.File(u"missing.txt");
  String expected = u"Cannot open file \"" + ExpandFileName(missing) + u"\". ";
  String message = MessageOf<EFOpenError>([&] { TFileStream(missing, fmOpenRead); });
  ASSERT_EQ(message.substr(0, expected.size()), expected);
  EXPECT_GT(message.size(), expected.size());  // the system's text follows
  EXPECT_NE(message.back(), u'.');

  const String badFolder = folder.File(u"no-such-folder") + PathDelim + u"x.txt";
  expected = u"Cannot create file \"" + ExpandFileName(badFolder) + u"\". ";
  message = MessageOf<EFCreateError>([&] { TFileStream(badFolder, fmCreate); });
  EXPECT_EQ(message.substr(0, expected.size()), expected);

  // A folder is no file to open.
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(folder.Name(), fmOpenRead); }).substr(0, 18),
            u"Cannot open file \"");
}

TEST(SysErrorMessage, HasNoTrailingFullStopOrBlank) {
  int code = 0;
  if (FileOpen(u"", fmOpenRead) == InvalidHandle) code = GetLastOSError();
  String text = SysErrorMessage(code);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), u'.');
  EXPECT_NE(text.back(), u' ');
  EXPECT_NE(text.back(), u'\n');
}
