#include "host/best_games.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace host {

namespace {

constexpr const char* TABLE_FILE = "best-games.txt";
constexpr const char* LOCK_FILE = "best-games.lock";
constexpr std::size_t MAX_TABLE_BYTES = 64 * 1024;

bool Is_Date(const std::string& date) {
  if (date.size() != 20 || date[4] != '-' || date[7] != '-' || date[10] != 'T' || date[13] != ':' ||
      date[16] != ':' || date[19] != 'Z')
    return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})
    if (date[i] < '0' || date[i] > '9') return false;
  return true;
}

// A recording's name: letters, digits, '-' and '.', ending .replay, never a path.
bool Is_Recording_Name(const std::string& name) {
  if (name.size() < 8 || name.size() > 64 || name.compare(name.size() - 7, 7, ".replay") != 0)
    return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) {
                       return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                              (c >= '0' && c <= '9') || c == '-' || c == '.';
                     }) &&
         name[0] != '.';
}

// A name no other game has: the date's digits and a number of our own.
std::string New_Recording_Name(const std::string& date, const std::vector<BestGame>& games) {
  std::string digits;
  for (char c : date)
    if (c >= '0' && c <= '9') digits += c;
  for (int n = 1;; ++n) {
    const std::string name = "game-" + digits + "-" + std::to_string(n) + ".replay";
    if (std::none_of(games.begin(), games.end(),
                     [&](const BestGame& g) { return g.recording == name; }))
      return name;
  }
}

}  // namespace

bool Parse_Best_Games(const std::string& text, std::vector<BestGame>* games) {
  games->clear();
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    BestGame game;
    std::string extra;
    if (!(fields >> game.score >> game.level >> game.date >> game.recording) || (fields >> extra))
      return false;
    if (game.score < 0 || game.level < 1 || !Is_Date(game.date) ||
        !Is_Recording_Name(game.recording) || games->size() >= BEST_GAMES)
      return false;
    if (!games->empty() && games->back().score < game.score) return false;  // best first
    games->push_back(game);
  }
  return true;
}

std::string Best_Games_Text(const std::vector<BestGame>& games) {
  std::string text = "# Zorvex best games, best first: score level date recording\n";
  for (const BestGame& g : games) {
    text += std::to_string(g.score) + " " + std::to_string(g.level) + " " + g.date + " " +
            g.recording + "\n";
  }
  return text;
}

int Rank_Of(const std::vector<BestGame>& games, std::int64_t score) {
  const auto below =
      std::find_if(games.begin(), games.end(), [&](const BestGame& g) { return g.score < score; });
  const int rank = static_cast<int>(below - games.begin()) + 1;
  return rank > BEST_GAMES ? 0 : rank;
}

BestGamesKeeper::BestGamesKeeper(std::unique_ptr<Storage> storage,
                                 std::function<void(const std::string&)> warn)
    : storage_(std::move(storage)), warn_(std::move(warn)) {}

std::vector<BestGame> BestGamesKeeper::Load() {
  std::string text, error;
  std::vector<BestGame> games;
  const ReadResult read = storage_->Read(TABLE_FILE, MAX_TABLE_BYTES, &text, &error);
  if (read == ReadResult::MISSING) return games;
  if (read == ReadResult::READ && Parse_Best_Games(text, &games)) return games;
  games.clear();
  const std::string why =
      read == ReadResult::UNREADABLE ? "unreadable (" + error + ")" : "not a table of best games";
  if (storage_->Move_Aside(TABLE_FILE, &error))
    warn_(Where(TABLE_FILE) + " is " + why + "; moved aside to " + Where(TABLE_FILE) + ".bad");
  else
    warn_(Where(TABLE_FILE) + " is " + why + " and could not be moved aside (" + error + ")");
  return games;
}

int BestGamesKeeper::Add(std::int64_t score, int level, const std::string& date,
                         const std::string& recording, std::string* error) {
  if (!storage_->Lock(LOCK_FILE, error)) return -1;
  const int rank = Add_Locked(BestGame{score, level, date, ""}, recording, error);
  storage_->Unlock();
  return rank;
}

int BestGamesKeeper::Add_Locked(BestGame game, const std::string& recording, std::string* error) {
  std::string text;
  std::vector<BestGame> games;
  const ReadResult read = storage_->Read(TABLE_FILE, MAX_TABLE_BYTES, &text, error);
  // A table that is there but cannot be read is left alone: writing over it would lose it.
  if (read == ReadResult::UNREADABLE || read == ReadResult::TOO_BIG) return -1;
  if (read == ReadResult::READ && !Parse_Best_Games(text, &games)) games = Load();
  const int rank = Rank_Of(games, game.score);
  if (rank == 0) return 0;
  game.recording = New_Recording_Name(game.date, games);
  if (!storage_->Write(game.recording, recording, error)) return -1;
  games.insert(games.begin() + (rank - 1), game);
  std::vector<BestGame> dropped(games.begin() + std::min<std::size_t>(games.size(), BEST_GAMES),
                                games.end());
  games.resize(std::min<std::size_t>(games.size(), BEST_GAMES));
  if (!storage_->Write(TABLE_FILE, Best_Games_Text(games), error)) {
    storage_->Remove(game.recording);
    return -1;
  }
  for (const BestGame& gone : dropped) storage_->Remove(gone.recording);
  return rank;
}

}  // namespace host
