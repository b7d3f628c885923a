// quillet-styles FILE: colours FILE's bytes in one pass, as the editor does, and
// prints "START END SLOT" for every run of bytes with the same slot.
#include "SlotBuffer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet-styles FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quillet-styles: cannot open %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        std::fprintf(stderr, "quillet-styles: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string out = FormatRuns(ColourRuns(text));
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
