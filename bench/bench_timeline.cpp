// Timeline costs: reading a long marker script and handing out its events.
#include "event_queue_factory.h"
#include "timecode.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {
const char* const kKeywords[] = {"beat", "snare", "s03", "melody", "hihatc", "s01"};

std::string make_script(int lines) {
    std::string script;
    for (int i = 0; i < lines; ++i) {
        script += kKeywords[i % 6];
        script += ' ';
        script += format_timecode((i * 7919LL) % 600000);
        script += '\n';
    }
    return script;
}
} // namespace

static void BM_ReadMarkerScript(benchmark::State& state) {
    const std::string script = make_script(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<cEventQueue> queue(
            cEventQueue_factory::loadText(script.data(), script.size()));
        benchmark::DoNotOptimize(queue->size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadMarkerScript)->Arg(100)->Arg(10000);

// A frame at 1000 fps over a ten-minute show: one next_due round per frame.
static void BM_HandOutTimeline(benchmark::State& state) {
    const std::string script = make_script(20000);
    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::loadText(script.data(), script.size()));
    for (auto _ : state) {
        queue->rewind();
        int handed = 0;
        for (int t = 0; t < 600000; ++t)
            while (queue->next_due(t))
                ++handed;
        benchmark::DoNotOptimize(handed);
    }
}
BENCHMARK(BM_HandOutTimeline);
