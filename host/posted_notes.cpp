#include "host/posted_notes.h"

#include <utility>

namespace host {

namespace {
std::vector<std::string> posted;
}

void Post_Note(const std::string& text) { posted.push_back(text); }

std::vector<std::string> Take_Posted_Notes() { return std::exchange(posted, {}); }

}  // namespace host
