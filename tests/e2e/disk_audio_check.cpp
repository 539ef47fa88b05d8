// Checks what the game wrote through SDL's disk audio driver against the sound calls of the
// same run's trace: every output sample must be what the mixer makes of those calls, taken in
// order, each at a device-buffer boundary and none before its frame's time. It then reports
// when a chosen frame's wall bounce started, relative to the music's start, and checks that the
// music's output repeats itself one track length later.
//
// zorvex-disk-audio-check RAW TRACE DATA_DIR BUFFER BOUNCE_FRAME
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/data_path.h"
#include "platform/global_memory.h"
#include "platform/soft/mixer.h"
#include "sound/wave_reader.h"

namespace {

using plat::soft::kMixRate;
using Samples = std::vector<std::int16_t>;  // interleaved stereo at 44100 Hz

constexpr double FRAME_RATE = 60.0;
constexpr double SAMPLES_PER_FRAME = kMixRate / FRAME_RATE;
constexpr long SEARCH_BUDGET = 400000;  // buffer mixes before the search gives up

[[noreturn]] void Die(const std::string& why) {
  std::fprintf(stderr, "disk-audio-check: %s\n", why.c_str());
  std::exit(2);
}

// A failed check: says what and counts one failure.
int Fail(const std::string& what) {
  std::printf("FAIL: %s\n", what.c_str());
  return 1;
}

// ---- The trace's sound calls ----

struct Call {
  long frame = 0;
  std::string kind;  // load, volume, play, stop
  int slot = 0;
  std::string file;
  long value = 0;  // volume, play flags or stop rewind
  long result = 1;
};

struct Trace {
  std::vector<Call> calls;
  long last_frame = 0;
};

// The sound field of each line: ["load",slot,"file",result] or [kind,slot,value(,result)].
Trace Read_Trace(const std::string& path) {
  std::ifstream file(path);
  if (!file) Die("cannot read " + path);
  static const std::regex frame_field("\"frame\":(\\d+)");
  static const std::regex call(R"re(\["(\w+)",(-?\d+),(?:"([^"]*)"|(-?\d+))(?:,(-?\d+))?\])re");
  Trace trace;
  std::string line;
  std::smatch m;
  while (std::getline(file, line)) {
    const std::size_t at = line.find("\"sound\":");
    if (at == std::string::npos) continue;
    if (!std::regex_search(line, m, frame_field)) Die("trace: no frame field");
    const long frame = std::stol(m[1]);
    trace.last_frame = std::max(trace.last_frame, frame);
    for (auto it =
             std::sregex_iterator(line.begin() + static_cast<std::ptrdiff_t>(at), line.end(), call);
         it != std::sregex_iterator(); ++it) {
      const std::smatch& c = *it;
      Call k{frame, c[1], std::stoi(c[2]), c[3]};
      if (c[4].matched) k.value = std::stol(c[4]);
      if (c[5].matched) k.result = std::stol(c[5]);
      if (k.slot < 0 || k.slot >= 16) Die("trace: slot out of range");
      trace.calls.push_back(k);
    }
  }
  return trace;
}

// ---- Sounds, converted as the device converts them ----

// A sound of the data folder, read by the game's own reader and converted as the device converts
// it.
Samples Load_Converted(const std::string& path) {
  std::uint32_t size = 0;
  plat::WAVEFORMATEX* f = nullptr;
  std::uint8_t* data = nullptr;
  if (zorvex::Wave_Load(path.c_str(), &size, &f, &data) != 0 || !plat::soft::Playable_Format(*f))
    Die(path + ": no playable PCM data");
  Samples out = plat::soft::Convert_To_Mix_Format(*f, f->nSamplesPerSec, data, size);
  plat::GlobalFree(f);
  plat::GlobalFree(data);
  return out;
}

// ---- The model: what the mixer plays for a given sequence of calls ----

struct Slot {
  const Samples* sound = nullptr;
  std::size_t position = 0;  // frames
  std::int32_t gain = plat::soft::kUnityGain;
  bool playing = false;
  bool looping = false;
  long wraps = 0;  // times a looping sound started over
};

struct Model {
  Slot slots[16];

  void Apply(const Call& c, const Samples* loaded) {
    Slot& s = slots[c.slot];
    if (c.kind == "load") {
      s = Slot{};  // the old buffer goes whatever the outcome
      if (c.result) s.sound = loaded;
    } else if (c.kind == "volume") {
      s.gain = plat::soft::Gain_From_Hundredths_Db(static_cast<std::int32_t>(c.value));
    } else if (!s.sound || c.result == 0) {
      return;  // a call the manager refused changes nothing
    } else if (c.kind == "play") {
      if (c.value == 0) s.position = 0;
      s.looping = (c.value & 1) != 0;
      s.playing = true;
    } else if (c.kind == "stop") {
      s.playing = false;
      if (c.value) s.position = 0;
    }
  }

