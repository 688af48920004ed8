#include "bench/Options.h"

#include <cstring>

namespace qaxoi::bench {

Options TakeOptions(int& argc, char** argv) {
  Options options;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke") == 0) {
      options.plan.once = true;
      options.plan.smallestOnly = true;
    } else if (std::strcmp(argv[i], "--once") == 0) {
      options.plan.once = true;
    } else if (std::strcmp(argv[i], "--no-header") == 0) {
      options.header = false;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  argv[argc] = nullptr;
  return options;
}

}  // namespace qaxoi::bench
