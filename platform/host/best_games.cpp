#include "platform/host/best_games.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace plat::host {

namespace {

constexpr const char* kTable = "best-games.txt";
constexpr const char* kLock = "best-games.lock";
constexpr std::size_t kMaxTableBytes = 64 * 1024;

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
std::string New_Recording_Name(const std::string& date, const std::vector<Best_Game>& games) {
  std::string digits;
  for (char c : date)
    if (c >= '0' && c <= '9') digits += c;
  for (int n = 1;; ++n) {
    const std::string name = "game-" + digits + "-" + std::to_string(n) + ".replay";
    if (std::none_of(games.begin(), games.end(),
                     [&](const Best_Game& g) { return g.recording == name; }))
      return name;
  }
}

}  // namespace

bool Parse_Best_Games(const std::string& text, std::vector<Best_Game>* games) {
  games->clear();
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Best_Game game;
    std::string extra;
    if (!(fields >> game.score >> game.level >> game.date >> game.recording) || (fields >> extra))
      return false;
    if (game.score < 0 || game.level < 1 || !Is_Date(game.date) ||
        !Is_Recording_Name(game.recording) || games->size() >= kBestGames)
      return false;
    if (!games->empty() && games->back().score < game.score) return false;  // best first
    games->push_back(game);
  }
  return true;
}

std::string Best_Games_Text(const std::vector<Best_Game>& games) {
  std::string text = "# Zorvex best games, best first: score level date recording\n";
  for (const Best_Game& g : games) {
    text += std::to_string(g.score) + " " + std::to_string(g.level) + " " + g.date + " " +
            g.recording + "\n";
  }
  return text;
}

int Rank_Of(const std::vector<Best_Game>& games, std::int64_t score) {
  const auto below =
      std::find_if(games.begin(), games.end(), [&](const Best_Game& g) { return g.score < score; });
  const int rank = static_cast<int>(below - games.begin()) + 1;
  return rank > kBestGames ? 0 : rank;
}

Best_Games_Keeper::Best_Games_Keeper(std::unique_ptr<Storage> storage,
                                     std::function<void(const std::string&)> warn)
    : storage_(std::move(storage)), warn_(std::move(warn)) {}

std::vector<Best_Game> Best_Games_Keeper::Load() {
  std::string text, error;
  std::vector<Best_Game> games;
  const Read_Result read = storage_->Read(kTable, kMaxTableBytes, &text, &error);
  if (read == Read_Result::kMissing) return games;
  if (read == Read_Result::kRead && Parse_Best_Games(text, &games)) return games;
  games.clear();
  const std::string why =
      read == Read_Result::kUnreadable ? "unreadable (" + error + ")" : "not a table of best games";
  if (storage_->Move_Aside(kTable, &error))
    warn_(Where(kTable) + " is " + why + "; moved aside to " + Where(kTable) + ".bad");
  else
    warn_(Where(kTable) + " is " + why + " and could not be moved aside (" + error + ")");
  return games;
}

int Best_Games_Keeper::Add(std::int64_t score, int level, const std::string& date,
                           const std::string& recording, std::string* error) {
  if (!storage_->Lock(kLock, error)) return -1;
  const int rank = Add_Locked(Best_Game{score, level, date, ""}, recording, error);
  storage_->Unlock();
  return rank;
}

int Best_Games_Keeper::Add_Locked(Best_Game game, const std::string& recording,
                                  std::string* error) {
  std::string text;
  std::vector<Best_Game> games;
  const Read_Result read = storage_->Read(kTable, kMaxTableBytes, &text, error);
  // A table that is there but cannot be read is left alone: writing over it would lose it.
  if (read == Read_Result::kUnreadable || read == Read_Result::kTooBig) return -1;
  if (read == Read_Result::kRead && !Parse_Best_Games(text, &games)) games = Load();
  const int rank = Rank_Of(games, game.score);
  if (rank == 0) return 0;
  game.recording = New_Recording_Name(game.date, games);
  if (!storage_->Write(game.recording, recording, error)) return -1;
  games.insert(games.begin() + (rank - 1), game);
  std::vector<Best_Game> dropped(games.begin() + std::min<std::size_t>(games.size(), kBestGames),
                                 games.end());
  games.resize(std::min<std::size_t>(games.size(), kBestGames));
  if (!storage_->Write(kTable, Best_Games_Text(games), error)) {
    storage_->Remove(game.recording);
    return -1;
  }
  for (const Best_Game& gone : dropped) storage_->Remove(gone.recording);
  return rank;
}

}  // namespace plat::host
