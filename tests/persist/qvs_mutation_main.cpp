// Opens thousands of damaged variants of simulation files: bit flips,
// truncations, and impossible counts, sizes and lengths written into the
// places that hold them. Every variant must end as a World or a refusal,
// never as a crash, a hang or a World that breaks its own limits.
//
//   velo_qvs_mutation [VARIANTS]          run (default 5000 variants)
//   velo_qvs_mutation --write-seeds DIR   write the built-in seed files
#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "persist/qvs_file.h"
#include "qvs_test_support.h"

#ifndef VELO_SOURCE_DIR
#define VELO_SOURCE_DIR "."
#endif

namespace velo {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> BuiltInSeeds() {
    std::vector<Bytes> seeds;
    auto small = test::SmallWorld();
    QvsSaveOptions options{"Seed", {{'B', 'M', 0, 1, 2, 3}, {'<', 'p', '>'}}, true};
    seeds.push_back(EncodeQvs(*small, options));
    seeds.push_back(EncodeQvsTemplate(*small));
    for (std::uint32_t seed = 100; seed < 104; ++seed) {
        auto world = test::RandomWorld(seed);
        seeds.push_back(EncodeQvs(*world, {}));
    }
    return seeds;
}

std::vector<Bytes> ExampleSeeds() {
    std::vector<Bytes> seeds;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(VELO_SOURCE_DIR) / "examples";
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".qvs") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

// Offsets of the fields that hold counts, sizes and lengths.
std::vector<std::size_t> SizeFields(const Bytes& b) {
    std::vector<std::size_t> fields = {128, 132 + 59, 132 + 63};
    if (b.size() < 140) return fields;
    const std::size_t l1 = static_cast<std::size_t>(std::max(0, test::I32At(b, 128)));
    const std::size_t section2 = 132 + l1;
    if (section2 + 4 > b.size()) return fields;
    fields.push_back(section2);
    const std::size_t section3 = section2 + 4 + static_cast<std::size_t>(std::max(0, test::I32At(b, section2)));
    if (section3 >= b.size()) return fields;
    const int k = b[section3];
    for (int i = 0; i < 2 * k; ++i) fields.push_back(section3 + 1 + 4 * static_cast<std::size_t>(i));
    const test::FileMap m = test::MapFile(b);
    if (m.K >= KindSurface) {
        std::size_t at = m.KindStart[KindSurface];
        for (int r = 0; r < m.Counts[KindSurface]; ++r) {
            fields.push_back(at + 3);
            at += static_cast<std::size_t>(m.Sizes[KindSurface]) + 16 * static_cast<std::size_t>(test::I32At(b, at + 3));
        }
    }
    const std::size_t embedded = m.KindStart[m.K + 1];
    fields.push_back(embedded);
    if (embedded + 4 <= b.size()) fields.push_back(embedded + 4 + static_cast<std::size_t>(std::max(0, test::I32At(b, embedded))));
    return fields;
}

Bytes Mutate(const Bytes& seed, const std::vector<std::size_t>& fields, std::mt19937& random) {
    Bytes b = seed;
    auto below = [&](std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    static const std::int32_t values[] = {-1, 0, 1, 2, 9, 10, 100, 101, 200, 201, 400, 401,
                                          1023, 1024, 1025, 65535, 1 << 20, INT_MAX, INT_MIN, -160};
    const int kind = static_cast<int>(below(6));
    switch (kind) {
        case 0: {  // bit flips
            const int flips = 1 + static_cast<int>(below(8));
            for (int f = 0; f < flips && !b.empty(); ++f) b[below(b.size())] ^= static_cast<std::uint8_t>(1u << below(8));
            break;
        }
        case 1:  // truncation
            b.resize(below(b.size() + 1));
            break;
        case 2:  // an impossible or unusual value where a count, size or length lives
        case 3: {
            const std::size_t at = fields[below(fields.size())];
            const std::int32_t value = below(4) == 0 ? static_cast<std::int32_t>(random())
                                                     : values[below(std::size(values))];
            if (at + 4 <= b.size()) test::PutI32At(b, at, value);
            break;
        }
        case 4:  // the kind count, the material count, a single byte
            if (b.size() > 190) b[132 + 58] = static_cast<std::uint8_t>(random());
            if (!b.empty()) b[below(b.size())] = static_cast<std::uint8_t>(random());
            break;
        default: {  // a block removed or duplicated
            if (b.size() < 2) break;
            const std::size_t from = below(b.size());
            const std::size_t length = std::min(b.size() - from, 1 + below(64));
            if (below(2) == 0) {
                b.erase(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + length));
            } else {
                const Bytes block(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + length));
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(below(b.size())), block.begin(), block.end());
            }
            break;
        }
    }
    return b;
}

