#include <string>
#include <vector>

#include "run/platform.h"
#include "run/run_conversion.h"

int main(int argc, char** argv) {
  stpconv::platform::prepareProcess();
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return stpconv::runConversion(arguments);
}
