// What drives a run besides the plain game: replays, recordings, the autopilot and traces.
// Begin_Session hooks them into the message loop, around start-up and around every frame (see
// zorvex/win_main.h); with none of the options given they do nothing and the game runs on the
// live clock and devices.
#pragma once

#include <cstdint>
#include <string>

#include "app/options.h"

namespace zorvex {

// Opens the replay (a regular file is checked whole first), opens the trace and recording named
// in the options and checks that the snapshots can be written. On failure returns false with the
// reason (the command line's fault: the program exits 2). Before Setup_Game the session fixes the
// start tick when a replay, a recording or the headless autopilot needs one; after it, it writes
// the trace's first line; before each frame it pins the frame's input, and ends the run when
// the input has ended (the last replay line, or the frame count of a headless autoplay); after
// each frame it writes the trace line, the recording line and the frame's snapshots.
bool Begin_Session(const Options& options, std::string* error);

// Lets a tool look at the game after every frame (the soak test checks its invariants there).
using FrameObserver = void (*)(std::uint64_t frame);
void Set_Frame_Observer(FrameObserver observer);
// With Options::keep_games, called at each game over with the live run's recording up to it.
using GameOverKeeper = void (*)(const std::string& recording);
void Set_Game_Over_Keeper(GameOverKeeper keeper);
// Flushes and closes what the session wrote and reports snapshots never reached; false if
// writing failed. Puts the backend the session found back in use.
bool End_Session();
// Why a replay stopped early at a malformed line ("line N: ..."), or "" when it did not.
const std::string& Session_Replay_Error();
const std::string& Session_Replay_Path();

}  // namespace zorvex
