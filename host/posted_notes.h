// Notes the game's side of a run hands to whichever host shows the picture (a best game's rank
// at game over, the best scores on the title screen): the host layer shows them with its next
// frame, over the picture like its own.
#pragma once

#include <string>
#include <vector>

namespace host {

void Post_Note(const std::string& text);
// The notes posted since the last call, oldest first.
std::vector<std::string> Take_Posted_Notes();

}  // namespace host
