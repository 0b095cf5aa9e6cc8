#include "cli/clicommands.h"

int main(int argc, char* argv[])
{
    return RunSplicoraCli(argc, argv);
}
