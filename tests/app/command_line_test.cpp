// The command line and replay files: what a player or a script types must be read exactly,
// and anything malformed must be refused with a reason.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/options.h"
#include "app/replay_file.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

// A command line given as words apart at spaces.
bool Parse(const std::string& line, Options* options, std::string* error) {
  std::istringstream in("zorvex " + line);
  const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
  std::vector<const char*> args;
  for (const std::string& word : words) args.push_back(word.c_str());
  return Parse_Options(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(Options, DefaultIsThePlainGameAndEveryOptionIsRead) {
  Options o;
  std::string error;
  ASSERT_TRUE(Parse("", &o, &error));
  EXPECT_TRUE(!o.window && !o.headless && o.data_dir.empty() && o.replay_path.empty());
  EXPECT_EQ(o.frames, -1);
  EXPECT_EQ(o.volume, 100);
  EXPECT_EQ(o.sensitivity, 100);
  ASSERT_TRUE(
      Parse("--data d --log - --nosound --headless --autoplay --frames 100 --frame-ms 7 "
            "--seed 4294967295 --trace t.jsonl --record r.txt",
            &o, &error))
      << error;
  EXPECT_EQ(o.data_dir, "d");
  EXPECT_EQ(o.log_path, "-");
  EXPECT_TRUE(o.nosound && o.headless && o.autoplay);
  EXPECT_EQ(o.frames, 100);
  EXPECT_EQ(o.frame_ms, 7u);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.trace_path, "t.jsonl");
  EXPECT_EQ(o.record_path, "r.txt");

  ASSERT_TRUE(
      Parse("--window --scale 3 --present surface --volume 0 --sensitivity 25 --snapshot 7:a:b.bmp "
            "--stick position --snapshot 18446744073:c.bmp",
            &o, &error))
      << error;
  EXPECT_TRUE(o.window);
  EXPECT_EQ(o.scale, 3);
  EXPECT_EQ(o.present, "surface");
  EXPECT_EQ(o.volume, 0);
  EXPECT_EQ(o.sensitivity, 25);
  EXPECT_EQ(o.stick, "position");
  ASSERT_EQ(o.snapshots.size(), 2u);
  EXPECT_EQ(o.snapshots[0].frame, 7u);
  EXPECT_EQ(o.snapshots[0].path, "a:b.bmp");
  EXPECT_EQ(o.snapshots[1].frame, 18446744073u);

  // Help and version need nothing else, whatever comes with them.
  ASSERT_TRUE(Parse("--help --scale 2", &o, &error)) << error;
  EXPECT_TRUE(o.help);
}

TEST(Options, RefusesBadCommandLines) {
  // Command lines apart at '|'.
  std::istringstream bad(
      "--bogus|--data|--window --scale 0|--window --scale 9|--window --scale 2x|--scale 2|"
      "--headless|--headless --autoplay --window|--replay a --autoplay|--replay a --record a|"
      "--frames 10|--autoplay --frames -1|--autoplay --seed 5|"
      "--headless --autoplay --seed 4294967296|--headless --autoplay --frame-ms +3|"
      "--present fast|--headless --autoplay --present gpu|--snapshot|--snapshot x.bmp|"
      "--snapshot 0:x.bmp|--snapshot -1:x.bmp|--snapshot 5:|--snapshot :x.bmp|"
      "--snapshot 5:t --trace t|--volume 101|--volume -1|--volume|--sensitivity 24|"
      "--sensitivity 401|--sensitivity|--stick|--stick mouse");
  for (std::string line; std::getline(bad, line, '|');) {
    Options o;
    std::string error;
    EXPECT_FALSE(Parse(line, &o, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

// The recorded games hold every field's extremes and comments before the header; this is the
// rest of the syntax.
TEST(ReplayFile, SkipsBlankLinesCommentsAndCarriageReturns) {
  Replay r;
  std::string error;
  ASSERT_TRUE(Parse_Replay(
      "ZORVEX-REPLAY 1\r\n\nstart 4294967295\n# between frames\n17 -3 0 1 1\r\n", &r, &error))
      << error;
  EXPECT_EQ(r.start_tick, 4294967295u) << "the largest tick, one past it is refused";
  ASSERT_EQ(r.frames.size(), 1u);
  EXPECT_TRUE(r.frames[0].dx == -3 && r.frames[0].esc);
}

TEST(ReplayFile, NamesTheLineOfEveryMistake) {
  const std::pair<std::string, int> cases[] = {
      {"", 1},
      {"# only a comment\n", 1},
      {"ZORVEX-REPLAY 2\n", 1},
      {"start 5\n", 1},
      {"ZORVEX-REPLAY 1\n", 1},
      {"ZORVEX-REPLAY 1\n0 0 0 0 0\n", 2},
      {"ZORVEX-REPLAY 1\nstart -1\n", 2},
      {"ZORVEX-REPLAY 1\nstart 4294967296\n", 2},
      {"ZORVEX-REPLAY 1\nstart 0\n1 2 0 0\n", 3},
      {"ZORVEX-REPLAY 1\nstart 0\n1 2 0 0 0 0\n", 3},
      {"ZORVEX-REPLAY 1\nstart 0\n1 2 0 0 0\nx 2 0 0 0\n", 4},
      {"ZORVEX-REPLAY 1\nstart 0\n1 2147483648 0 0 0\n", 3},
      {"ZORVEX-REPLAY 1\nstart 0\n1 0 2 0 0\n", 3},
      {"ZORVEX-REPLAY 1\nstart 0\n1 0 0 0 1.0\n", 3},
      {"ZORVEX-REPLAY 1\nstart 0\n+1 0 0 0 0\n", 3},
      {"ZORVEX-REPLAY 1\nstart 0\n1 0 0 0 0" + std::string(265, ' ') + "\n", 3},
  };
  for (const auto& [text, line] : cases) {
    Replay r;
    std::string error;
    EXPECT_FALSE(Parse_Replay(text, &r, &error)) << text;
    EXPECT_EQ(error.rfind("line " + std::to_string(line) + ":", 0), 0u) << text << " -> " << error;
  }
}

// The reader holds one bounded line: a file is refused at its first over-long line.
TEST(ReplayFile, ReaderRefusesWhatItCannotUse) {
  ReplayReader reader;
  std::string error;
  EXPECT_FALSE(reader.Open("/nonexistent/zorvex.replay", &error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
  const TempDir dir;
  const std::string path = dir.Write("long.replay", "ZORVEX-REPLAY 1\nstart 7\n1 0 0 0 0\n2 " +
                                                        std::string(256, '0') + " 0 0 0\n");
  EXPECT_FALSE(reader.Open(path, &error)) << "a regular file is checked whole before play";
  EXPECT_EQ(error.rfind("line 4: longer than", 0), 0u) << error;
}

}  // namespace
}  // namespace zorvex::testing
