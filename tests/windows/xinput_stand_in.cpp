// A stand-in xinput1_4.dll for the Windows checks under Wine, which shows a program no pad of its
// own: pad 0 plays the script named by ZORVEX_PAD_SCRIPT, the other slots stay empty. Each line
// of the script is a time in ms, counted from the first XInputGetState, and the state the pad
// holds from then until the next line's time:
//   1500 start            Start held
//   2000 lx=32767 a       the left stick full right, the south button held
//   2300 left rt=255      the d-pad's left, the right trigger pulled
//   2600 -                connected, nothing held
//   3000 unplugged        no pad at all
//   3500 wait             as "-", until a file named as the script with ".go" added is
//                         there; the times of the lines after it count from then
//      0 lx=32767         optionally, a round played while waiting: the lines up to `again`,
//   4000 again            timed from the wait, played over and over (`again`'s time is the
//                         round's length); then the lines after `again` count from the file
// Tokens: a b x y start back left right up down, lx= ly= lt= rt= with a value. '#' starts a
// comment. The last line holds for good. Without a script, or with one that cannot be read, no
// pad is ever there. Timed rather than counted in polls: the game asks while paused as well as
// once a frame, and its pad layer times the stick and Back by the clock too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <xinput.h>
// clang-format on

namespace {

struct Step {
  ULONGLONG at = 0;
  bool connected = true;
  bool wait = false;
  bool again = false;
  std::size_t resume = 0;  // of a wait: the first line after its round
  XINPUT_GAMEPAD pad{};
};

struct Button {
  const char* name;
  WORD bit;
};
constexpr Button BUTTONS[] = {
    {"a", XINPUT_GAMEPAD_A},
    {"b", XINPUT_GAMEPAD_B},
    {"x", XINPUT_GAMEPAD_X},
    {"y", XINPUT_GAMEPAD_Y},
    {"start", XINPUT_GAMEPAD_START},
    {"back", XINPUT_GAMEPAD_BACK},
    {"left", XINPUT_GAMEPAD_DPAD_LEFT},
    {"right", XINPUT_GAMEPAD_DPAD_RIGHT},
    {"up", XINPUT_GAMEPAD_DPAD_UP},
    {"down", XINPUT_GAMEPAD_DPAD_DOWN},
};

// A token into the step; false when it is not one the script knows.
bool Token(const char* t, Step* s) {
  if (!std::strcmp(t, "-")) return true;
  if (!std::strcmp(t, "unplugged")) return !(s->connected = false);
  if (!std::strcmp(t, "wait")) return (s->wait = true);
  if (!std::strcmp(t, "again")) return (s->again = true);
  for (const Button& b : BUTTONS)
    if (!std::strcmp(t, b.name)) return (s->pad.wButtons |= b.bit), true;
  const char* eq = std::strchr(t, '=');
  if (!eq) return false;
  char* end = nullptr;
  const long v = std::strtol(eq + 1, &end, 10);
  if (*end || eq[1] == '\0') return false;
  const auto axis = static_cast<SHORT>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
  const auto trigger = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
  const std::size_t n = static_cast<std::size_t>(eq - t);
  if (n == 2 && !std::strncmp(t, "lx", 2)) return (s->pad.sThumbLX = axis), true;
  if (n == 2 && !std::strncmp(t, "ly", 2)) return (s->pad.sThumbLY = axis), true;
  if (n == 2 && !std::strncmp(t, "lt", 2)) return (s->pad.bLeftTrigger = trigger), true;
  if (n == 2 && !std::strncmp(t, "rt", 2)) return (s->pad.bRightTrigger = trigger), true;
  return false;
}

// The script, read once; a line it cannot read ends it there, said on standard error.
std::vector<Step> Read_Script(const char* path) {
  std::vector<Step> steps;
  std::FILE* f = path ? std::fopen(path, "r") : nullptr;
  if (!f) return steps;
  char line[512];
  std::size_t wait = SIZE_MAX;  // the wait whose round is being read
  for (int number = 1; std::fgets(line, sizeof line, f); ++number) {
    if (char* hash = std::strchr(line, '#')) *hash = '\0';
    char* rest = nullptr;
    char* word = strtok_r(line, " \t\r\n", &rest);
    if (!word) continue;
    Step s;
    char* end = nullptr;
    s.at = std::strtoull(word, &end, 10);
    bool good = *end == '\0' && (steps.empty() || steps.back().wait || steps.back().again ||
                                 s.at >= steps.back().at);
    while (good && (word = strtok_r(nullptr, " \t\r\n", &rest))) good = Token(word, &s);
    // A round ends only after its wait, and takes time.
    good = good && (!s.again || (wait != SIZE_MAX && s.at > 0));
    if (!good) {
      std::fprintf(stderr, "xinput stand-in: %s:%d cannot be read\n", path, number);
      break;
    }
    if (s.wait) {
      wait = steps.size();
      s.resume = wait + 1;
    } else if (s.again) {
      steps[wait].resume = steps.size() + 1;
      wait = SIZE_MAX;
    }
    steps.push_back(s);
  }
  std::fclose(f);
  return steps;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
  static const char* path = std::getenv("ZORVEX_PAD_SCRIPT");
  static const std::vector<Step> script = Read_Script(path);
  static const std::string go = path ? std::string(path) + ".go" : "";
  static ULONGLONG origin = GetTickCount64();
  static std::size_t next = 0;  // the first step not taken yet
  static const Step* step = nullptr;
  static std::size_t wait = SIZE_MAX;  // the wait being played, until its file is there
  static DWORD packet = 0;
  if (!state) return ERROR_BAD_ARGUMENTS;
  const ULONGLONG now = GetTickCount64();
  while (next < script.size()) {
    if (wait != SIZE_MAX) {
      if (GetFileAttributesA(go.c_str()) != INVALID_FILE_ATTRIBUTES) {
        next = script[wait].resume;
        origin = now;
        wait = SIZE_MAX;
        continue;
      }
      if (next == script[wait].resume) break;  // no round: held as it is
    }
    if (script[next].at > now - origin) break;
    if (script[next].again) {
      next = wait + 1;  // the round once more, the pad as its last line left it
      origin = now;
      continue;
    }
    step = &script[next++];
    if (step->wait) {
      wait = next - 1;
      origin = now;
    }
    ++packet;  // as a real pad counts its changes
  }
  if (slot != 0 || !step || !step->connected) return ERROR_DEVICE_NOT_CONNECTED;
  state->dwPacketNumber = packet;
  state->Gamepad = step->pad;
  return ERROR_SUCCESS;
}
