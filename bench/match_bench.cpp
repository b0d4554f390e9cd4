// Build time and lookup time of the exact-file match index on large databases.
//   match_bench [entries [checked]]
// An MD5 database of `entries` lines "<32 hex>|note N\r\n\r\n" and a size database
// "#<size>#<size>..." of as many sizes (default 1,000,000 each). Each index is
// built once, then asked 100,000 texts, half taken from the database, half not;
// `checked` of them (default 1,000) are also searched with FindText to compare.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <time.h>  // <chrono> does not compile under -fexec-charset=GBK

#include "core/numbers.h"
#include "scan/match_index.h"

namespace {

constexpr int kLookups = 100000;

double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t state_;
};

Text RandomDigest(SplitMix64& rng)
{
    static const char kHex[] = "0123456789abcdef";
    Text digest;
    for (int half = 0; half < 2; ++half) {
        std::uint64_t bits = rng.Next();
        for (int k = 0; k < 16; ++k, bits >>= 4) digest += kHex[bits & 15];
    }
    return digest;
}

// Sizes spread over every magnitude, as file sizes are.
int RandomSize(SplitMix64& rng)
{
    const int bits = 1 + static_cast<int>(rng.Next() % 31);
    return static_cast<int>(rng.Next() & ((std::uint64_t(1) << bits) - 1));
}

struct Database {
    Text text;
    std::vector<Text> present, absent;  // kLookups / 2 each
};

Database Md5Database(int entries, SplitMix64& rng)
{
    Database db;
    db.text.reserve(static_cast<std::size_t>(entries) * 52);
    std::vector<Text> digests;
    digests.reserve(static_cast<std::size_t>(entries));
    for (int e = 0; e < entries; ++e) {
        digests.push_back(RandomDigest(rng));
        db.text += digests.back();
        db.text += "|note ";
        db.text += NumberToText(e + 1);
        db.text += "\r\n\r\n";
    }
    for (int q = 0; q < kLookups / 2; ++q) {
        Text digest = digests[rng.Next() % digests.size()];
        if (q % 2 == 1) {
            for (auto& c : digest) {
                if (c >= 'a') c = static_cast<char>(c - 32);  // the capitals are found too
            }
        }
        db.present.push_back(digest);
        db.absent.push_back(RandomDigest(rng));
    }
    return db;
}

Database SizeDatabase(int entries, SplitMix64& rng)
{
    Database db;
    db.text.reserve(static_cast<std::size_t>(entries) * 12);
    std::vector<int> sizes;
    sizes.reserve(static_cast<std::size_t>(entries));
    for (int e = 0; e < entries; ++e) {
        sizes.push_back(RandomSize(rng));
        db.text += "#";
        db.text += NumberToText(sizes.back());
    }
    for (int q = 0; q < kLookups / 2; ++q) {
        db.present.push_back(NumberToText(sizes[rng.Next() % sizes.size()]));
        // Random sizes: the short ones still occur inside longer sizes.
        db.absent.push_back(NumberToText(RandomSize(rng)));
    }
    return db;
}

void Run(const char* name, const Database& db, MatchIndex (*build)(const Text&), int checked)
{
    double start = Now();
    const MatchIndex index = build(db.text);
    const double buildMs = (Now() - start) * 1e3;

    std::vector<const Text*> lookups;
    for (int q = 0; q < kLookups / 2; ++q) {
        lookups.push_back(&db.present[q]);
        lookups.push_back(&db.absent[q]);
    }
    int found = 0;
    start = Now();
    for (const Text* sought : lookups) found += index.Contains(*sought) ? 1 : 0;
    const double lookupNs = (Now() - start) * 1e9 / kLookups;

    int differ = 0;
    for (int q = 0; q < checked && q < kLookups; ++q) {
        const Text& sought = *lookups[static_cast<std::size_t>(q) * kLookups / checked];
        if (index.Contains(sought) != (FindText(db.text, sought, 1, true) != -1)) ++differ;
    }

    std::printf("%-5s database %6.1f MB: build %8.1f ms, lookup %7.1f ns (%d of %d found), "
                "FindText check: %d of %d differ\n",
                name, static_cast<double>(db.text.size()) / 1e6, buildMs, lookupNs, found, kLookups,
                differ, checked);
}

}  // namespace

int main(int argc, char** argv)
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int checked = argc > 2 ? std::atoi(argv[2]) : 1000;
    if (entries < 1 || checked < 0) {
        std::fprintf(stderr, "usage: match_bench [entries [checked]]\n");
        return 2;
    }
    SplitMix64 rng(0x5eed);
    Run("MD5", Md5Database(entries, rng), Md5TextIndex, checked);
    Run("size", SizeDatabase(entries, rng), SizeTextIndex, checked);
    return 0;
}
