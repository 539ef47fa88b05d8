// --snapshot: the file holds the very picture its frame showed, widened from 5-6-5 as promised;
// folders that cannot take it are refused before anything is written, and frames never reached
// or files that could not be written are reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "app/session.h"
#include "app/shell.h"
#include "app_fixture.h"

namespace zorvex::testing {
namespace {

namespace fs = std::filesystem;

std::map<std::uint64_t, std::vector<std::uint16_t>> shown;  // by frame
plat::soft::TestBackend* watched = nullptr;

// What the host was given to show, not what the backend holds: the two must agree.
void Keep_Picture(std::uint64_t frame) { shown[frame] = watched->host().Last_Frame(); }

std::vector<std::uint8_t> Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

class Snapshots : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    dir = fs::path(work_dir) / ("zorvex_snapshots_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directory(dir);
  }
  void TearDown() override {
    Set_Frame_Observer(nullptr);
    shown.clear();
    fs::remove_all(dir);
    AppTest::TearDown();
  }
  std::string In_Dir(const char* name) { return (dir / name).string(); }

  fs::path dir;
};

TEST_F(Snapshots, FileHoldsThePictureItsFrameShowed) {
  // Enter on the title in frame 1; frames 2 to 4 are play, each scrolled and moved on.
  Options options;
  options.replay_path = In_Dir("game.replay");
  std::ofstream(options.replay_path) << "ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 1 0\n"
                                        "1032 5 0 0 0\n1048 5 0 0 0\n1064 5 0 0 0\n";
  options.snapshots = {{9, In_Dir("never.bmp")}, {3, In_Dir("three.bmp")}, {1, In_Dir("one.bmp")}};
  std::string error;
  ASSERT_TRUE(Begin_Session(options, &error)) << error;
  watched = backend.get();
  Set_Frame_Observer(Keep_Picture);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(WinMain(reinterpret_cast<plat::HINSTANCE>(&shown), nullptr, "", 1), 0);
  EXPECT_TRUE(End_Session()) << "a frame never reached leaves the status alone";
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("--snapshot 9:" + In_Dir("never.bmp") + ": the run ended after frame 4"),
            std::string::npos)
      << said;
  EXPECT_FALSE(fs::exists(In_Dir("never.bmp")));
  ASSERT_TRUE(shown[2] != shown[3] && shown[3] != shown[4]) << "frame 3 must stand out";

  for (auto [frame, name] : {std::pair{1, "one.bmp"}, std::pair{3, "three.bmp"}}) {
    std::vector<std::uint8_t> bmp = Read(In_Dir(name));
    ASSERT_EQ(bmp.size(), 54u + 640 * 480 * 3) << name;
    EXPECT_EQ(std::string(bmp.begin(), bmp.begin() + 2), "BM");
    // File size, pixel offset, width, height (positive: the bottom row first), 1 plane of 24 bits.
    for (auto [at, want] : {std::pair<std::size_t, std::size_t>{2, bmp.size()},
                            {10, 54},
                            {18, 640},
                            {22, 480},
                            {26, 1 | 24 << 16}})
      EXPECT_EQ(U32(bmp, at), want) << "header at " << at;
    const std::vector<std::uint16_t>& picture = shown[frame];
    int wrong = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        std::uint16_t p = picture[static_cast<std::size_t>(y) * 640 + x];
        int r5 = p >> 11, g6 = (p >> 5) & 63, b5 = p & 31;
        const std::uint8_t* bgr = &bmp[54 + (static_cast<std::size_t>(479 - y) * 640 + x) * 3];
        wrong += bgr[0] != (b5 << 3 | b5 >> 2) || bgr[1] != (g6 << 2 | g6 >> 4) ||
                 bgr[2] != (r5 << 3 | r5 >> 2);
      }
    }
    EXPECT_EQ(wrong, 0) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3)
      << "the replay and the two pictures, nothing left over";
}

TEST_F(Snapshots, UnwritableFoldersAreRefusedAndLostFilesReported) {
  std::ofstream(In_Dir("plain")) << "a file, not a folder";
  for (const std::string& path : {In_Dir("missing/a.bmp"), In_Dir("plain/a.bmp"), dir.string()}) {
    Options options;
    options.autoplay = true;
    options.trace_path = In_Dir("trace.jsonl");
    options.snapshots = {{1, In_Dir("fine.bmp")}, {2, path}};
    std::string error;
    EXPECT_FALSE(Begin_Session(options, &error)) << path;
    EXPECT_NE(error.find("--snapshot 2:" + path + ": "), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(options.trace_path)) << "refused before any output is opened";
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  // A folder that goes away during the run: the frame's file is reported and the run fails.
  Options options;
  options.replay_path = In_Dir("game.replay");
  std::ofstream(options.replay_path) << "ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 0 0\n";
  fs::create_directory(dir / "gone");
  options.snapshots = {{1, In_Dir("gone/a.bmp")}};
  std::string error;
  ASSERT_TRUE(Begin_Session(options, &error)) << error;
  fs::remove(dir / "gone");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(WinMain(reinterpret_cast<plat::HINSTANCE>(&shown), nullptr, "", 1), 0);
  EXPECT_FALSE(End_Session());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("--snapshot 1:" + In_Dir("gone/a.bmp") +
                                                          ": cannot write"),
            std::string::npos);
}

}  // namespace
}  // namespace zorvex::testing
