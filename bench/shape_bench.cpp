// Speed of text shaping on a 10 MB text of mixed ASCII and Shift-JIS lines,
// against memcpy of the same bytes in the same run. Shaping is measured in
// two ways: the writing pass alone (into a block measured beforehand) and
// the measuring plus writing passes that a copy of the history really
// costs. The rates count input bytes.
#include "output/shape.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const std::size_t kTextSize = 10u * 1024 * 1024;

void AppendSjis(std::mt19937& rng, std::string* s, int lead_first, int lead_last,
                int trail_first, int trail_last) {
  const int lead = lead_first + static_cast<int>(rng() % static_cast<unsigned>(lead_last - lead_first + 1));
  int trail = trail_first + static_cast<int>(rng() % static_cast<unsigned>(trail_last - trail_first + 1));
  if (trail == 0x7F) trail = 0x80;
  *s += static_cast<char>(lead);
  *s += static_cast<char>(trail);
}

// Lines as a clipboard history holds them: English prose, Japanese prose
// (hiragana, katakana, kanji and full-width punctuation), Japanese with
// ASCII words and numbers in it, code, and empty lines; CR LF line ends.
std::string MakeText() {
  std::mt19937 rng(4242);
  const char* words[] = {"the", "clipboard", "history", "entry", "is", "copied", "to",
                         "window", "and", "of", "2024", "OK", "file.txt", "a", "value"};
  const char* code[] = {"  if (count > 0) {", "    return Shape(text, out);", "  }",
                        "#include <string>", "int main(int argc, char** argv) {"};
  auto pick = [&](unsigned n) { return rng() % n; };
  std::string text;
  text.reserve(kTextSize + 256);
  while (text.size() < kTextSize) {
    const unsigned kind = pick(10);
    const unsigned chars = 5 + pick(55);
    if (kind < 3) {  // English
      std::string line;
      while (line.size() < chars) {
        line += words[pick(sizeof words / sizeof *words)];
        line += ' ';
      }
      text += line;
    } else if (kind < 7) {  // Japanese, sometimes with ASCII in it
      for (unsigned i = 0; i < chars / 2; ++i) {
        const unsigned c = pick(20);
        if (c < 8) {
          AppendSjis(rng, &text, 0x82, 0x82, 0x9F, 0xF1);  // hiragana
        } else if (c < 11) {
          AppendSjis(rng, &text, 0x83, 0x83, 0x40, 0x96);  // katakana
        } else if (c < 17) {
          AppendSjis(rng, &text, 0x88, 0x98, 0x40, 0xFC);  // kanji
        } else if (c < 18) {
          text += "\x81\x42";  // 。
        } else if (kind == 6) {
          text += words[pick(sizeof words / sizeof *words)];
        } else {
          text += "\x81\x41";  // 、
        }
      }
    } else if (kind < 9) {
      text += code[pick(sizeof code / sizeof *code)];
    }  // else an empty line
    text += "\r\n";
  }
  return text;
}

const std::string& Text() {
  static const std::string text = MakeText();
  return text;
}

struct Config {
  const char* quote;
  int wrap;
  int rule;
};

const Config kPlain = {"", 0, kShapeLfNone};
const Config kQuoted = {"> ", 0, kShapeLfInyo};
const Config kQuotedWrap = {"> ", 72, kShapeLfInyo};
const Config kWrap = {"", 72, kShapeLfInyo};

void BM_Memcpy(benchmark::State& state) {
  const std::string& text = Text();
  std::vector<char> out(text.size() + 1);
  for (auto _ : state) {
    std::memcpy(out.data(), text.c_str(), text.size() + 1);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

void BM_Write(benchmark::State& state, Config c) {
  const std::string& text = Text();
  const long long length = ShapeLength(text.c_str(), c.quote, "", c.wrap, c.rule);
  if (length < 0) {
    state.SkipWithError("no room for text");
    return;
  }
  std::vector<char> out(static_cast<std::size_t>(length) + 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ShapeWrite(text.c_str(), out.data(), c.quote, "", c.wrap, c.rule));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["out_MB"] = static_cast<double>(length) / 1e6;
}

void BM_MeasureAndWrite(benchmark::State& state, Config c) {
  const std::string& text = Text();
  const long long length = ShapeLength(text.c_str(), c.quote, "", c.wrap, c.rule);
  std::vector<char> out(static_cast<std::size_t>(length) + 1);
  for (auto _ : state) {
    const long long n = ShapeLength(text.c_str(), c.quote, "", c.wrap, c.rule);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(ShapeWrite(text.c_str(), out.data(), c.quote, "", c.wrap, c.rule));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, plain_lfnone, kPlain)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, quoted, kQuoted)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, quoted_wrap72, kQuotedWrap)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, wrap72, kWrap)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureAndWrite, plain_lfnone, kPlain)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureAndWrite, quoted, kQuoted)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureAndWrite, quoted_wrap72, kQuotedWrap)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureAndWrite, wrap72, kWrap)->Unit(benchmark::kMillisecond);

// Keeps the rate of every benchmark so that the ratios to memcpy can be
// printed at the end: the median when there are repetitions
// (--benchmark_repetitions=N), otherwise the single run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const auto it = run.counters.find("bytes_per_second");
      if (it == run.counters.end()) continue;
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians_[name] = it->second.value;
      } else if (run.run_type == Run::RT_Iteration) {
        rates_[name] = it->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::map<std::string, double> rates = rates_;
    for (const auto& m : medians_) rates[m.first] = m.second;
    const auto base = rates.find("BM_Memcpy");
    if (base == rates.end() || base->second <= 0) return;
    std::printf("\n%-34s %10s %9s  (%s)\n", "configuration", "MB/s", "x memcpy",
                medians_.empty() ? "single runs" : "medians");
    for (const auto& r : rates) {
      std::printf("%-34s %10.1f %9.3f\n", r.first.c_str(), r.second / 1e6,
                  r.second / base->second);
    }
  }

 private:
  std::map<std::string, double> rates_;
  std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  SetShapeCodePage(932);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("text: %zu bytes\n", Text().size());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