// What any World that came out of the reader must satisfy.
std::string CheckLimits(const World& w) {
    for (int kind = KindLaval; kind <= KindSurface2; ++kind) {
        const int count = CountOf(w, kind);
        if (count < 0 || count > CapacityOf(kind)) return "count of kind " + std::to_string(kind) + " out of its table";
    }
    const int n = w.Materials.MaterialCount;
    if (n > MaxMaterialIndex) return "material count above the table";
    auto materialOk = [&](int material) { return material <= n; };
    for (int k = 0; k <= w.HandCount; ++k) if (!materialOk(w.Hands[k].Material)) return "support material";
    for (int k = 1; k <= w.BallCount; ++k) if (!materialOk(w.Balls[k].Material)) return "ball material";
    for (int k = 1; k <= w.PegCount; ++k) if (!materialOk(w.Pegs[k].Material)) return "rod material";
    for (int k = 1; k <= w.SurfaceCount; ++k) {
        const Surface& s = w.Surfaces[k];
        if (s.PointCount < 0 || s.PointCount > SurfacePointCapacity) return "polyline vertex count";
        if (s.Points.size() != static_cast<std::size_t>(SurfacePointCapacity)) return "polyline vertex table";
    }
    if (w.Params.DefaultMaterial > n) return "default material";
    return {};
}

int Run(int variants) {
    std::vector<Bytes> seeds = ExampleSeeds();
    const std::size_t examples = seeds.size();
    for (Bytes& seed : BuiltInSeeds()) seeds.push_back(std::move(seed));
    std::vector<std::vector<std::size_t>> fields;
    for (const Bytes& seed : seeds) fields.push_back(SizeFields(seed));

    std::mt19937 random(20240611);
    auto world = std::make_unique<World>();
    auto again = std::make_unique<World>();
    SilentMessenger quiet;
    QvsReadOptions yes;
    yes.OpenNewerFile = true;
    int read = 0;
    int refused = 0;
    for (int v = 0; v < variants; ++v) {
        const std::size_t which = v % seeds.size();
        const Bytes variant = Mutate(seeds[which], fields[which], random);
        const QvsOpenResult result = DecodeQvs(*world, variant, quiet, yes);
        if (result.Read()) {
            ++read;
            const std::string fault = CheckLimits(*world);
            if (!fault.empty()) {
                std::cerr << "variant " << v << " of seed " << which << ": " << fault << "\n";
                return 1;
            }
            // Whatever was read can be written and read again.
            const Bytes saved = EncodeQvs(*world, {result.AuthorText, result.Embedded, true});
            if (!DecodeQvs(*again, saved, quiet, yes).Read()) {
                std::cerr << "variant " << v << " of seed " << which << ": its save does not read back\n";
                return 1;
            }
        } else {
            ++refused;
            for (int kind = KindLaval; kind <= KindSurface2; ++kind) {
                if (CountOf(*world, kind) != 0) {
                    std::cerr << "variant " << v << ": a refused file left objects\n";
                    return 1;
                }
            }
        }
    }
    std::cout << variants << " variants of " << seeds.size() << " seed files (" << examples
              << " examples): " << read << " read, " << refused << " refused\n";
    return 0;
}

int WriteSeeds(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    int number = 0;
    for (const Bytes& seed : BuiltInSeeds()) {
        std::ofstream out(folder / ("seed" + std::to_string(++number) + ".qvs"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
        if (!out) return 1;
    }
    return 0;
}

}  // namespace
}  // namespace velo

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-seeds") return velo::WriteSeeds(argv[2]);
    const int variants = argc > 1 ? std::atoi(argv[1]) : 5000;
    return velo::Run(variants > 0 ? variants : 5000);
}
