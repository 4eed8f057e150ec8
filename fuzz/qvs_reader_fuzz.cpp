// libFuzzer target of the simulation file reader: any bytes must end as a
// World or a refusal, and whatever was read must encode. That the encoded
// file reads back is the mutation test's check (velo_qvs_mutation): here it
// would halve the executions for little the sanitizers do not already see.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/messages.h"
#include "model/world.h"
#include "persist/qvs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One World for the whole run: it is a few megabytes, and the reader
    // must cope with whatever an earlier file left in its slots.
    static velo::World* world = std::make_unique<velo::World>().release();
    velo::SilentMessenger quiet;
    velo::QvsReadOptions options;
    options.OpenNewerFile = true;
    const velo::QvsOpenResult result = velo::DecodeQvs(*world, std::span(data, size), quiet, options);
    if (result.Read()) {
        const std::vector<std::uint8_t> saved =
            velo::EncodeQvs(*world, {result.AuthorText, result.Embedded, true});
        if (saved.size() < 128) __builtin_trap();
    }
    return 0;
}
