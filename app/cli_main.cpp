// velmaro-cli: the sensor connection from the command line.
#include "runcli.h"

int main(int argc, char* argv[]) {
    return runCli(argc, argv);
}
