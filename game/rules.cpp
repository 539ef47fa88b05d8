#include "game/rules.h"

#include "game/arith.h"
#include "game/types.h"

namespace zorvex {

std::int32_t score = 0;
std::int32_t lives = 0;
std::int32_t level = 0;
std::int32_t game_mode = MODE_TITLE;

}  // namespace zorvex
