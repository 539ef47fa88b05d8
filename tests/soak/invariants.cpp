#include "tests/soak/invariants.h"

#include <algorithm>

#include "game/balls.h"
#include "game/bricks.h"
#include "game/state.h"
#include "input/input.h"

namespace zorvex::testing {

void Invariants::New_Game(std::uint32_t seed) {
  seed_ = seed;
  frames_ = 0;
  last_mode_ = MODE_TITLE;
  last_score_ = 0;
  last_level_ = 0;
}

void Invariants::Breach(std::uint64_t frame, const char* what, long long value) {
  if (!broken_)
    std::fprintf(stderr, "zorvex-soak: seed %u, frame %llu: %s (%lld)\n", seed_,
                 static_cast<unsigned long long>(frame), what, value);
  broken_ = true;
}

void Invariants::Check_Frame(std::uint64_t frame) {
  ++frames_;
  int in_play = 0;
  for (const Ball& b : balls) in_play += b.active == 1;
  const int live_bricks = Count_Bricks();
  if (in_play > BALL_COUNT) Breach(frame, "more balls in play than the table holds", in_play);
  if (live_bricks > BRICK_COUNT)
    Breach(frame, "more live bricks than the table holds", live_bricks);
  if (pointer_x < 0 || pointer_x > SCREEN_WIDTH)
    Breach(frame, "pointer_x off the screen", pointer_x);
  if (game_mode < MODE_TITLE || game_mode > MODE_GAME_OVER)
    Breach(frame, "unknown mode", game_mode);
  // The score only falls on a restart from the game-over screen, and then to 0.
  const bool restart = last_mode_ == MODE_GAME_OVER && game_mode == MODE_PLAY && score == 0;
  if (score < last_score_ && !restart) Breach(frame, "the score fell within a game", score);
  if (level < 0) Breach(frame, "negative level", level);

  restarts_ += restart;
  level_starts_ += level != last_level_;
  if (game_mode >= MODE_TITLE && game_mode <= MODE_GAME_OVER) ++mode_frames_[game_mode];
  best_score_ = std::max(best_score_, score);
  best_level_ = std::max(best_level_, level);
  most_balls_ = std::max(most_balls_, in_play);
  last_mode_ = game_mode;
  last_score_ = score;
  last_level_ = level;
}

void Invariants::Print_Summary(std::FILE* out) const {
  std::fprintf(out,
               "frames by mode: title %llu, play %llu, intro %llu, game over %llu; restarts %llu, "
               "level starts %llu, best score %d, best level %d, most balls at once %d\n",
               static_cast<unsigned long long>(mode_frames_[MODE_TITLE]),
               static_cast<unsigned long long>(mode_frames_[MODE_PLAY]),
               static_cast<unsigned long long>(mode_frames_[MODE_INTRO]),
               static_cast<unsigned long long>(mode_frames_[MODE_GAME_OVER]),
               static_cast<unsigned long long>(restarts_),
               static_cast<unsigned long long>(level_starts_), static_cast<int>(best_score_),
               static_cast<int>(best_level_), most_balls_);
}

}  // namespace zorvex::testing
