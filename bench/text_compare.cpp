// Speed of the text primitives under grid sorting and searching, 100,000 rows:
// the standard value order in a full sort, and case-folding search against a
// plain substring loop over the same texts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "core/TextSearch.h"
#include "ui/Translate.h"
#include "ui/ValueCompare.h"

namespace {

constexpr int kRows = 100000;

std::vector<Value> MakeTitles()
{
    static const char* const kWords[] = {"Love", "night", "Żółty", "song", "dzień", "Blue", "river", "ćma",
                                         "Étude", "the", "Łąka", "road", "fire", "Ślad", "moon", "home"};
    std::mt19937 random(42);
    std::uniform_int_distribution<int> word(0, 15), count(1, 5);
    std::vector<Value> titles;
    titles.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        String title;
        for (int n = count(random); n > 0; --n) {
            if (!title.empty())
                title += ' ';
            title += kWords[word(random)];
        }
        titles.emplace_back(title);
    }
    return titles;
}

template <class F>
double Milliseconds(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool Less(const Value& a, const Value& b) { return StdValueCompare(a, b) < 0; }

void BenchSorting(const std::vector<Value>& titles)
{
    std::vector<Value> lengths;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> ms(1000, 900000);
    for (int i = 0; i < kRows; ++i)
        lengths.emplace_back(ms(random));

    for (const auto& [name, source] : {std::pair{"title", &titles}, std::pair{"length", &std::as_const(lengths)}}) {
        std::vector<Value> a = *source, b = *source;
        const double plain = Milliseconds([&] { std::sort(a.begin(), a.end(), Less); });
        const double stable = Milliseconds([&] { std::stable_sort(b.begin(), b.end(), Less); });
        std::printf("sort by %-6s: std::sort %8.1f ms, stable sort %8.1f ms, ratio %.2f\n", name, plain, stable,
                    stable / plain);
    }
}

// Text of a cell without a copy when it already is UTF-8.
std::string_view TextOf(const Value& v, String& scratch)
{
    if (v.Kind() == ValueKind::String)
        return v.GetString();
    scratch = v.ToString();
    return scratch;
}

void BenchSearching(const std::vector<Value>& titles)
{
    for (const char* needle : {"lo", "xyzzy"}) {
        size_t plainHits = 0, foldedHits = 0, sensitiveHits = 0;
        String scratch;
        // The reference reads each cell in place, as the matcher does, and finds the bytes as they are.
        const std::string_view wanted(needle);
        const double plain = Milliseconds([&] {
            for (const Value& v : titles)
                plainHits += TextOf(v, scratch).find(wanted) != std::string_view::npos;
        });
        const double sensitive = Milliseconds([&] {
            const TextMatcher matcher(needle, true);
            for (const Value& v : titles)
                sensitiveHits += matcher.Matches(TextOf(v, scratch));
        });
        const double folded = Milliseconds([&] {
            const TextMatcher matcher(needle, false);
            for (const Value& v : titles)
                foldedHits += matcher.Matches(TextOf(v, scratch));
        });
        std::printf("search \"%s\": plain loop %6.2f ms (%zu hits); matcher case-sensitive %6.2f ms (%zu, ratio %.2f), "
                    "ignoring case %6.2f ms (%zu, ratio %.2f); bar 50 ms\n",
                    needle, plain, plainHits, sensitive, sensitiveHits, sensitive / plain, folded, foldedHits,
                    folded / plain);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetLanguage(LanguageCode('P', 'L', 'P', 'L', 255));
    const std::vector<Value> titles = MakeTitles();
    BenchSorting(titles);
    BenchSearching(titles);
    return 0;
}
