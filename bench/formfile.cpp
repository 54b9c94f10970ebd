// Conversion speed over two large forms, each made of copies of one form of
// the corpus (../shared/corpus, or the folders of KESTRUM_CORPUS_DIRS) placed
// under one root until the text is about 50 MB: the largest text form, which
// is mostly binary data written in hexadecimal, and the text form with the
// most properties, a typical main form of many small values. Both directions
// run from memory to memory and from file to file; throughput counts bytes
// of text in both directions, and the peak heap use of one conversion is
// reported beside it, as a multiple of the input.
//
// For a whole-process figure, comparable with other converters:
//   bench_formfile --write-forms <folder>   writes the large forms, text and binary
//   bench_formfile --convert <in> <out>     converts one file (binary input to
//                                           text, text input to binary)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "../tests/support/form_corpus.h"
#include "formfile/formconvert.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"

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

// A large form and its binary encoding, built once.
struct TLargeForm {
  std::string Text;
  std::string Binary;
  std::string Source;
  int Copies = 0;
};

size_t CountProperties(const std::string& text) {
  size_t count = 0;
  for (size_t at = text.find(" = "); at != std::string::npos; at = text.find(" = ", at + 3)) ++count;
  return count;
}

// The corpus's text form that scores highest.
template <typename Score>
std::pair<std::string, std::string> PickTextForm(Score score) {
  std::string best, bestName;
  size_t bestScore = 0;
  for (const auto& file : formfile_test::CorpusFiles()) {
    std::string data = formfile_test::ReadWholeFile(file.File);
    if (formfile_test::DetectEncoding(data) != formfile_test::TFormEncoding::Text) continue;
    size_t value = score(data);
    if (value > bestScore) {
      bestScore = value;
      best = std::move(data);
      bestName = file.Name;
    }
  }
  return {best, bestName};
}

TLargeForm BuildLargeForm(std::string form, std::string name) {
  TLargeForm result;
  if (form.empty()) return result;
  result.Source = std::move(name);
  bool utf8 = form.rfind("\xEF\xBB\xBF", 0) == 0;
  if (utf8) form.erase(0, 3);
  std::string child = IndentLines(form);
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
}

enum TFormKind { fkHexHeavy, fkTypical };

const TLargeForm& LargeForm(TFormKind kind) {
  static const TLargeForm hexHeavy = [] {
    auto [form, name] = PickTextForm([](const std::string& data) { return data.size(); });
    return BuildLargeForm(std::move(form), std::move(name));
  }();
  static const TLargeForm typical = [] {
    auto [form, name] = PickTextForm(CountProperties);
    return BuildLargeForm(std::move(form), std::move(name));
  }();
  return kind == fkHexHeavy ? hexHeavy : typical;
}

std::string Label(const TLargeForm& form) {
  return form.Source + " x" + std::to_string(form.Copies) + ", " + std::to_string(form.Text.size() >> 20) +
         " MB of text, " + std::to_string(form.Binary.size() >> 20) + " MB of binary";
}

void ReportPeak(benchmark::State& state, size_t before, size_t inputSize) {
  double peak = static_cast<double>(gPeakBytes.load() - before);
  state.counters["peak_heap_MB"] = peak / (1 << 20);
  state.counters["peak_per_input"] = peak / static_cast<double>(inputSize);
}

// Converts one way, memory to memory.
void MemoryToMemory(benchmark::State& state, TFormKind kind, bool toBinary) {
  const TLargeForm& form = LargeForm(kind);
  if (form.Binary.empty()) {
    state.SkipWithError("no text form in the corpus");
    return;
  }
  const std::string& source = toBinary ? form.Text : form.Binary;
  TBytesStream input(TBytes(source.begin(), source.end()));
  size_t before = 0;
  for (auto _ : state) {
    input.SetPosition(0);
    before = gLiveBytes.load();
    gPeakBytes.store(before);
    TMemoryStream output;
    if (toBinary) {
      FormTextToBinary(input, output);
    } else {
      FormBinaryToText(input, output);
    }
    benchmark::DoNotOptimize(output.Memory());
  }
  // Measured in text both ways: text read one way, text written the other.
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * form.Text.size()));
  ReportPeak(state, before, source.size());
  state.SetLabel(Label(form));
}

