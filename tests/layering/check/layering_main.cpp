// The layering check as a program: `layering <root of the tree>` prints each fault on a line of its own
// and a last line counting them; it exits with 1 when there is any.
#include "tests/layering/check/LayeringCheck.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: layering <root of the source tree>\n");
        return 2;
    }
    const std::vector<std::string> faults = layering::CheckTree(argv[1]);
    for (const std::string& f : faults) std::printf("%s\n", f.c_str());
    if (faults.empty()) std::printf("layering: the includes follow the design and MAP.md names every unit\n");
    else std::printf("layering: %zu fault%s\n", faults.size(), faults.size() == 1 ? "" : "s");
    return faults.empty() ? 0 : 1;
}
