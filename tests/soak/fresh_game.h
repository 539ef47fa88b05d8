// Runs whole games one after another in one process, as a fresh program would run each.
#pragma once

namespace zorvex::soak {

// Puts the game's globals back to their values at program start; the tables persist between
// runs otherwise (a ball left in play by one run would still be in play in the next).
void Reset_Game_Globals();

// After Shutdown_Game, while the backend is still alive: releases what shutdown leaves to the
// process's end (the back buffer's clipper), so that the next run starts clean and nothing from
// this one outlives its backend.
void Release_Leftovers();

}  // namespace zorvex::soak
