// Costs that a user feels: one keystroke in a 10,000-line address list (encode the list and
// replace config.ini) and a start of the cycle that loads a stored 10,000-entry list.
// Each figure is printed with its ratio to one frame (16 ms), the target.
#include "FakeControls.h"
#include "TempDir.h"

#include "engine/ControlNames.h"
#include "engine/Engine.h"
#include "engine/Profile.h"
#include "engine/Texts.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace lumorra {
namespace {

constexpr int kLines = 10000;
constexpr double kFrameSeconds = 0.016;

std::string ListText() {
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "http://www.example.test/section/page-" + std::to_string(i) + ".html\r\n";
    return text;
}

void BM_KeystrokeInList(benchmark::State& state) {
    test::TempDir dir;
    test::FakeControls controls;
    Engine engine(controls, Settings(dir.path()));
    controls.onTextChanged = [&](std::string_view control) { engine.OnTextChanged(control); };
    controls.SetText(names::编辑框2, "5");
    std::string text = ListText();
    for (auto _ : state) {
        text.back() = text.back() == '\n' ? 'x' : '\n'; // one typed character
        controls.SetText(names::列表, text);
        controls.writes.clear();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_KeystrokeInList)->Unit(benchmark::kMillisecond);

// The same keystroke without the disk: encoding and rewriting the file's text in memory. The
// difference to the figure above is the cost of flushing config.ini to the disk.
void BM_KeystrokeInMemoryOnly(benchmark::State& state) {
    std::string text = ListText();
    std::string file = profile::Write("", keys::kSettings, keys::kSecond1, "5");
    for (auto _ : state) {
        text.back() = text.back() == '\n' ? 'x' : '\n';
        file = profile::Write(file, keys::kData, keys::kUrl, EncodeUrlList(text));
        benchmark::DoNotOptimize(file.data());
    }
}
BENCHMARK(BM_KeystrokeInMemoryOnly)->Unit(benchmark::kMillisecond);

void BM_LoadUrlList(benchmark::State& state) {
    test::TempDir dir;
    test::FakeControls controls;
    Engine engine(controls, Settings(dir.path()));
    controls.onTextChanged = [&](std::string_view control) { engine.OnTextChanged(control); };
    controls.SetText(names::列表, ListText());
    controls.SetText(names::编辑框2, "5");
    controls.SetText(names::编辑框3, "9");
    for (auto _ : state) {
        engine.LoadUrlList();
        controls.writes.clear();
    }
    if (engine.state().UrlCount != kLines) state.SkipWithError("the list was not loaded whole");
}
BENCHMARK(BM_LoadUrlList)->Unit(benchmark::kMillisecond);

// Adds the ratio of each figure to the one-frame target after the usual table.
class FrameReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const double seconds = run.GetAdjustedRealTime() / 1e3; // reported in milliseconds
            lines_.push_back(run.benchmark_name() + ": " + std::to_string(seconds * 1e3) + " ms, " +
                             std::to_string(seconds / kFrameSeconds * 100) + "% of the 16 ms target");
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nAgainst one frame (16 ms):\n");
        for (const std::string& line : lines_)
            std::printf("  %s\n", line.c_str());
    }

  private:
    std::vector<std::string> lines_;
};

} // namespace
} // namespace lumorra

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    lumorra::FrameReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
