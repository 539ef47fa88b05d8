// The ten best games played live, each with its date, the level it reached and its recording
// (the same lines --record writes), so that every score listed can be watched again. The table
// is best-games.txt beside the recordings; a finished game is put in under a lock, so two copies
// of the game finishing at once both land and neither table is lost.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/files/storage.h"

namespace host {

using plat::files::ReadResult;
using plat::files::Storage;

constexpr int BEST_GAMES = 10;

struct BestGame {
  std::int64_t score = 0;
  int level = 0;
  std::string date;       // UTC, YYYY-MM-DDTHH:MM:SSZ
  std::string recording;  // its file's name beside the table
};

// The table's text, best first; false when it is not a table.
bool Parse_Best_Games(const std::string& text, std::vector<BestGame>* games);
std::string Best_Games_Text(const std::vector<BestGame>& games);
// Where `game` would go (1 for the best), or 0 when it does not make the table. A score equal to
// one listed goes below it: the earlier game keeps its place.
int Rank_Of(const std::vector<BestGame>& games, std::int64_t score);

class BestGamesKeeper {
 public:
  BestGamesKeeper(std::unique_ptr<Storage> storage, std::function<void(const std::string&)> warn);
  // The table as stored; a file that is not a table goes aside as best-games.txt.bad.
  std::vector<BestGame> Load();
  // Puts a finished game in; returns its rank, 0 when it did not make the table, -1 when it
  // could not be stored (*error says why, the stored table as it was).
  int Add(std::int64_t score, int level, const std::string& date, const std::string& recording,
          std::string* error);
  std::string Where(const std::string& name) const { return storage_->Where(name); }

 private:
  int Add_Locked(BestGame game, const std::string& recording, std::string* error);

  std::unique_ptr<Storage> storage_;
  std::function<void(const std::string&)> warn_;
};

}  // namespace host
