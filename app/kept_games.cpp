#include "app/kept_games.h"

#include <cstdio>
#include <ctime>
#include <memory>

#include "app/kept_settings.h"
#include "app/program.h"
#include "app/session.h"
#include "core/log.h"
#include "game/state.h"
#include "host/best_games.h"
#include "host/posted_notes.h"
#include "platform/files/storage.h"

namespace zorvex {

namespace {

std::unique_ptr<host::BestGamesKeeper> keeper;
void (*warn)(const char* text) = nullptr;
bool told = false;  // a game that could not be stored is told once a run

std::unique_ptr<host::BestGamesKeeper> Make_Keeper(void (*report)(const char*)) {
  const std::string folder = plat::files::Data_Folder();
  if (folder.empty()) return nullptr;
  return std::make_unique<host::BestGamesKeeper>(
      plat::files::Make_Folder_Storage(folder),
      [report](const std::string& text) { report(text.c_str()); });
}

std::string Utc_Now() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "1970-01-01T00:00:00Z";
  if (const std::tm* utc = std::gmtime(&now))
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  return text;
}

void Keep_Game(const std::string& recording) {
  std::string error;
  const int rank = keeper->Add(score, level, Utc_Now(), recording, &error);
  if (rank >= 0) {
    Log_Error("Game over at level %d with %d points: %s\n", static_cast<int>(level),
              static_cast<int>(score),
              rank ? ("best game #" + std::to_string(rank)).c_str() : "not among the best games");
  }
  if (rank > 0) {
    host::Post_Note("Best game #" + std::to_string(rank) + ": " + std::to_string(score));
  } else if (rank < 0 && !told) {
    told = true;
    const std::string message = "Best game not kept: " + error;
    if (warn) warn(message.c_str());
    host::Post_Note(message);
  }
}

}  // namespace

int Kept_Games_Command(Options* options, void (*report)(const char* text)) {
  if (!options->scores && !options->watch) return -1;
  auto reader = Make_Keeper(report);
  const std::vector<host::BestGame> games = reader ? reader->Load() : std::vector<host::BestGame>{};
  if (options->scores) {
    for (std::size_t i = 0; i < games.size(); ++i) {
      std::printf("%zu %lld %d %s\n", i + 1, static_cast<long long>(games[i].score), games[i].level,
                  games[i].date.c_str());
    }
    return std::fflush(stdout) != 0;
  }
  if (options->watch > static_cast<int>(games.size())) {
    return Fail_Program(EXIT_BAD_COMMAND_LINE, "--watch: there is no best game " +
                                                   std::to_string(options->watch) +
                                                   " (zorvex --scores lists them)");
  }
  options->replay_path = reader->Where(games[options->watch - 1].recording);
  return -1;
}

void Choose_Keeping_Games(Options* options) {
  options->keep_games = Keeps_Settings(*options) && !plat::files::Data_Folder().empty();
}

void Start_Keeping_Games(const Options& options, void (*report)(const char* text)) {
  keeper.reset();
  told = false;
  if (!options.keep_games || !(keeper = Make_Keeper(report))) return;
  warn = report;
  Set_Game_Over_Keeper(Keep_Game);
  const std::vector<host::BestGame> games = keeper->Load();
  if (games.empty()) return;
  std::string best = "Best:";
  for (std::size_t i = 0; i < games.size() && i < 5; ++i)
    best += "  " + std::to_string(i + 1) + ". " + std::to_string(games[i].score);
  host::Post_Note(best);
}

}  // namespace zorvex