  void Mix(std::vector<std::int32_t>& acc, std::int16_t* out, std::size_t frames) {
    std::fill(acc.begin(), acc.end(), 0);
    for (Slot& s : slots) {
      if (!s.playing) continue;
      const std::size_t length = s.sound->size() / 2;
      for (std::size_t i = 0; i < frames && s.playing; ++i) {
        if (s.position >= length) {
          s.position = 0;
          if (!s.looping) {
            s.playing = false;
            break;
          }
          ++s.wraps;
        }
        for (int ch = 0; ch < 2; ++ch)
          acc[i * 2 + ch] += static_cast<std::int32_t>(
              (static_cast<std::int64_t>((*s.sound)[s.position * 2 + ch]) * s.gain) >> 16);
        ++s.position;
      }
      if (s.playing && !s.looping && s.position >= length) s.playing = false, s.position = 0;
    }
    for (std::size_t k = 0; k < frames * 2; ++k)
      out[k] = static_cast<std::int16_t>(std::clamp<std::int32_t>(acc[k], -32768, 32767));
  }
};

// ---- Matching the output, buffer by buffer ----

struct Search {
  const Samples& output;
  const std::vector<Call>& calls;
  std::vector<const Samples*> loaded;  // per call, the sound a load brings
  std::size_t buffer;
  std::size_t buffers = output.size() / 2 / buffer;
  std::vector<std::size_t> applied_at = std::vector<std::size_t>(calls.size());  // its buffer
  std::vector<std::int32_t> acc = std::vector<std::int32_t>(buffer * 2);
  std::vector<std::int16_t> mixed = std::vector<std::int16_t>(buffer * 2);
  long budget = SEARCH_BUDGET;
  std::size_t deepest = 0;

  std::size_t anchor = 0;  // the first call that plays: the music's start, which fixes time
  long last_frame = 0;

  // Once the last frame has run the program shuts its sound down: the device may hand out
  // silence for its last buffers.
  bool Silent_End(std::size_t m, std::size_t anchor_at) const {
    const double end = (last_frame - calls[anchor].frame) * SAMPLES_PER_FRAME;
    const double at = static_cast<double>((m - anchor_at) * buffer);
    if (anchor >= calls.size() || at < end - 0.03 * end - 3.0 * static_cast<double>(buffer))
      return false;
    return std::all_of(output.begin() + static_cast<std::ptrdiff_t>(m * buffer * 2), output.end(),
                       [](std::int16_t v) { return v == 0; });
  }

  // A call of frame k cannot reach the device much sooner than k frames of time after the
  // anchor (the pacer never runs ahead); how much later depends on the machine's load, so only
  // the bounce's own timing is judged, below. `anchor_at` is where the anchor took effect (or
  // would, in the batch being tried).
  bool Before_Window(std::size_t c, std::size_t m, std::size_t anchor_at) const {
    const double gap = (calls[c].frame - calls[anchor].frame) * SAMPLES_PER_FRAME;
    const double early = gap - static_cast<double>((m - anchor_at) * buffer);
    return c > anchor && early > 0.03 * gap + 3.0 * static_cast<double>(buffer);
  }

  // Calls of one frame follow each other within microseconds, so at most a device buffer or
  // two falls between them; only reading a file (a new level's music) takes longer.
  bool Split_Too_Far(std::size_t c, std::size_t m) const {
    if (c == 0 || calls[c].frame != calls[c - 1].frame) return false;
    if (calls[c].kind == "load" || calls[c - 1].kind == "load") return false;
    return m > applied_at[c - 1] + 2;
  }

  bool Matches(std::size_t m) const {
    return std::equal(mixed.begin(), mixed.end(), output.begin() + m * buffer * 2);
  }

