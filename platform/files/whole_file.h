// Files written whole or not at all: first to a temporary file in the same folder, flushed to the
// disk, then renamed into place, so that a full disk or any other failure leaves neither a partial
// file nor the temporary one.
#pragma once

#include <cstddef>
#include <string>

namespace plat::files {

enum class Replace {
  OLD_FILE,  // a file the game keeps: replaces the one there, readable by all (0644)
  NEVER,     // a new picture: a name already taken is refused, the mode is the umask's
};

enum class Written { WRITTEN, NAME_TAKEN, FAILED };

// On failure *error says which step failed and why, e.g. "cannot write: No space left on device".
Written Write_Whole_File(const std::string& path, const void* data, std::size_t size,
                         Replace replace, std::string* error);

}  // namespace plat::files
