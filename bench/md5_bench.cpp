// Throughput of our MD5 against the system's md5sum on one 1 GiB file.
//   md5_bench [path [rounds]]
// The file (default /tmp/sorvalen-md5-bench.bin) is created with pseudo-random
// bytes unless it already has the right size. Each round digests it once with
// Md5 through a 1 MiB buffer and once with md5sum; the best round of each counts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <time.h>  // <chrono> does not compile under -fexec-charset=GBK

#include "core/md5.h"

namespace {

constexpr std::uint64_t kFileSize = std::uint64_t(1) << 30;
constexpr std::size_t kBufferSize = std::size_t(1) << 20;

double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool HasBenchSize(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           static_cast<std::uint64_t>(info.st_size) == kFileSize;
}

bool CreateBenchFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::vector<std::uint64_t> buffer(kBufferSize / sizeof(std::uint64_t));
    std::uint64_t seed = 0x5eed5eed5eed5eedULL;
    bool ok = true;
    for (std::uint64_t written = 0; ok && written < kFileSize; written += kBufferSize) {
        for (auto& word : buffer) {
            // splitmix64
            std::uint64_t z = (seed += 0x9e3779b97f4a7c15ULL);
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
        ok = std::fwrite(buffer.data(), 1, kBufferSize, file) == kBufferSize;
    }
    if (std::fclose(file) != 0) ok = false;
    if (!ok) std::remove(path.c_str());
    return ok;
}

// Digests the file through a bounded buffer; empty on a read error.
Text OurDigest(const std::string& path, std::vector<unsigned char>& buffer)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return Text();
    std::setvbuf(file, nullptr, _IONBF, 0);  // read straight into our buffer
    Md5 md5;
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) md5.Update(buffer.data(), got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? Text() : md5.FinishText();
}

std::string ShellQuoted(const std::string& s)
{
    std::string quoted = "'";
    for (char c : s) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Text SystemDigest(const std::string& path)
{
    const std::string command = "md5sum -- " + ShellQuoted(path);
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return Text();
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = pclose(pipe);
    if (!read || status != 0) return Text();
    return Text(line, 32);
}

double MegabytesPerSecond(double seconds)
{
    return static_cast<double>(kFileSize) / 1e6 / seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : "/tmp/sorvalen-md5-bench.bin";
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (rounds < 1) {
        std::fprintf(stderr, "rounds must be at least 1\n");
        return 2;
    }

    if (!HasBenchSize(path)) {
        std::printf("creating %s (1 GiB)...\n", path.c_str());
        if (!CreateBenchFile(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }

    std::vector<unsigned char> buffer(kBufferSize);
    {
        // An untimed pass so that both sides read from a warm page cache.
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        while (std::fread(buffer.data(), 1, buffer.size(), file) > 0) {
        }
        std::fclose(file);
    }

    double bestOurs = 1e300, bestSystem = 1e300;
    for (int round = 1; round <= rounds; ++round) {
        double start = Now();
        const Text ours = OurDigest(path, buffer);
        const double oursSeconds = (Now() - start);

        start = Now();
        const Text system = SystemDigest(path);
        const double systemSeconds = (Now() - start);

        if (ours.empty() || system.empty() || ours != system) {
            std::fprintf(stderr, "digests differ: ours %s, md5sum %s\n", ours.c_str(), system.c_str());
            return 1;
        }
        std::printf("round %d: %s  ours %8.1f MB/s  md5sum %8.1f MB/s\n", round, ours.c_str(),
                    MegabytesPerSecond(oursSeconds), MegabytesPerSecond(systemSeconds));
        if (oursSeconds < bestOurs) bestOurs = oursSeconds;
        if (systemSeconds < bestSystem) bestSystem = systemSeconds;
    }

    std::printf("best:     ours %8.1f MB/s  md5sum %8.1f MB/s  ratio ours/md5sum %.3f\n",
                MegabytesPerSecond(bestOurs), MegabytesPerSecond(bestSystem), bestSystem / bestOurs);
    return 0;
}
