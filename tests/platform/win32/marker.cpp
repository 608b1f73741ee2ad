// A program for process-start tests: leaves "<its own path>.ran" behind, holding its command line.

#include <fstream>
#include <string>

#include "platform/win32/win32_api.h"

int main() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::ofstream(std::string(path, length) + ".ran") << ::GetCommandLineA();
  return 0;
}
