// The command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvex {

// --snapshot N:FILE: the picture shown by frame N (1: the first), for FILE.
struct Snapshot {
  std::uint64_t frame = 0;
  std::string path;
};

struct Options {
  std::string data_dir;  // empty: the working directory, or the data beside the program
  bool window = false;
  int scale = 0;  // 0: the largest whole factor that fits
  std::string log_path;
  bool nosound = false;
  std::string present = "auto";  // auto, gpu or surface
  int volume = 100;              // 0 to 100, applied after the game's own mix
  int sensitivity = 100;         // mouse motion in percent, 25 to 400
  std::string stick = "speed";   // how a pad's left stick steers: speed or position
  std::string replay_path;
  std::string record_path;
  bool headless = false;
  std::string trace_path;
  bool autoplay = false;
  std::int64_t frames = -1;  // -1: no limit
  std::uint32_t frame_ms = 16;
  std::uint32_t seed = 0;
  bool virtual_clock_set = false;  // --frame-ms or --seed given
  std::vector<Snapshot> snapshots;
  bool help = false;
  bool version = false;
  bool scores = false;             // print the best games
  int watch = 0;                   // play back the Nth best game (1: the best); 0: none
  bool keep_games = false;         // a live run by a person: its games may make the best games
  std::vector<std::string> given;  // the options named on the command line: settings yield to them
};

// Reads the arguments. On a bad command line returns false with the reason in *error.
bool Parse_Options(int argc, const char* const* argv, Options* out, std::string* error);

const char* Usage_Text();
const char* Version_Text();

}  // namespace zorvex
