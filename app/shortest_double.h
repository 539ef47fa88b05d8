// The shortest decimal form of a double that reads back to the same double, written as
// std::to_chars(first, last, value) writes it, for C++ libraries that lack that overload.
#pragma once

#include <string>

namespace zorvex {

// Finite values only. Fixed or scientific notation, whichever is shorter (fixed on a tie), with
// the fewest significant digits that read back exactly.
std::string Shortest_Double(double value);

}  // namespace zorvex
