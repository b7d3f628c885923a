// quillet-folds FILE: prints, for every line of FILE as the editor splits
// lines, the nesting depth before it as the fold levels count it.
#include "FoldLevels.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet-folds FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        std::fprintf(stderr, "quillet-folds: cannot read %s\n", argv[1]);
        return 1;
    }
    CFoldScan scan(text, CFoldLevels::kSpacing);
    scan.Run({}, {}, 0);
    long long depth = 0;
    std::string out;
    for (const CFoldLine& line : scan.Lines()) {
        out += std::to_string(depth);
        out += '\n';
        depth += line.net;
    }
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
