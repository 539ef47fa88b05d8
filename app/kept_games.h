// The best games around a run: --scores and --watch N, and for a live game played by a person,
// each game over offered to the table, with notes for its rank and for the best on the title.
#pragma once

#include "app/options.h"

namespace zorvex {

// --scores prints the table; --watch N names the Nth best game's recording as the replay.
// Returns -1 to go on, or the exit status (0 after --scores, 2 for an N with no game). Warnings
// go to `report`.
int Kept_Games_Command(Options* options, void (*report)(const char* text));

// For a live run by a person (Keeps_Settings) sets options->keep_games, so that the session
// keeps the run's recording. Before the session opens.
void Choose_Keeping_Games(Options* options);
// With keep_games: each game over is offered to the table, and the top five are posted for the
// title screen. Warnings go to `report`.
void Start_Keeping_Games(const Options& options, void (*report)(const char* text));

}  // namespace zorvex
