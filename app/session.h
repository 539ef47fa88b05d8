// What drives a run besides the plain game: replays, recordings, the autopilot and traces.
// The message loop calls these around start-up and around every frame; with none of the
// options given they do nothing and the game runs on the live clock and devices.
#pragma once

#include <cstdint>
#include <string>

#include "app/options.h"

namespace zorvex {

// Opens the replay (a regular file is checked whole first), opens the trace and recording named
// in the options and checks that the snapshots can be written. On failure returns false with the
// reason (the command line's fault: the program exits 2).
bool Begin_Session(const Options& options, std::string* error);

// Called before Setup_Game: fixes the start tick when a replay, a recording or the headless
// autopilot needs one.
void Session_Before_Setup();
// Called after a successful Setup_Game: the trace's first line.
void Session_After_Setup();
// Called before each Run_Frame; false when the run's input has ended (the last replay line,
// or the frame count of a headless autoplay), which ends the run as a quit does.
bool Session_Before_Frame();
// Called after each Run_Frame: the trace line, the recording line and the snapshots of that
// frame.
void Session_After_Frame();
// Lets a tool look at the game after every frame (the soak test checks its invariants there).
using Frame_Observer = void (*)(std::uint64_t frame);
void Set_Frame_Observer(Frame_Observer observer);
// With Options::keep_games, called at each game over with the live run's recording up to it.
using Game_Over_Keeper = void (*)(const std::string& recording);
void Set_Game_Over_Keeper(Game_Over_Keeper keeper);
// Flushes and closes what the session wrote and reports snapshots never reached; false if
// writing failed. Puts the backend the session found back in use.
bool End_Session();
// Why a replay stopped early at a malformed line ("line N: ..."), or "" when it did not.
const std::string& Session_Replay_Error();
const std::string& Session_Replay_Path();

}  // namespace zorvex
