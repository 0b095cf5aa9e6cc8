#include "app/startup.h"

int main(int argc, char* argv[])
{
    return RunSplicora(argc, argv);
}