std::filesystem::path ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "kestrum-bench-formfile";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

void WriteFile(const std::filesystem::path& path, const std::string& data) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(data.data(), static_cast<std::streamsize>(data.size()));
}

String NativeName(const std::filesystem::path& path) {
  return UTF8ToString(formfile_test::ToUTF8(path));
}

// Converts one way, file to file, the way a command-line converter does.
void FileToFile(benchmark::State& state, TFormKind kind, bool toBinary) {
  const TLargeForm& form = LargeForm(kind);
  if (form.Binary.empty()) {
    state.SkipWithError("no text form in the corpus");
    return;
  }
  const std::string& source = toBinary ? form.Text : form.Binary;
  std::filesystem::path inputPath = ScratchFolder() / (toBinary ? "input.dfm" : "input.bin.dfm");
  std::filesystem::path outputPath = ScratchFolder() / "output.dfm";
  WriteFile(inputPath, source);
  String inputName = NativeName(inputPath), outputName = NativeName(outputPath);
  size_t before = 0;
  for (auto _ : state) {
    before = gLiveBytes.load();
    gPeakBytes.store(before);
    TFileStream input(inputName, fmOpenRead | fmShareDenyWrite);
    TFileStream output(outputName, fmCreate);
    if (toBinary) {
      FormTextToBinary(input, output);
    } else {
      FormBinaryToText(input, output);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * form.Text.size()));
  ReportPeak(state, before, source.size());
  state.SetLabel(Label(form));
  std::error_code error;
  std::filesystem::remove(inputPath, error);
  std::filesystem::remove(outputPath, error);
}

void RegisterAll() {
  struct TCase {
    const char* Name;
    void (*Run)(benchmark::State&, TFormKind, bool);
    bool ToBinary;
  };
  const TCase cases[] = {
      {"TextToBinary", MemoryToMemory, true},
      {"BinaryToText", MemoryToMemory, false},
      {"FileTextToBinary", FileToFile, true},
      {"FileBinaryToText", FileToFile, false},
  };
  for (const TCase& entry : cases) {
    for (TFormKind kind : {fkHexHeavy, fkTypical}) {
      std::string name = std::string(entry.Name) + (kind == fkHexHeavy ? "/hex_heavy" : "/typical");
      auto* benchmark = benchmark::RegisterBenchmark(name.c_str(), entry.Run, kind, entry.ToBinary)
                            ->Unit(benchmark::kMillisecond)
                            ->MinTime(2.0);
      // A file to file run waits for the system too: its rates count wall time.
      if (entry.Run == FileToFile) benchmark->UseRealTime();
    }
  }
}

int WriteForms(const char* folder) {
  std::filesystem::create_directories(folder);
  for (TFormKind kind : {fkHexHeavy, fkTypical}) {
    const TLargeForm& form = LargeForm(kind);
    if (form.Binary.empty()) {
      std::fprintf(stderr, "no text form in the corpus\n");
      return 1;
    }
    std::string stem = kind == fkHexHeavy ? "hex_heavy" : "typical";
    WriteFile(std::filesystem::path(folder) / (stem + ".dfm"), form.Text);
    WriteFile(std::filesystem::path(folder) / (stem + ".bin.dfm"), form.Binary);
    std::printf("%s: %s, %zu bytes of text, %zu bytes of binary\n", stem.c_str(), Label(form).c_str(), form.Text.size(),
                form.Binary.size());
  }
  return 0;
}

// One conversion, file to file, by the input's kind.
int Convert(const char* inputName, const char* outputName) {
  try {
    TFileStream input(UTF8ToString(inputName), fmOpenRead | fmShareDenyWrite);
    char signature[4] = {};
    bool binary = input.Read(signature, 4) == 4 && std::memcmp(signature, "TPF0", 4) == 0;
    input.SetPosition(0);
    TFileStream output(UTF8ToString(outputName), fmCreate);
    if (binary) {
      FormBinaryToText(input, output);
    } else {
      FormTextToBinary(input, output);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", inputName, e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-forms") == 0) return WriteForms(argv[2]);
  if (argc == 4 && std::strcmp(argv[1], "--convert") == 0) return Convert(argv[2], argv[3]);
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
