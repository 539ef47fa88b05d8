#include "platform/soft/faults.h"

#include <algorithm>

namespace plat::soft {

void FaultPlan::Fail(const std::string& step, HRESULT code, int nth) {
  rules_.push_back({step, code, nth < 0 ? 1 : nth});
}

bool FaultPlan::Check(std::string_view step, std::string_view role_step, HRESULT* code) {
  bool failed = false;
  for (auto it = rules_.begin(); it != rules_.end();) {
    if (it->step != step && it->step != role_step) {
      ++it;
      continue;
    }
    if (it->countdown == kEvery) {
      failed = true;
      *code = it->code;
      ++it;
    } else if (--it->countdown == 0) {
      failed = true;
      *code = it->code;
      it = rules_.erase(it);
    } else {
      ++it;
    }
  }
  return failed;
}

std::size_t Journal::Count(std::string_view entry) const {
  return static_cast<std::size_t>(std::count(entries_.begin(), entries_.end(), entry));
}

long Journal::Index_Of(std::string_view entry) const {
  auto it = std::find(entries_.begin(), entries_.end(), entry);
  return it == entries_.end() ? -1 : static_cast<long>(it - entries_.begin());
}

std::vector<std::string> Journal::Only(const std::vector<std::string>& wanted) const {
  std::vector<std::string> out;
  for (const auto& e : entries_)
    if (std::find(wanted.begin(), wanted.end(), e) != wanted.end()) out.push_back(e);
  return out;
}

}  // namespace plat::soft
