// Conversion speed over a large form: copies of the largest text form of the
// corpus (../shared/corpus, or the folders of KESTRUM_CORPUS_DIRS) placed
// under one root until the text is about 50 MB. Throughput counts bytes of
// text in both directions; the peak heap use of one conversion is reported
// beside it, as a multiple of the input.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "../tests/support/form_corpus.h"
#include "formfile/formconvert.h"
#include "rtl/streams.h"

namespace {

std::atomic<size_t> gLiveBytes{0};
std::atomic<size_t> gPeakBytes{0};

void Count(size_t size) {
  size_t live = gLiveBytes.fetch_add(size) + size;
  size_t peak = gPeakBytes.load();
  while (live > peak && !gPeakBytes.compare_exchange_weak(peak, live)) {
  }
}

}  // namespace

// Heap accounting for the peak figures: every allocation carries its size.
void* operator new(size_t size) {
  auto* block = static_cast<size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (block == nullptr) throw std::bad_alloc();
  *block = size;
  Count(size);
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}

// The compiler cannot see that the block came from malloc in operator new.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  auto* block = reinterpret_cast<size_t*>(static_cast<char*>(pointer) - sizeof(std::max_align_t));
  gLiveBytes.fetch_sub(*block);
  std::free(block);
}
#pragma GCC diagnostic pop

void operator delete(void* pointer, size_t) noexcept {
  operator delete(pointer);
}

namespace {

constexpr size_t kTargetSize = 50u << 20;

std::string IndentLines(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string_view line(text.data() + start, end - start);
    if (line != "\r\n" && line != "\n") result += "  ";
    result.append(line);
    start = end;
  }
  return result;
}

// The large form and its binary encoding, built once.
struct TLargeForm {
  std::string Text;
  std::string Binary;
  std::string Source;
  int Copies = 0;
};

const TLargeForm& LargeForm() {
  static const TLargeForm form = [] {
    TLargeForm result;
    std::string largest;
    for (const auto& file : formfile_test::CorpusFiles()) {
      std::string data = formfile_test::ReadWholeFile(file.File);
      if (formfile_test::DetectEncoding(data) != formfile_test::TFormEncoding::Text) continue;
      if (data.size() > largest.size()) {
        largest = std::move(data);
        result.Source = file.Name;
      }
    }
    if (largest.empty()) return result;
    bool utf8 = largest.rfind("\xEF\xBB\xBF", 0) == 0;
    if (utf8) largest.erase(0, 3);
    std::string child = IndentLines(largest);
    result.Text = utf8 ? "\xEF\xBB\xBF" : "";
    result.Text += "object Forms: TForms\r\n";
    while (result.Text.size() < kTargetSize) {
      result.Text += child;
      ++result.Copies;
    }
    result.Text += "end\r\n";
    TBytesStream input(TBytes(result.Text.begin(), result.Text.end()));
    TBytesStream output;
    FormTextToBinary(input, output);
    result.Binary.assign(output.Bytes().begin(), output.Bytes().end());
    return result;
  }();
  return form;
}

void ReportPeak(benchmark::State& state, size_t before, size_t inputSize) {
  double peak = static_cast<double>(gPeakBytes.load() - before);
  state.counters["peak_heap_MB"] = peak / (1 << 20);
  state.counters["peak_per_input"] = peak / static_cast<double>(inputSize);
}

void TextToBinary(benchmark::State& state) {
  const TLargeForm& form = LargeForm();
  if (form.Text.empty()) {
    state.SkipWithError("no text form in the corpus");
    return;
  }
  TBytesStream input(TBytes(form.Text.begin(), form.Text.end()));
  size_t before = 0;
  for (auto _ : state) {
    input.SetPosition(0);
    before = gLiveBytes.load();
    gPeakBytes.store(before);
    TMemoryStream output;
    FormTextToBinary(input, output);
    benchmark::DoNotOptimize(output.Memory());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * form.Text.size()));
  ReportPeak(state, before, form.Text.size());
  state.SetLabel(form.Source + " x" + std::to_string(form.Copies) + ", " + std::to_string(form.Text.size() >> 20) +
                 " MB of text");
}

void BinaryToText(benchmark::State& state) {
  const TLargeForm& form = LargeForm();
  if (form.Binary.empty()) {
    state.SkipWithError("no text form in the corpus");
    return;
  }
  TBytesStream input(TBytes(form.Binary.begin(), form.Binary.end()));
  size_t before = 0;
  for (auto _ : state) {
    input.SetPosition(0);
    before = gLiveBytes.load();
    gPeakBytes.store(before);
    TMemoryStream output;
    FormBinaryToText(input, output);
    benchmark::DoNotOptimize(output.Memory());
  }
  // Measured in text, the same unit as the other direction.
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * form.Text.size()));
  ReportPeak(state, before, form.Binary.size());
  state.SetLabel(std::to_string(form.Binary.size() >> 20) + " MB of binary");
}

BENCHMARK(TextToBinary)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BinaryToText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
