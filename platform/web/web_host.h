// The browser host: the page's canvas, its keyboard and mouse, and WebAudio. The page's script
// drives the frames; this side never waits.
#pragma once

#include <memory>
#include <string>

#include "platform/soft/host.h"

namespace plat::web {

// `sensitivity`: mouse motion in percent, 25 to 400; `stick_position`: a pad's left stick names
// a place on the field rather than a speed.
std::unique_ptr<soft::Host> Make_Web_Host(bool sound, int sensitivity = 100,
                                          bool stick_position = false);
// Keeps the volume the player sets in play; returns a message to show when it could not be kept.
void Set_Remember(std::string (*remember)(const char* key, int value));
// The volume the next host starts with (--volume, or the one kept).
void Set_Start_Volume(int volume);

}  // namespace plat::web
