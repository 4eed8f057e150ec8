// libFuzzer target of the simulation file reader: any bytes must end as a
// World or a refusal, and whatever was read must save and read back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/messages.h"
#include "model/world.h"
#include "persist/qvs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One World for the whole run: it is a few megabytes, and the reader
    // must cope with whatever an earlier file left in its slots.
    static velo::World* world = std::make_unique<velo::World>().release();
    velo::SilentMessenger yes(true);
    const std::vector<std::uint8_t> bytes(data, data + size);
    const velo::QvsOpenResult result = velo::DecodeQvs(*world, bytes, yes);
    if (result.Read()) {
        const std::vector<std::uint8_t> saved =
            velo::EncodeQvs(*world, {result.AuthorText, result.Embedded, true});
        if (!velo::DecodeQvs(*world, saved, yes).Read()) __builtin_trap();
    }
    return 0;
}
