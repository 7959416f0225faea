// The program's main block.
#include <cstdio>

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    std::puts("VornSP2Dp: the main window is not built yet; nothing to show.");
    return 0;
}
