#include "app/options.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace zorvex {

namespace {

constexpr int MAX_SCALE = 8;
constexpr int MAX_VOLUME = 100;

bool Parse_Number(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t* out) {
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (value < low || value > high) return false;
  *out = value;
  return true;
}

struct Parser {
  int argc;
  const char* const* argv;
  int i = 1;
  std::string* error;

  bool Value(const char* option, std::string* out) {
    if (i + 1 >= argc) {
      *error = std::string(option) + " needs a value";
      return false;
    }
    *out = argv[++i];
    return true;
  }

  // `T` holds every number from low to high.
  template <typename T>
  bool Number(const char* option, std::int64_t low, std::int64_t high, T* out) {
    std::string text;
    std::int64_t n = 0;
    if (!Value(option, &text)) return false;
    if (!Parse_Number(text, low, high, &n)) {
      *error = std::string(option) + ": '" + text + "' is not a whole number from " +
               std::to_string(low) + " to " + std::to_string(high);
      return false;
    }
    *out = static_cast<T>(n);
    return true;
  }

  // One of a few words; `words` reads as the error gives them ("auto, gpu or surface").
  bool Word(const char* option, std::initializer_list<const char*> allowed, const char* words,
            std::string* out) {
    if (!Value(option, out)) return false;
    for (const char* word : allowed)
      if (*out == word) return true;
    *error = std::string(option) + ": '" + *out + "' is not " + words;
    return false;
  }
};

bool Parse_Snapshot(Parser& p, Options* o) {
  std::string text;
  if (!p.Value("--snapshot", &text)) return false;
  std::size_t colon = text.find(':');
  std::int64_t frame = 0;
  if (colon == std::string::npos || colon + 1 == text.size() ||
      !Parse_Number(std::string_view(text).substr(0, colon), 1, INT64_MAX, &frame)) {
    *p.error = "--snapshot: '" + text + "' is not N:FILE (a frame number from 1, then a file)";
    return false;
  }
  o->snapshots.push_back(Snapshot{static_cast<std::uint64_t>(frame), text.substr(colon + 1)});
  return true;
}

bool Parse_One(Parser& p, Options* o) {
  std::string_view arg = p.argv[p.i];
  if (arg == "--data") return p.Value("--data", &o->data_dir);
  if (arg == "--window") return o->window = true;
  if (arg == "--scale") return p.Number("--scale", 1, MAX_SCALE, &o->scale);
  if (arg == "--log") return p.Value("--log", &o->log_path);
  if (arg == "--nosound") return o->nosound = true;
  if (arg == "--present")
    return p.Word("--present", {"auto", "gpu", "surface"}, "auto, gpu or surface", &o->present);
  if (arg == "--volume") return p.Number("--volume", 0, MAX_VOLUME, &o->volume);
  if (arg == "--stick")
    return p.Word("--stick", {"speed", "position"}, "speed or position", &o->stick);
  if (arg == "--sensitivity") return p.Number("--sensitivity", 25, 400, &o->sensitivity);
  if (arg == "--replay") return p.Value("--replay", &o->replay_path);
  if (arg == "--record") return p.Value("--record", &o->record_path);
  if (arg == "--headless") return o->headless = true;
  if (arg == "--trace") return p.Value("--trace", &o->trace_path);
  if (arg == "--autoplay") return o->autoplay = true;
  if (arg == "--frames") return p.Number("--frames", 0, INT64_MAX, &o->frames);
  if (arg == "--frame-ms")
    return p.Number("--frame-ms", 0, UINT32_MAX, &o->frame_ms) && (o->virtual_clock_set = true);
  if (arg == "--seed")
    return p.Number("--seed", 0, UINT32_MAX, &o->seed) && (o->virtual_clock_set = true);
  if (arg == "--snapshot") return Parse_Snapshot(p, o);
  if (arg == "--scores") return o->scores = true;
  if (arg == "--watch") return p.Number("--watch", 1, 10, &o->watch);
  if (arg == "--help" || arg == "-h") return o->help = true;
  if (arg == "--version") return o->version = true;
  *p.error = "unknown option '" + std::string(arg) + "'";
  return false;
}

// Options that only make sense together.
bool Check_Combinations(const Options& o, std::string* error) {
  if (o.help || o.version || o.scores) return true;
  if (o.watch && !o.replay_path.empty())
    *error = "--watch and --replay exclude each other";
  else if (o.watch && o.autoplay)
    *error = "--watch and --autoplay exclude each other";
  else if (o.scale && !o.window)
    *error = "--scale goes with --window";
  else if (o.headless && o.replay_path.empty() && !o.autoplay && !o.watch)
    *error = "--headless needs --replay, --watch or --autoplay";
  else if (o.headless && o.present != "auto")
    *error = "--present and --headless exclude each other";
  else if (o.headless && o.window)
    *error = "--headless and --window exclude each other";
  else if (!o.replay_path.empty() && o.autoplay)
    *error = "--replay and --autoplay exclude each other";
  else if (!o.replay_path.empty() && o.replay_path == o.record_path)
    *error = "--replay and --record name the same file";
  else if (std::any_of(o.snapshots.begin(), o.snapshots.end(), [&](const Snapshot& s) {
             return s.path == o.trace_path || s.path == o.record_path || s.path == o.replay_path;
           }))
    *error = "--snapshot names the same file as --trace, --record or --replay";
  else if (o.frames >= 0 && !o.autoplay)
    *error = "--frames goes with --autoplay";
  else if (o.virtual_clock_set && !(o.headless && o.autoplay))
    *error = "--frame-ms and --seed go with --headless --autoplay";
  return error->empty();
}

}  // namespace

