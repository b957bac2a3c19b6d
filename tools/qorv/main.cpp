#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/qorv/qorv_commands.h"

int main(int argc, char** argv) {
  return RunQorv(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr,
                 isatty(STDERR_FILENO) != 0);
}
