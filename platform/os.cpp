#include "platform/os.h"

#include <cstdlib>

namespace plat {

namespace {
Os* active = nullptr;
}

Os& os() {
  if (!active) std::abort();  // a backend is chosen before anything runs
  return *active;
}

void Use_Os(Os* backend) { active = backend; }

}  // namespace plat
