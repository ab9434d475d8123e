// Runs a fuzz target without libFuzzer: every file of the seed folders given on the command
// line, then a fixed number of pseudo-random mutations of them, so that a normal build keeps
// each target compiled and exercised. The fuzz preset links the real libFuzzer instead.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CollectSeeds(const std::filesystem::path& root, std::vector<Bytes>& seeds) {
    if (std::filesystem::is_regular_file(root)) {
        seeds.push_back(ReadFile(root));
        return;
    }
    if (!std::filesystem::is_directory(root)) return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) seeds.push_back(ReadFile(entry.path()));
}

Bytes Mutate(Bytes input, std::mt19937& rng) {
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> byte(0, 255);
    const int steps = 1 + kind(rng);
    for (int i = 0; i < steps; ++i) {
        std::uniform_int_distribution<std::size_t> pos(0, input.size());
        const std::size_t at = pos(rng);
        switch (kind(rng)) {
            case 0:
                input.insert(input.begin() + static_cast<std::ptrdiff_t>(at),
                             static_cast<std::uint8_t>(byte(rng)));
                break;
            case 1:
                if (at < input.size()) input.erase(input.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case 2:
                if (at < input.size()) input[at] = static_cast<std::uint8_t>(byte(rng));
                break;
            default:
                if (at < input.size()) input.insert(input.end(), input.begin(), input.begin() +
                                                    static_cast<std::ptrdiff_t>(at));
                break;
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Bytes> seeds{Bytes{}};
    for (int i = 1; i < argc; ++i) CollectSeeds(argv[i], seeds);
    for (const auto& seed : seeds) LLVMFuzzerTestOneInput(seed.data(), seed.size());
    std::mt19937 rng(20261211);
    constexpr int kMutations = 20000;
    for (int i = 0; i < kMutations; ++i) {
        const Bytes input = Mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], rng);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("replayed %zu seeds and %d mutations\n", seeds.size(), kMutations);
    return 0;
}
