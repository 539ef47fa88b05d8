// The player's settings between launches, around the command line: read at start for what the
// command line leaves alone, and written when the player changes one in play.
#pragma once

#include <string>

#include "app/options.h"

namespace zorvex {

// Whether the run reads and writes settings: only a live game played by a person, so that every
// run the tests rely on stays the same wherever it runs.
bool Keeps_Settings(const Options& options);

// Reads the settings into *options where the command line named nothing, and logs what it
// restored. Warnings go to `report`. Does nothing for a run that keeps no settings.
void Load_Settings(Options* options, void (*report)(const char* text));

// Whether the window's scale came from the settings (one that no longer fits gives way).
bool Scale_Restored();

// Writes a changed setting; returns a message for the player the first time writing fails.
std::string Remember_Setting(const char* key, int value);

}  // namespace zorvex
