// Loading a large executable: every parser, the string scans and the class
// scan included. The image (over 100 MB) is built in memory at start-up: a code
// section with class tables among other bytes, thousands of imports and
// exports, and a large resource of mixed text and binary data.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "pe/pereader.h"
#include "rtl/streams.h"
// The test programs' image builder, compiled into this program.
#include "support/image_builder.h"

namespace {

using namespace imagebuilder;

TBytes MixedBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  TBytes bytes(size);
  std::size_t i = 0;
  static const char kWords[] = "object Form1: TForm1 Caption = 'Main window' Left = 10 Top = 20 ";
  while (i < size) {
    std::uint32_t kind = random() % 8;
    std::size_t run = 16 + random() % 112;
    for (std::size_t j = 0; j < run && i < size; ++j, ++i) {
      if (kind == 0) {
        bytes[i] = static_cast<Byte>(kWords[j % (sizeof(kWords) - 1)]);
      } else if (kind == 1) {
        bytes[i] = (j % 2) ? 0 : static_cast<Byte>(kWords[(j / 2) % (sizeof(kWords) - 1)]);
      } else if (kind < 4) {
        bytes[i] = 0;
      } else {
        bytes[i] = static_cast<Byte>(random());
      }
    }
  }
  return bytes;
}

TBytes LargeImage() {
  PeImageBuilder builder(false);
  std::vector<FakeClass> classes;
  for (int i = 0; i < 20000; ++i) classes.emplace_back("TClass" + std::to_string(i));
  builder.AddClassTables(classes);
  builder.AddSection(".text", MixedBytes(40u << 20, 1), kCodeSection);
  std::vector<ImportModule> modules;
  for (int m = 0; m < 50; ++m) {
    ImportModule module{"module" + std::to_string(m) + ".dll", {}};
    for (int f = 0; f < 200; ++f) module.Functions.push_back({"Function" + std::to_string(f), static_cast<Word>(f)});
    modules.push_back(std::move(module));
  }
  builder.AddImports(modules);
  std::vector<ExportFunction> exports;
  for (int e = 0; e < 10000; ++e) exports.push_back({"Export" + std::to_string(e), 0x1000u + 16u * e});
  builder.AddExports("large.dll", 1, exports);
  builder.AddResources(
      {{Word{10}, String(u"BIGDATA"), 0x409, MixedBytes(64u << 20, 2), 0}, RcData(u"TFORM1", MixedBytes(1 << 20, 3))});
  return builder.Build();
}

const TBytes& Image() {
  static const TBytes image = LargeImage();
  return image;
}

void BM_LoadFromMemory(benchmark::State& state) {
  const TBytes& image = Image();
  TPEReader reader;
  for (auto _ : state) {
    reader.LoadFromBytes(image);
    benchmark::DoNotOptimize(reader.ClassCount());
  }
  state.counters["classes"] = reader.ClassCount();
  state.counters["strings"] = static_cast<double>(reader.Strings().size());
  state.SetBytesProcessed(static_cast<Int64>(state.iterations()) * static_cast<Int64>(image.size()));
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadFromFile(benchmark::State& state) {
  const TBytes& image = Image();
  auto path = std::filesystem::temp_directory_path() / "kestrum-bench-large.exe";
  String name = path.u16string();
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer(image.data(), static_cast<Int64>(image.size()));
  }
  TPEReader reader;
  for (auto _ : state) {
    reader.SetFileName(name);
    benchmark::DoNotOptimize(reader.Valid());
  }
  reader.Close();
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<Int64>(state.iterations()) * static_cast<Int64>(image.size()));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
