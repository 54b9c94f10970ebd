// Scanning a large form's text into the object tree's nodes: a real main form
// of the corpus (the text form with the most objects) repeated under one root
// to about 50 MB, as one text would come from the editor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "app/objectscan.h"
#include "rtl/unicode.h"
#include "support/form_corpus.h"

namespace {

constexpr size_t kTargetSize = 50u << 20;

struct TLargeText {
  TStringList Lines;
  size_t Bytes = 0;
};

void BuildLargeText(TLargeText* result) {
  std::string richest;
  size_t mostObjects = 0;
  for (const auto& file : formfile_test::CorpusFiles()) {
    std::string data = formfile_test::ReadWholeFile(file.File);
    if (formfile_test::DetectEncoding(data) != formfile_test::TFormEncoding::Text) continue;
    size_t objects = 0;
    for (size_t at = data.find("object "); at != std::string::npos; at = data.find("object ", at + 1)) ++objects;
    if (objects > mostObjects) {
      mostObjects = objects;
      richest = std::move(data);
    }
  }
  if (richest.empty()) return;
  std::string body;
  for (size_t start = 0; start < richest.size();) {
    size_t end = richest.find('\n', start);
    end = end == std::string::npos ? richest.size() : end + 1;
    body += "  ";
    body.append(richest, start, end - start);
    start = end;
  }
  std::string all = "object Forms: TForms\r\n";
  while (all.size() < kTargetSize) all += body;
  all += "end\r\n";
  result->Bytes = all.size();
  result->Lines.SetTextStr(UTF8ToString(all));
}

const TLargeText& LargeText() {
  static TLargeText text;
  static const bool built = (BuildLargeText(&text), true);
  (void)built;
  return text;
}

void ScanLargeForm(benchmark::State& state) {
  const TLargeText& text = LargeText();
  if (text.Lines.Count() == 0) {
    state.SkipWithError("no text form in the corpus");
    return;
  }
  size_t nodes = 0;
  for (auto _ : state) {
    std::vector<TScannedNode> scanned = ScanObjectLines(text.Lines, nullptr);
    nodes = scanned.size();
    benchmark::DoNotOptimize(scanned.data());
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.Bytes));
}

}  // namespace

BENCHMARK(ScanLargeForm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
