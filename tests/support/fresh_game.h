// Runs the game again and again in one process (tests, the soak, the benchmarks), each time as
// a fresh program would.
#pragma once

namespace zorvex::harness {

// Puts the game's globals back to their values at program start; the tables persist between
// runs otherwise (a ball left in play by one run would still be in play in the next).
void Reset_Game_Globals();

// After Shutdown_Game, while the backend is still alive: releases what shutdown leaves to the
// process's end (the back buffer's clipper), so that the next run starts clean and nothing from
// this one outlives its backend.
void Release_Leftovers();

// Registers the window class and makes the game window as WinMain does, for code that calls
// Setup_Game itself; sets main_window and app_instance. False when no window could be made.
bool Open_Game_Window();

}  // namespace zorvex::harness