  // Depth first: before buffer m the next few calls may take effect, as few as possible first,
  // so a call is put where the output first shows it; a choice stands if the buffer matches
  // and the rest of the output can be explained after it. A call the output cannot show (a
  // second restart in the same buffer, a load before its play) waits for the calls after it,
  // or, within a frame, until it lies two buffers behind its neighbour.
  bool Run(std::size_t m, std::size_t c, const Model& state) {
    deepest = std::max(deepest, m);
    if (m == buffers) return true;
    const std::size_t anchor_at = c > anchor ? applied_at[anchor] : m;
    if (c < calls.size() && Split_Too_Far(c, m)) return false;
    if (c > anchor && Silent_End(m, anchor_at)) return true;
    std::size_t last = c;
    while (last < calls.size() && !Before_Window(last, m, anchor_at)) ++last;
    for (std::size_t j = c; j <= last; ++j) {
      if (--budget < 0) return false;
      Model next = state;
      for (std::size_t k = c; k < j; ++k) {
        next.Apply(calls[k], loaded[k]);
        applied_at[k] = m;
      }
      next.Mix(acc, mixed.data(), buffer);
      if (Matches(m) && Run(m + 1, j, next)) return true;
    }
    return false;
  }
};

// The device's raw output: s16le, which is this machine's own order.
Samples Read_Raw(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) Die("cannot read " + path);
  const std::string bytes((std::istreambuf_iterator<char>(file)), {});
  Samples out(bytes.size() / 2);
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

double Ms(double samples) { return samples * 1000.0 / kMixRate; }

// The call before `c` that started the music now playing: the first play after the last
// load or stop of the music slot (a looping play of playing music does not restart it).
std::size_t Music_Start_Before(const std::vector<Call>& calls, std::size_t c) {
  std::size_t found = calls.size();
  for (std::size_t k = 0; k < c; ++k) {
    if (calls[k].slot != 4 || !calls[k].result) continue;
    if (calls[k].kind == "load" || calls[k].kind == "stop")
      found = calls.size();
    else if (calls[k].kind == "play" && found == calls.size())
      found = k;
  }
  if (found == calls.size()) Die("no music was playing at the bounce");
  return found;
}

// The bounce's start is only pinned if its first buffer is heard.
bool Heard_At_Once(const Search& s, std::size_t play) {
  for (std::size_t k = play; k-- > 0;) {
    if (s.calls[k].kind != "load" || s.calls[k].slot != s.calls[play].slot) continue;
    const Samples* sound = s.loaded[k];
    if (!sound) return false;
    const std::size_t n = std::min(sound->size(), s.buffer * 2);
    return std::any_of(sound->begin(), sound->begin() + static_cast<std::ptrdiff_t>(n),
                       [](std::int16_t v) { return v != 0; });
  }
  return false;
}

// The stop of audible music in the same frame as the music's start at `m`, or `m`.
std::size_t Stop_Before(const Search& s, std::size_t m) {
  for (std::size_t k = m; k-- > 0 && s.calls[k].frame == s.calls[m].frame;)
    if (s.calls[k].kind == "stop" && s.calls[k].slot == 4 && s.calls[k].result) {
      const std::size_t at = s.applied_at[k] * s.buffer;
      const bool audible = std::any_of(
          s.output.begin() + static_cast<std::ptrdiff_t>((at - s.buffer) * 2),
          s.output.begin() + static_cast<std::ptrdiff_t>(at * 2), [](std::int16_t v) { return v; });
      return at >= s.buffer && audible ? k : m;
    }
  return m;
}

int Check_Bounce(const Search& s, long frame) {
  std::size_t b = 0;
  while (b < s.calls.size() &&
         !(s.calls[b].frame == frame && s.calls[b].kind == "play" && s.calls[b].slot == 0))
    ++b;
  if (b == s.calls.size())
    return Fail("the trace has no wall bounce (play of slot 0) at frame " + std::to_string(frame));
  if (!Heard_At_Once(s, b))
    return Fail("the bounce's sound is silent in its first buffer; its start is not seen");
  const std::size_t m = Music_Start_Before(s.calls, b);
  const double measured = static_cast<double>((s.applied_at[b] - s.applied_at[m]) * s.buffer);
  const double expected = (frame - s.calls[m].frame) * SAMPLES_PER_FRAME;
  // Each call reaches the output at the first buffer mixed after it, so each start is late by
  // less than one buffer: their difference is within one buffer either way; a little more
  // allows for the driver's pace (it sleeps whole milliseconds) and scheduling. The music's
  // play comes after its file was read in the same frame, which is late by the reading time;
  // the frame pacer absorbs up to two frames of that and starts afresh after a longer one, so
  // the bounce may come up to two frames early against the music.
  // When the output shows the frame stopping the old music well over two frames before the new
  // one starts, the pacer has started afresh: the frames after it count from the music's start.
  const double slack = static_cast<double>(s.buffer) + 0.01 * expected + 0.002 * kMixRate;
  double earliest = expected - 2 * SAMPLES_PER_FRAME - slack, latest = expected + slack;
  const std::size_t stop =
      m > 0 && s.calls[m - 1].frame == s.calls[m].frame ? Stop_Before(s, m) : m;
  if (stop != m && static_cast<double>((s.applied_at[m] - s.applied_at[stop]) * s.buffer) >
                       2 * SAMPLES_PER_FRAME + static_cast<double>(s.buffer)) {
    earliest = expected - SAMPLES_PER_FRAME - slack;
    latest = expected - SAMPLES_PER_FRAME + slack;
  }
  std::printf(
      "bounce: frame %ld plays bloop at sample %zu, %.1f ms after the music started (frame %ld, "
      "sample %zu); frames give %.1f ms, off by %+.1f ms (allowed %+.1f to %+.1f ms)\n",
      frame, s.applied_at[b] * s.buffer, Ms(measured), s.calls[m].frame, s.applied_at[m] * s.buffer,
      Ms(expected), Ms(measured - expected), Ms(earliest - expected), Ms(latest - expected));
  return measured < earliest || measured > latest ? Fail("the bounce is not at its frame's time")
                                                  : 0;
}

// Independent of the model: the stretch one track length after the music started repeats the
// stretch at its start, sample for sample, for as long as both lie before any other call.
int Check_Loop(const Search& s) {
  std::size_t m = 0;
  while (m < s.calls.size() && !(s.calls[m].kind == "play" && s.calls[m].slot == 4)) ++m;
  if (m == s.calls.size()) return Fail("the music never started");
  std::size_t load = m;
  while (load-- > 0 && !(s.calls[load].kind == "load" && s.calls[load].slot == 4)) {
  }
  if (load >= s.calls.size() || !s.loaded[load]) return Fail("no music was loaded");
  const std::size_t length = s.loaded[load]->size() / 2;
  const std::size_t start = s.applied_at[m] * s.buffer;
  std::size_t end = s.output.size() / 2;  // frames
  if (m + 1 < s.calls.size()) end = std::min(end, s.applied_at[m + 1] * s.buffer);
  if (end < start + length + s.buffer) {
    std::printf("FAIL: the music played %.1f s, not longer than its %.1f s\n",
                Ms(static_cast<double>(end - start)) / 1000,
                Ms(static_cast<double>(length)) / 1000);
    return 1;
  }
  const std::size_t span = end - start - length;
  const auto first = s.output.begin() + static_cast<std::ptrdiff_t>(start * 2);
  const auto again = first + static_cast<std::ptrdiff_t>(length * 2);
  const bool repeats = std::equal(first, first + static_cast<std::ptrdiff_t>(span * 2), again);
  const bool audible = std::any_of(first, first + static_cast<std::ptrdiff_t>(span * 2),
                                   [](std::int16_t v) { return v != 0; });
  std::printf("loop: %s %.3f s long, started at sample %zu; %.3f s after its end %s the start\n",
              s.calls[load].file.c_str(), Ms(static_cast<double>(length)) / 1000, start,
              Ms(static_cast<double>(span)) / 1000, repeats ? "repeat" : "DO NOT repeat");
  return repeats && audible ? 0 : Fail(audible ? "the music does not loop" : "the music is silent");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 || std::atol(argv[4]) <= 0)
    Die("usage: zorvex-disk-audio-check RAW TRACE DATA_DIR BUFFER BOUNCE_FRAME");
  plat::Set_Data_Dir(argv[3]);
  const std::size_t buffer = std::strtoul(argv[4], nullptr, 10);
  const Samples output = Read_Raw(argv[1]);
  const Trace trace = Read_Trace(argv[2]);
  const std::vector<Call>& calls = trace.calls;
  std::map<std::string, std::unique_ptr<Samples>> sounds;
  std::vector<const Samples*> loaded(calls.size(), nullptr);
  for (std::size_t k = 0; k < calls.size(); ++k) {
    if (calls[k].kind != "load" || !calls[k].result) continue;
    auto& sound = sounds[calls[k].file];
    if (!sound) sound = std::make_unique<Samples>(Load_Converted(calls[k].file));
    loaded[k] = sound.get();
  }
  if (calls.empty()) Die("the trace holds no sound calls");

  Search s{output, calls, std::move(loaded), buffer};
  while (s.anchor < calls.size() && !(calls[s.anchor].kind == "play" && calls[s.anchor].result))
    ++s.anchor;
  s.last_frame = trace.last_frame;
  std::printf("output: %zu frames, %.2f s, %zu buffers of %zu\n", output.size() / 2,
              Ms(static_cast<double>(output.size() / 2)) / 1000, s.buffers, buffer);
  if (!s.Run(0, 0, Model{})) {
    std::printf("FAIL: the output departs from the trace's sound calls at buffer %zu (%.3f s)%s\n",
                s.deepest, Ms(static_cast<double>(s.deepest * buffer)) / 1000,
                s.budget < 0 ? " (search gave up)" : "");
    return 1;
  }
  std::printf("every sample matches the %zu sound calls, each at a buffer boundary\n",
              calls.size());
  const int failures = Check_Bounce(s, std::atol(argv[5])) + Check_Loop(s);
  return failures ? 1 : 0;
}
