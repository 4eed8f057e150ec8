// libFuzzer target of the celestial scene reader: any text must end as a
// scene or a refusal that leaves the world as it was, and a scene that was
// read must write and read back to the very same text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/world.h"
#include "model/world_ops.h"
#include "persist/celestial_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Files longer than this are refused before they reach the reader.
    if (size > velo::MaxCelestialSceneSize) return 0;
    static velo::World* world = [] {
        auto* fresh = std::make_unique<velo::World>().release();
        velo::DefaultWorld(*fresh);
        return fresh;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t countBefore = world->HBodyCount;
    const double timeBefore = world->T;
    const velo::CelestialReadResult read = velo::CelestialSceneFromJson(text, *world);
    if (!read.Ok) {
        // A refusal says why and leaves the world alone.
        if (read.Message.empty() || world->HBodyCount != countBefore) __builtin_trap();
        if (world->T != timeBefore) __builtin_trap();
        return 0;
    }
    const velo::CelestialJsonText written = velo::CelestialSceneToJson(*world);
    if (!written.Ok) __builtin_trap();
    static velo::World* again = std::make_unique<velo::World>().release();
    if (!velo::CelestialSceneFromJson(written.Text, *again).Ok) __builtin_trap();
    if (velo::CelestialSceneToJson(*again).Text != written.Text) __builtin_trap();
    return 0;
}
