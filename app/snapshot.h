// Pictures of chosen frames (--snapshot): after a frame's flip the page on show is read through
// the surface's Lock and written as an uncompressed 24-bit BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"
#include "platform/ddraw.h"

namespace zorvex {

// Takes the run's snapshots and checks that each one's folder takes new files; false with the
// reason otherwise (the command line's fault: the program exits 2).
bool Begin_Snapshots(const std::vector<Snapshot>& wanted, std::string* error);
// After frame `frame` has been shown: writes the snapshots asked of it. A file that cannot be
// written is reported on standard error at once and the run goes on.
void Take_Snapshots(std::uint64_t frame);
// Reports on standard error every snapshot whose frame the run never reached (`last_frame` is
// the last one it ran); false when one could not be written.
bool End_Snapshots(std::uint64_t last_frame);

// Writes what `surface` holds to `path` as a 24-bit BMP, by way of a file beside it that is
// renamed once whole, so `path` is never left half-written. False with the reason otherwise.
bool Write_Surface_Bmp(plat::IDirectDrawSurface4* surface, const std::string& path,
                       std::string* error);

}  // namespace zorvex
