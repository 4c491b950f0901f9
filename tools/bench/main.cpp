// pellory-bench: see scripts/bench. "pellory-bench app <scale> <echo url>" is the application
// side and "pellory-bench read <device> <bytes>" the bare reader, both started by the driver;
// anything else runs the driver.
#include "BenchProtocol.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "app") == 0)
        return benchApp(argc, argv, std::atof(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc >= 4 && std::strcmp(argv[1], "read") == 0)
        return benchReader(argv[2], std::atoll(argv[3]));
    return benchDriver(argc, argv);
}
