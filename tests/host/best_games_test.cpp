// The best games' table: its order, its ten places, the recordings kept beside it, a table that
// is not one, and copies of the game adding games at once.
#include "host/best_games.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "platform/files/storage.h"
#include "tests/file_text.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

namespace fs = std::filesystem;
using host::BestGame;
using host::BestGamesKeeper;

TEST(BestGames, TableTextRoundTripsAndAnythingElseIsRefused) {
  const std::vector<BestGame> games = {{900, 3, "2026-01-02T03:04:05Z", "game-1.replay"},
                                       {0, 1, "2026-01-02T03:04:06Z", "game-2.replay"}};
  std::vector<BestGame> read;
  ASSERT_TRUE(host::Parse_Best_Games(host::Best_Games_Text(games), &read));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].score, 900);
  EXPECT_EQ(read[0].level, 3);
  EXPECT_EQ(read[1].recording, "game-2.replay");
  const char* bad[] = {
      "900 3 2026-01-02T03:04:05Z ../../etc/passwd.replay\n",  // never a path out of the folder
      "900 3 2026-01-02T03:04:05Z game-1.replay extra\n",
      "900 3 yesterday game-1.replay\n",
      "100 1 2026-01-02T03:04:05Z a.replay\n900 1 2026-01-02T03:04:05Z b.replay\n",  // out of order
      "-5 1 2026-01-02T03:04:05Z a.replay\n",
      "900 3 2026-01-02T03:04:05Z game-1.rep",  // cut short
  };
  for (const char* text : bad) EXPECT_FALSE(host::Parse_Best_Games(text, &read)) << text;
}

class BestGamesTable : public ::testing::Test {
 protected:
  std::unique_ptr<BestGamesKeeper> Make() {
    return std::make_unique<BestGamesKeeper>(
        plat::files::Make_Folder_Storage(dir_.path),
        [this](const std::string& text) { warnings_.push_back(text); });
  }
  int Add(BestGamesKeeper& keeper, int score, const std::string& recording = "rec") {
    std::string error;
    return keeper.Add(score, 2, "2026-12-07T10:00:00Z", recording, &error);
  }
  // Every file in the folder with its bytes, to see that nothing changed.
  std::string Folder() const {
    std::string all;
    std::vector<fs::path> files(fs::directory_iterator(dir_.path), fs::directory_iterator{});
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
      all += file.filename().string() + ":" + File_Text(file.string()) + "\n";
    return all;
  }

  TempDir dir_;
  std::vector<std::string> warnings_;
};

TEST_F(BestGamesTable, TenBestAreKeptEachWithItsRecordingAndTheDroppedRecordingGoes) {
  auto keeper = Make();
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(Add(*keeper, i * 100, "rec " + std::to_string(i)), 1);
  const std::vector<BestGame> games = keeper->Load();
  ASSERT_EQ(games.size(), 10u);
  EXPECT_EQ(games[0].score, 1000);
  EXPECT_EQ(File_Text(keeper->Where(games[0].recording)), "rec 10");
  const std::string lowest = games[9].recording;
  EXPECT_EQ(Add(*keeper, 550, "new"), 6);
  EXPECT_FALSE(fs::exists(keeper->Where(lowest)));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path), fs::directory_iterator{}),
            12);  // + table, lock
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(BestGamesTable, AGameThatDoesNotMakeTheTableChangesNothing) {
  auto keeper = Make();
  for (int i = 0; i < 10; ++i) Add(*keeper, 500);
  const std::string before = Folder();
  EXPECT_EQ(Add(*keeper, 500), 0);
  EXPECT_EQ(Add(*keeper, 20), 0);
  EXPECT_EQ(Folder(), before);
}

TEST_F(BestGamesTable, ATableThatIsNotOneGoesAsideAndItsRecordingsStay) {
  dir_.Write("best-games.txt", "\x01\x02garbage");
  dir_.Write("game-1-1.replay", "old");
  auto keeper = Make();
  EXPECT_TRUE(keeper->Load().empty());
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(File_Text(dir_.path + "/best-games.txt.bad"), "\x01\x02garbage");
  EXPECT_EQ(Add(*keeper, 10), 1);
  EXPECT_EQ(File_Text(dir_.path + "/game-1-1.replay"), "old");
}

TEST_F(BestGamesTable, CopiesOfTheGameAddingAtOnceLoseNoGame) {
  // Each thread has its own keeper and its own lock file handle, as two processes would.
  std::vector<std::thread> copies;
  for (int copy = 0; copy < 4; ++copy) {
    copies.emplace_back([this, copy] {
      auto keeper = Make();
      for (int i = 0; i < 10; ++i) Add(*keeper, 1000 - (i * 4 + copy), std::to_string(copy));
    });
  }
  for (std::thread& copy : copies) copy.join();
  const std::vector<BestGame> games = Make()->Load();
  ASSERT_EQ(games.size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(games[i].score, 1000 - i);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path), fs::directory_iterator{}), 12);
}

}  // namespace
}  // namespace zorvex::testing
