#include "cli/cli.h"

int main(int argc, char** argv)
{
    return zev::RunCli(argc, argv);
}
