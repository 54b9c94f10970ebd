// Text conversion throughput over a large text that looks like form files:
// mostly ASCII, with accented letters, currency signs, Cyrillic and emoji.
#include <benchmark/benchmark.h>

#include "rtl/codepage.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

constexpr std::size_t kTextBytes = 50u << 20;

// Lines in UTF-8; the multi-byte ones are rarer, as in real forms.
const char* const kLines[] = {
    "  object Button1: TButton\r\n",
    "    Left = 120\r\n",
    "    Caption = 'Caf\xC3\xA9 cr\xC3\xA8me'\r\n",
    "    Hint = 'Price in \xE2\x82\xAC and \xC2\xA3'\r\n",
    "    Font.Name = 'Tahoma'\r\n",
    "    TabOrder = 3\r\n",
    "    Caption = '\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82'\r\n",
    "    OnClick = Button1Click\r\n",
    "    Text = 'smile \xF0\x9F\x98\x80'\r\n",
    "  end\r\n",
};

// Lines whose every character exists in code page 1252.
const char* const kWesternLines[] = {
    "  object Label1: TLabel\r\n",
    "    Caption = 'Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65'\r\n",
    "    Hint = 'Price in \xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9Cquoted\xE2\x80\x9D'\r\n",
    "    Left = 8\r\n",
    "  end\r\n",
};

template <std::size_t N>
std::string BuildText(const char* const (&lines)[N]) {
  std::string text;
  text.reserve(kTextBytes + 128);
  for (std::size_t i = 0; text.size() < kTextBytes; ++i) text += lines[i % N];
  return text;
}

const std::string& MixedUtf8() {
  static const std::string text = BuildText(kLines);
  return text;
}

const String& MixedUtf16() {
  static const String text = UTF8ToString(MixedUtf8());
  return text;
}

const String& WesternUtf16() {
  static const String text = UTF8ToString(BuildText(kWesternLines));
  return text;
}

const AnsiString& Western1252() {
  static const AnsiString text = StringToAnsi(WesternUtf16(), 1252);
  return text;
}

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string& input = MixedUtf8();
  for (auto _ : state) benchmark::DoNotOptimize(UTF8ToString(input));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_Utf16ToUtf8(benchmark::State& state) {
  const String& input = MixedUtf16();
  for (auto _ : state) benchmark::DoNotOptimize(StringToUTF8(input));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MixedUtf8().size()));
}

void BM_Cp1252ToUtf16(benchmark::State& state) {
  const AnsiString& input = Western1252();
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToString(input, 1252));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_Utf16ToCp1252(benchmark::State& state) {
  const String& input = WesternUtf16();
  for (auto _ : state) benchmark::DoNotOptimize(StringToAnsi(input, 1252));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Western1252().size()));
}

void BM_AnsiUpperCase(benchmark::State& state) {
  const String& input = MixedUtf16();
  for (auto _ : state) benchmark::DoNotOptimize(AnsiUpperCase(input));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size() * sizeof(Char)));
}

}  // namespace

BENCHMARK(BM_Utf8ToUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf16ToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cp1252ToUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf16ToCp1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnsiUpperCase)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
