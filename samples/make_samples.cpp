// Writes the sample MP3 files into the folder named on the command line; the
// build runs it to fill build/samples/.
#include <cstdio>
#include <exception>

#include "samplefiles.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        tagvane::makeSamples(argv[1]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
