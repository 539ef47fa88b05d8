// Why start-up failed, for the one line the program prints before it exits.
#pragma once

namespace zorvex {

// Logs the message as the diagnostics log wants it, remembers it for the player, returns 0.
int Fail_Startup(const char* message, const char* file = nullptr);
// Remembers a failure that has no diagnostics message of its own; returns 0.
int Remember_Startup_Failure(const char* message);
// The message of the last start-up failure ("" if none), with the file it concerns if any.
const char* Startup_Failure();

}  // namespace zorvex
