// Writes the template of new mechanical projects, "New.qvs", from the
// program's defaults to the path given on the command line. The
// installation runs it; the program itself writes the same file beside
// itself when it finds none.
#include <filesystem>
#include <iostream>
#include <memory>

#include "model/world_ops.h"
#include "persist/qvs_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_template PATH/New.qvs\n";
        return 1;
    }
    auto defaults = std::make_unique<velo::World>();
    velo::DefaultWorld(*defaults);
    const velo::SaveResult saved = velo::SaveQvsTemplate(*defaults, argv[1]);
    if (!saved.Ok) {
        std::cerr << argv[1] << ": " << saved.Message << '\n';
        return 2;
    }
    return 0;
}
