// Writes the example scenes into the folder given on the command line
// (default: the current folder). The committed files in examples/ come
// from this program.
#include <filesystem>
#include <iostream>
#include <memory>

#include "example_scenes.h"
#include "persist/qvs_file.h"

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
    int status = 0;
    for (const velo::ExampleScene& scene : velo::ExampleScenes()) {
        auto world = std::make_unique<velo::World>();
        velo::BuildExample(*world, scene);
        velo::QvsSaveOptions options;
        options.AuthorText = scene.AuthorText;
        const velo::SaveResult saved = velo::SaveQvs(*world, folder / scene.FileName, options);
        if (!saved.Ok) {
            std::cerr << scene.FileName << ": " << saved.Message << '\n';
            status = 2;
        } else {
            std::cout << (folder / scene.FileName).string() << '\n';
        }
    }
    return status;
}
