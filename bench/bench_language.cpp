// Language table: loading a file of a realistic size and the linear lookup that every text of the program uses.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/shell/language_table.h"
#include "app/shell/name_list.h"

namespace {

// A file of `entries` lines "KEY_n<tab>text of entry n ... / comment" in UTF-16LE with its mark.
std::vector<std::uint8_t> LanguageFile(int entries) {
    std::u16string text;
    for (int i = 0; i < entries; ++i) {
        for (const char c : "DLG_" + std::to_string(i) + "_CTL_1\tThe text of entry " + std::to_string(i) +
                                " on one line   / a translator's note\r\n") {
            text.push_back(static_cast<char16_t>(c));
        }
    }
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

void BM_LoadLanguageBytes(benchmark::State& state) {
    const auto bytes = LanguageFile(static_cast<int>(state.range(0)));
    LanguageTable table;
    for (auto _ : state) {
        table.LoadLanguageBytes(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(table.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadLanguageBytes)->Arg(150)->Arg(1000);

// The worst case: the last key of the table, or one that is missing.
void BM_LookupLastKey(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const auto bytes = LanguageFile(entries);
    LanguageTable table;
    table.LoadLanguageBytes(bytes.data(), bytes.size());
    std::u16string key;
    for (const char c : "DLG_" + std::to_string(entries - 1) + "_CTL_1") key.push_back(static_cast<char16_t>(c));
    for (auto _ : state) benchmark::DoNotOptimize(table.Lookup(key.c_str(), u"default"));
}
BENCHMARK(BM_LookupLastKey)->Arg(150)->Arg(1000);

void BM_ParseNameList(benchmark::State& state) {
    std::string list;
    for (int i = 0; i < state.range(0); ++i) list += "LABEL_\xC4" + std::to_string(i) + '\0';
    list += '\0';
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseNameList(reinterpret_cast<const std::uint8_t*>(list.data()), list.size()).size());
    }
}
BENCHMARK(BM_ParseNameList)->Arg(200);

}  // namespace

BENCHMARK_MAIN();