bool Parse_Options(int argc, const char* const* argv, Options* out, std::string* error) {
  Options options;
  Parser parser{argc, argv, 1, error};
  for (; parser.i < argc; ++parser.i) {
    options.given.push_back(argv[parser.i]);
    if (!Parse_One(parser, &options)) return false;
  }
  if (!Check_Combinations(options, error)) return false;
  *out = options;
  return true;
}

const char* Usage_Text() {
  return "Usage: zorvex [options]\n"
         "\n"
         "Steer the ship with the mouse, or with Left and Right (or A and D); fire with the\n"
         "left button or Space. Enter starts a game, Escape quits. Alt+Enter or F11\n"
         "switches between full screen and a window, P or Pause pauses, - and = set the\n"
         "volume, F12 saves a picture of the screen. A pad: the left stick or the d-pad\n"
         "steers, the south button or the right trigger fires, Start is Enter, Back held\n"
         "for a second is Escape.\n"
         "The volume and the choice of full screen or window are remembered in\n"
         "$XDG_CONFIG_HOME/zorvex/settings.ini; options given here apply to this run only.\n"
         "\n"
         "  --data DIR       read gfx.bmp, ui.bmp and the sounds from DIR\n"
         "  --window         play in a window instead of the full screen\n"
         "  --scale N        with --window: scale the 640 x 480 picture by N (1 to 8)\n"
         "  --log FILE       write the diagnostics log to FILE ('-' for standard error)\n"
         "  --nosound        play in silence, opening no audio device\n"
         "  --present WAY    how frames reach the screen: gpu (the graphics card), surface (our\n"
         "                   own scaler, for machines without a real OpenGL) or auto (default)\n"
         "  --volume N       output volume 0 to 100 (default 100)\n"
         "  --sensitivity P  mouse motion at P percent, 25 to 400 (default 100)\n"
         "  --stick WAY      a pad's left stick steers as a speed (default) or as a position\n"
         "                   on the field (the ship goes where the stick points)\n"
         "  --replay FILE    play back a recorded game\n"
         "  --record FILE    record this game to FILE\n"
         "  --headless       no window, no sound output, no waiting (with --replay or --autoplay)\n"
         "  --trace FILE     write the game state after every frame to FILE (JSON lines)\n"
         "  --autoplay       let the built-in pilot play\n"
         "  --scores         print the best games (rank, score, level, UTC date) and exit\n"
         "  --watch N        play back the Nth best game (1: the best) as --replay would\n"
         "  --frames N       with --autoplay: stop after N frames\n"
         "  --frame-ms N     with --headless --autoplay: N milliseconds a frame (default 16)\n"
         "  --seed N         with --headless --autoplay: the start tick (default 0)\n"
         "  --snapshot N:FILE\n"
         "                   write the picture shown by frame N (1: the first) to FILE as a\n"
         "                   24-bit BMP; may be given several times\n"
         "  --help           show this text\n"
         "  --version        show the version\n";
}

const char* Version_Text() { return "zorvex " ZORVEX_VERSION "\n"; }

}  // namespace zorvex
