// The editor model over a long form text: loading it into the line buffer,
// highlighting every line with ranges carried from line to line, and finding
// every match of a word. The text is 200,000 lines of the real text forms of
// the shared corpus (found beside the repository), repeated; without the
// corpus, of a generated form.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "codeedit/buffer.h"
#include "codeedit/dfmhighlighter.h"
#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/editcore.h"
#include "codeedit/editqueries.h"
#include "codeedit/editsearch.h"
#include "codeedit/edittext.h"
#include "codeedit/paintplan.h"
#include "codeedit/search.h"
#include "rtl/stringlist.h"
#include "rtl/unicode.h"
#include "support/codeedit_fakehost.h"

namespace {

constexpr Integer kLineCount = 200000;

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (auto dir = std::filesystem::path(__FILE__).parent_path(); !dir.empty(); dir = dir.parent_path()) {
    const auto corpus = dir / "shared" / "corpus" / "text";
    if (std::filesystem::is_directory(corpus, error)) {
      for (const auto& entry : std::filesystem::directory_iterator(corpus, error))
        if (entry.path().extension() == ".dfm") files.push_back(entry.path());
      break;
    }
    if (dir == dir.parent_path()) break;
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<String> SourceLines() {
  TStringList lines;
  for (const auto& file : CorpusFiles()) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TStringList fileLines;
    fileLines.SetText(UTF8ToString(bytes));
    lines.AddStrings(fileLines);
  }
  if (lines.Count() == 0) {
    lines.SetText(
        u"object Form1: TForm1\r\n  Left = 273\r\n  Caption = 'Main form'\r\n"
        u"  object Button1: TButton\r\n    Left = 8\r\n    Caption = 'OK'\r\n    OnClick = Button1Click\r\n"
        u"  end\r\n  { a comment\r\n    over two lines }\r\n  Glyph.Data = {\r\n    0A0B0C0D0E0F}\r\nend");
  }
  return lines.ToStringArray();
}

const String& FormText() {
  static const String text = [] {
    const std::vector<String> source = SourceLines();
    String result;
    for (Integer i = 0; i < kLineCount; ++i) {
      if (i > 0) result += u"\r\n";
      result += source[static_cast<size_t>(i) % source.size()];
    }
    return result;
  }();
  return text;
}

Int64 TextBytes() {
  return static_cast<Int64>(FormText().size() * sizeof(Char));
}

void BM_LoadBuffer(benchmark::State& state) {
  const String& text = FormText();
  for (auto _ : state) {
    TCodeEditStringList lines;
    lines.SetText(text);
    benchmark::DoNotOptimize(lines.Count());
  }
  state.SetBytesProcessed(state.iterations() * TextBytes());
  state.counters["lines"] = kLineCount;
}
BENCHMARK(BM_LoadBuffer)->Unit(benchmark::kMillisecond);

void BM_LongestLine(benchmark::State& state) {
  TCodeEditStringList lines;
  lines.SetText(FormText());
  for (auto _ : state) {
    lines.FontChanged();  // every display width stale again
    benchmark::DoNotOptimize(lines.LengthOfLongestLine());
  }
  state.SetBytesProcessed(state.iterations() * TextBytes());
}
BENCHMARK(BM_LongestLine)->Unit(benchmark::kMillisecond);

void BM_HighlightAllLines(benchmark::State& state) {
  TCodeEditStringList lines;
  lines.SetText(FormText());
  TCodeDfmHighlighter highlighter;
  Int64 tokens = 0;
  for (auto _ : state) {
    lines.BeginUpdate();
    highlighter.ResetRange();
    for (Integer i = 0; i < lines.Count(); ++i) {
      highlighter.SetLine(lines.LineText(i), i);
      for (; !highlighter.GetEol(); highlighter.Next()) {
        benchmark::DoNotOptimize(highlighter.GetTokenAttribute());
        ++tokens;
      }
      lines.SetLineRange(i, highlighter.GetRange());
    }
    lines.EndUpdate();
  }
  state.SetBytesProcessed(state.iterations() * TextBytes());
  state.counters["tokens"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HighlightAllLines)->Unit(benchmark::kMillisecond);

void BM_FindAllMatches(benchmark::State& state) {
  TCodeEditStringList lines;
  lines.SetText(FormText());
  TCodeEditSearch search;
  search.SetOptions(state.range(0) ? TCodeSearchOptions{ssoMatchCase} : TCodeSearchOptions{});
  search.SetPattern(u"Caption");
  Int64 matches = 0;
  for (auto _ : state) {
    for (Integer i = 0; i < lines.Count(); ++i) matches += search.FindAll(lines[i]);
  }
  state.SetBytesProcessed(state.iterations() * TextBytes());
  state.counters["matches"] = benchmark::Counter(static_cast<double>(matches), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindAllMatches)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// The editor over the long text with the form-file highlighter attached,
// typing in the middle of it: each keystroke goes through the command
// pipeline, the undo list, the buffer and the highlighter's rescan.
struct TTypingEditor {
  TFakeCodeEditHost Host;
  TCodeEditCore Edit{Host, nullptr};
  TCodeDfmHighlighter Highlighter;
  TTypingEditor() {
    Edit.SetHighlighter(&Highlighter);
    Edit.SetText(FormText());
    Edit.SetMaxUndo(1 << 20);
    Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoGroupUndo});
    Edit.Caret().SetCaretXY({3, kLineCount / 2});
  }
  void Command(TCodeEditorCommand command, Char c = 0) { Edit.Commands().CommandProcessor(command, c, nullptr); }
};

void BM_TypeKeystroke(benchmark::State& state) {
  TTypingEditor editor;
  Integer typed = 0;
  for (auto _ : state) {
    editor.Command(ecChar, u"abc '{}"[typed % 7]);
    // A line break now and then keeps the typed line short.
    if (++typed % 64 == 0) editor.Command(ecLineBreak, u'\r');
  }
  state.counters["lines"] = static_cast<double>(editor.Edit.Lines().GetCount());
}
BENCHMARK(BM_TypeKeystroke)->Unit(benchmark::kMicrosecond);

void BM_UndoKeystroke(benchmark::State& state) {
  TTypingEditor editor;
  for (auto _ : state) {
    state.PauseTiming();
    if (!editor.Edit.UndoList().CanUndo())
      for (int i = 0; i < 4096; ++i) editor.Command(ecChar, u'x');
    state.ResumeTiming();
    editor.Edit.Editing().Undo();
  }
}
BENCHMARK(BM_UndoKeystroke)->Unit(benchmark::kMicrosecond);

// The bracket at the start of one long line matched against the one at its
// end, with string tokens full of brackets between: each candidate asks
// which token it lies in.
void BM_MatchBracketOnALongLine(benchmark::State& state) {
  TFakeCodeEditHost host;
  TCodeEditCore edit{host, nullptr};
  TCodeDfmHighlighter highlighter;
  edit.SetHighlighter(&highlighter);
  String line = u"X = (";
  while (static_cast<Int64>(line.size()) < state.range(0)) line += u"(a) ')' ";
  line += u")";
  edit.SetText(line);
  for (auto _ : state) benchmark::DoNotOptimize(GetMatchingBracketEx(edit, {5, 1}));
  state.SetComplexityN(state.range(0));
  edit.SetHighlighter(nullptr);
}
BENCHMARK(BM_MatchBracketOnALongLine)->Arg(20000)->Arg(40000)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// A stand-in window whose scroll-bar refresh asks what the window's does:
// the row count and the longest line.
struct TScrollBarHost : TFakeCodeEditHost {
  TCodeEditCore* Core = nullptr;
  void UpdateScrollBars() override {
    ++ScrollBarUpdates;
    if (!Core) return;
    benchmark::DoNotOptimize(Core->Caret().DisplayLineCount());
    benchmark::DoNotOptimize(Core->Lines().LengthOfLongestLine());
  }
};

// Replace All of 312 matches in a 1.6 MB form text, one undo step.
void BM_ReplaceAll(benchmark::State& state) {
  String text;
  for (Integer block = 0; block < 312; ++block) {
    text += u"    Caption = 'Zebra crossing'\r\n";
    for (int i = 0; i < 360; ++i) text += u"    Left = 8\r\n";
  }
  TScrollBarHost host;
  TCodeEditCore edit{host, nullptr};
  host.Core = &edit;
  TCodeDfmHighlighter highlighter;
  edit.SetHighlighter(&highlighter);
  TCodeEditSearch engine;
  edit.SetSearchEngine(&engine);
  Integer replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    edit.SetText(text);
    host.ScrollBarUpdates = 0;
    state.ResumeTiming();
    replaced = SearchReplace(edit, u"Zebra", u"Quagga", {ssoReplaceAll, ssoEntireScope});
  }
  state.counters["matches"] = static_cast<double>(replaced);
  state.counters["chars"] = static_cast<double>(text.size());
  state.counters["scrollbars"] = static_cast<double>(host.ScrollBarUpdates);
  edit.SetSearchEngine(nullptr);
  edit.SetHighlighter(nullptr);
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);

// One paint of a window over a line of 1 MB (the first screen of it).
void BM_PaintALongLine(benchmark::State& state) {
  TFakeCodeEditHost host;
  TCodeEditCore edit{host, nullptr};
  TCodeDfmHighlighter highlighter;
  edit.SetHighlighter(&highlighter);
  String line = u"  Data = 'x";
  while (line.size() < (1u << 20)) line += u"0123456789ABCDEF";
  line += u"'";
  edit.SetText(u"object A: TA\r\n" + line + u"\r\nend");
  edit.SetWordWrap(state.range(0) != 0);
  const TCodePaintColors colors{clBlack, clWhite};
  for (auto _ : state)
    benchmark::DoNotOptimize(MakePaintPlan(edit, colors, {0, 0, host.Width, host.Height}, true).Rows.size());
  edit.SetHighlighter(nullptr);
}
BENCHMARK(BM_PaintALongLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
