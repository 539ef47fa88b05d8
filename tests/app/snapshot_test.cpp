// --snapshot: the file holds the very picture its frame showed, widened from 5-6-5 as promised;
// folders that cannot take it are refused before anything is written, and frames never reached
// or files that could not be written are reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "app/session.h"
#include "app_fixture.h"
#include "platform/soft/bmp.h"
#include "platform/soft/picture_scaler.h"
#include "tests/file_text.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

namespace fs = std::filesystem;

std::map<std::uint64_t, std::vector<std::uint16_t>> shown;  // by frame
plat::test_double::TestBackend* watched = nullptr;
fs::path gone;  // taken away after the first frame, before its snapshot

// What the host was given to show, not what the backend holds: the two must agree.
void Keep_Picture(std::uint64_t frame) { shown[frame] = watched->host().Last_Frame(); }

class Snapshots : public AppTest {
 protected:
  void TearDown() override {
    Set_Frame_Observer(nullptr);
    shown.clear();
    AppTest::TearDown();
  }
  std::string In_Dir(const char* name) { return dir.path + "/" + name; }

  TempDir dir;
};

TEST_F(Snapshots, FileHoldsThePictureItsFrameShowed) {
  Options options;
  options.snapshots = {{9, In_Dir("never.bmp")}, {3, In_Dir("three.bmp")}, {1, In_Dir("one.bmp")}};
  watched = backend.get();
  Set_Frame_Observer(Keep_Picture);
  ::testing::internal::CaptureStderr();
  // Enter on the title in frame 1; frames 2 to 4 are play, each scrolled and moved on.
  EXPECT_EQ(Run_Game("ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 1 0\n1032 5 0 0 0\n1048 5 0 0 0\n"
                     "1064 5 0 0 0\n",
                     options),
            0);
  EXPECT_TRUE(session_ended) << "a frame never reached leaves the status alone";
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("--snapshot 9:" + In_Dir("never.bmp") + ": the run ended after frame 4"),
            std::string::npos)
      << said;
  ASSERT_TRUE(shown[2] != shown[3] && shown[3] != shown[4]) << "frame 3 must stand out";

  for (auto [frame, name] : {std::pair{1, "one.bmp"}, std::pair{3, "three.bmp"}}) {
    const std::string bmp = File_Text(In_Dir(name));
    // 24 bits a pixel behind a 54-byte header, the bottom row first (a positive height).
    ASSERT_EQ(bmp.size(), 54u + 640 * 480 * 3) << name;
    EXPECT_EQ(bmp[25], 0) << name;
    // One plane of 24 bits, uncompressed: fields strict readers insist on and ours lets pass.
    EXPECT_EQ(bmp.substr(26, 8), std::string("\1\0\x18\0\0\0\0\0", 8)) << name;
    plat::soft::Bitmap read;
    std::string why;
    ASSERT_TRUE(plat::soft::Decode_Bmp(reinterpret_cast<const std::uint8_t*>(bmp.data()),
                                       bmp.size(), &read, &why))
        << why;
    std::vector<std::uint32_t> want;
    for (std::uint16_t p : shown[frame]) want.push_back(plat::soft::Widen_565(p, {16, 8, 0, 0}));
    EXPECT_TRUE(read.width == 640 && read.pixels == want) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2)
      << "the two pictures, nothing left over";
}

TEST_F(Snapshots, UnwritableFoldersAreRefusedAndLostFilesReported) {
  std::ofstream(In_Dir("plain")) << "a file, not a folder";
  for (const std::string& path : {In_Dir("missing/a.bmp"), In_Dir("plain/a.bmp"), dir.path}) {
    Options options;
    options.autoplay = true;
    options.trace_path = In_Dir("trace.jsonl");
    options.snapshots = {{1, In_Dir("fine.bmp")}, {2, path}};
    std::string error;
    EXPECT_FALSE(Begin_Session(options, &error)) << path;
    EXPECT_NE(error.find("--snapshot 2:" + path + ": "), std::string::npos) << error;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1)
      << "refused before any output is opened";

  // A folder that goes away during the run: the frame's file is reported and the run fails.
  fs::create_directory(gone = In_Dir("gone"));
  Set_Frame_Observer([](std::uint64_t) { fs::remove(gone); });
  Options options;
  options.snapshots = {{1, In_Dir("gone/a.bmp")}};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Run_Game("ZORVEX-REPLAY 1\nstart 1000\n1016 0 0 0 0\n", options), 0);
  EXPECT_FALSE(session_ended);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("--snapshot 1:" + In_Dir("gone/a.bmp") +
                                                          ": cannot create a file there"),
            std::string::npos);
}

}  // namespace
}  // namespace zorvex::testing
