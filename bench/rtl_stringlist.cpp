// String-list text: splitting a 50 MB text into lines and joining them again,
// the work behind loading and saving a large form text.
#include <benchmark/benchmark.h>

#include "rtl/encoding.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"

namespace {

// Lines of form-file shape and mixed lengths, CR LF separated, 50 MB of UTF-16.
const String& LargeText() {
  static const String text = [] {
    const String samples[] = {u"object Form1: TForm1",
                              u"  Left = 192",
                              u"  Caption = 'Main window of the application with a longer caption'",
                              u"",
                              u"    Items.Strings = (",
                              u"      'first \u00E9l\u00E9ment'",
                              u"end"};
    constexpr size_t kBytes = 50u << 20;
    String result;
    result.reserve(kBytes / sizeof(Char) + 128);
    for (size_t i = 0; result.size() * sizeof(Char) < kBytes; ++i) {
      result += samples[i % std::size(samples)];
      result += u"\r\n";
    }
    return result;
  }();
  return text;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(LargeText().size() * sizeof(Char)));
}

void BM_StringListSplit(benchmark::State& state) {
  const String& text = LargeText();
  for (auto _ : state) {
    TStringList list;
    list.SetText(text);
    benchmark::DoNotOptimize(list.Count());
  }
  SetBytes(state);
}
BENCHMARK(BM_StringListSplit)->Unit(benchmark::kMillisecond);

void BM_StringListJoin(benchmark::State& state) {
  TStringList list;
  list.SetText(LargeText());
  for (auto _ : state) {
    String text = list.Text();
    benchmark::DoNotOptimize(text.data());
  }
  SetBytes(state);
}
BENCHMARK(BM_StringListJoin)->Unit(benchmark::kMillisecond);

// The whole road of a file: UTF-8 bytes with a byte order mark to lines.
void BM_StringListLoadUTF8(benchmark::State& state) {
  TStringList source;
  source.SetText(LargeText());
  TMemoryStream stream;
  source.SaveToStream(stream, TEncoding::UTF8());
  for (auto _ : state) {
    stream.SetPosition(0);
    TStringList list;
    list.LoadFromStream(stream);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * stream.Size());
}
BENCHMARK(BM_StringListLoadUTF8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
