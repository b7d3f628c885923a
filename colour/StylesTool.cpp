// quillet-styles [--grammar] FILE: colours FILE's bytes in one pass, as the
// editor does (by the grammars with --grammar), and prints "START END SLOT"
// for every run of bytes with the same slot.
#include "SlotBuffer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    const bool grammar = argc == 3 && std::string(argv[1]) == "--grammar";
    if (grammar)
        ++argv, --argc;
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet-styles [--grammar] FILE\n");
        return 2;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(argv[1], error)) {
        std::fprintf(stderr, "quillet-styles: %s is not a file\n", argv[1]);
        return 1;
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
    const std::string out = FormatRuns(grammar ? ColourRuns(text, ColourRules::Grammar) : ColourRuns(text));
    const bool written = std::fwrite(out.data(), 1, out.size(), stdout) == out.size() &&
                         std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written) {
        std::fprintf(stderr, "quillet-styles: cannot write the runs of %s\n", argv[1]);
        return 1;
    }
    return 0;
}
