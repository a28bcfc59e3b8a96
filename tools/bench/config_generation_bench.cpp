// Benchmark: the generation's time, heap and text on large directories of three shapes.
//
//   (a) tree      one tree of N realms, every realm marked server and client: no capaths at all
//   (b) forests   forests of 100 realms joined to the first by forest trusts, all marked: full capaths
//   (c) sparse    the forests of (b), every 20th realm marked: the realistic case
//
// Each shape is generated into a stream that counts and drops the text, so the heap figure is
// what the generation holds beyond the text itself. Beside it: one search per realm pair settled
// first by the name and trust tests alone (the reference the generation is measured against,
// where it finishes in reasonable time). Prints figures; never fails on them.
//
//   config_generation_bench [--heimdal] [SHAPE SIZE]...   (default: every shape at 1000, 2000 and
//                                               5000, and the forests at 600 too)
// --heimdal writes for Heimdal's clients alone: its capaths layout, one search per subsection.
#include "config_generation.h"
#include "realm_name_labels.h"
#include "trust_path_reference.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// The heap the process holds now and at most since the last reset, counted by the operators below.
std::size_t heapNow = 0;
std::size_t heapPeak = 0;

// Every block carries its size in front of it, so that delete can count it out again.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size)
{
    void* block = std::malloc(size + kHeader);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    heapNow += size;
    if (heapNow > heapPeak)
        heapPeak = heapNow;
    return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer)
{
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    heapNow -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void* pointer) noexcept
{
    Release(pointer);
}
void operator delete[](void* pointer) noexcept
{
    Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept
{
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept
{
    Release(pointer);
}

namespace {

// Counts what is written and keeps none of it.
struct CountingBuffer : std::streambuf {
    std::size_t bytes = 0;
    int_type overflow(int_type c) override
    {
        if (c != traits_type::eof())
            ++bytes;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize count) override
    {
        bytes += static_cast<std::size_t>(count);
        return count;
    }
};

struct Scenario {
    RealmDirectory directory;
    DialogState state;
};

void Link(TrustTable& trusts, const std::string& a, const std::string& b)
{
    AddTrust(trusts, a, b);
    AddTrust(trusts, b, a);
}

// A tree of `count` realms as the forest writer makes them: the root and its children. Every
// `every`-th of them is selected, marked server and client.
void AddTree(Scenario& scenario, const std::string& root, int count, int every)
{
    for (int i = 0; i < count; ++i) {
        const std::string realm = i == 0 ? root : "d" + std::to_string(i) + "." + root;
        if (i > 0)
            Link(scenario.directory.trustTable, root, realm);
        AddRealm(scenario.directory.kdcTable, realm, {"dc1." + realm, "dc2." + realm});
        if (i % every == 0)
            scenario.state.selectedItems.push_back("-sc " + realm);
    }
}

// The first selected realm is the default realm; the library defaults are set too.
void SetDefaults(Scenario& scenario)
{
    scenario.state.selectedItems[0][0] = 'd';
    scenario.state.tgsEnctypes = "aes256-cts-hmac-sha1-96, aes128-cts-hmac-sha1-96";
    scenario.state.forwardableTrue = true;
}

Scenario MakeScenario(const std::string& shape, int realms)
{
    Scenario scenario;
    const int every = shape == "sparse" ? 20 : 1;
    if (shape == "tree") {
        AddTree(scenario, "tree0.test", realms, every);
    } else {
        AddTree(scenario, "tree0.test", realms < 100 ? realms : 100, every);
        for (int f = 0; f + 1 < realms / 100; ++f) {
            const std::string root = "ft" + std::to_string(f) + ".test";
            AddTree(scenario, root, 100, every);
            Link(scenario.directory.trustTable, "tree0.test", root);
        }
    }
    SetDefaults(scenario);
    return scenario;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// One search per pair, as the generation once settled every pair: the same realm, a direct
// trust from the target and equal last two labels first, a search from the target otherwise.
std::size_t ReferencePairs(const Scenario& scenario)
{
    const TrustTable& trusts = scenario.directory.trustTable;
    std::vector<std::string> realms;
    for (const std::string& item : scenario.state.selectedItems)
        realms.push_back(item.substr(4));
    std::size_t relations = 0;
    for (const std::string& source : realms)
        for (const std::string& target : realms) {
            if (source == target || LastTwoLabels(source) == LastTwoLabels(target))
                continue;
            std::vector<std::string> path;
            FindTrustPath(trusts, target, source, path);
            relations += path.size();
        }
    return relations;
}

// The reference search per pair grows with the pairs times the directory: only where it ends
// in reasonable time (the pairs it settles by names alone cost nothing).
bool ReferenceFeasible(const std::string& shape, int realms)
{
    return shape == "tree" || shape == "sparse" || realms <= 600;
}

void Run(const std::string& shape, int realms, bool heimdal)
{
    Scenario scenario = MakeScenario(shape, realms);
    scenario.state.mitClients = !heimdal;
    scenario.state.heimdalClients = heimdal;
    CountingBuffer counter;
    std::ostream out(&counter);
    const std::size_t heapBefore = heapNow;
    heapPeak = heapNow;
    const auto start = std::chrono::steady_clock::now();
    GenerateConfigText(scenario.state, scenario.directory, ConfigTextWriter{out});
    const double seconds = Seconds(start);
    const double heapMb = static_cast<double>(heapPeak - heapBefore) / (1024.0 * 1024.0);
    std::string reference = "-";
    if (ReferenceFeasible(shape, realms)) {
        const auto referenceStart = std::chrono::steady_clock::now();
        ReferencePairs(scenario);
        reference = std::to_string(Seconds(referenceStart));
    }
    std::printf("%-8s %7zu %8zu %9zu %10.3f %10.1f %15zu %9.2f %12s\n", shape.c_str(),
                scenario.directory.kdcTable.size(), scenario.state.selectedItems.size(),
                scenario.directory.trustTable.size(), seconds, heapMb, counter.bytes,
                counter.bytes == 0 ? 0.0 : seconds * 1e9 / static_cast<double>(counter.bytes), reference.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::pair<std::string, int>> runs;
    const bool heimdal = argc > 1 && std::string(argv[1]) == "--heimdal";
    for (int i = heimdal ? 2 : 1; i + 1 < argc; i += 2)
        runs.emplace_back(argv[i], std::atoi(argv[i + 1]));
    if (runs.empty()) {
        for (const char* shape : {"tree", "forests", "sparse"})
            for (int realms : {600, 1000, 2000, 5000})
                if (realms != 600 || shape[0] == 'f')
                    runs.emplace_back(shape, realms);
    }
    std::printf("%-8s %7s %8s %9s %10s %10s %15s %9s %12s\n", "shape", "realms", "marked", "trusts", "seconds",
                "heap MB", "text bytes", "ns/byte", "reference s");
    for (const auto& run : runs) {
        if (run.first != "tree" && run.first != "forests" && run.first != "sparse") {
            std::fprintf(stderr, "config_generation_bench: the shapes are tree, forests and sparse\n");
            return 2;
        }
        Run(run.first, run.second, heimdal);
    }
    return 0;
}
