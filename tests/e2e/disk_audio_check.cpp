// Checks what the game wrote through SDL's disk audio driver against the sound calls of the
// same run's trace: every output sample must be what the mixer makes of those calls, taken in
// order, each at a device-buffer boundary and none before its frame's time. It then reports
// when a chosen frame's wall bounce started, relative to the music's start, and checks that the
// music's output repeats itself one track length later.
//
// zorvex-disk-audio-check RAW TRACE DATA_DIR BUFFER BOUNCE_FRAME
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "platform/data_path.h"
#include "platform/os.h"
#include "platform/soft/mixer.h"
#include "platform/soft/soft_os.h"
#include "sound/wave_reader.h"

namespace {

using plat::soft::MIX_RATE;
using Samples = std::vector<std::int16_t>;  // interleaved stereo at 44100 Hz

constexpr double SAMPLES_PER_FRAME = MIX_RATE / 60.0;
constexpr std::size_t NONE = static_cast<std::size_t>(-1);  // no such call; NONE + 1 is the first

[[noreturn]] void Die(const std::string& why) {
  std::fprintf(stderr, "disk-audio-check: %s\n", why.c_str());
  std::exit(2);
}

// A failed check: says what and counts one failure.
[[gnu::format(printf, 1, 2)]] int Fail(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::printf("FAIL: ");
  std::vprintf(format, args);
  std::printf("\n");
  va_end(args);
  return 1;
}

double Ms(double samples) { return samples * 1000.0 / MIX_RATE; }
double Sec(std::size_t frames) { return static_cast<double>(frames) / MIX_RATE; }

bool Audible(Samples::const_iterator from, std::size_t count) {
  return std::any_of(from, from + static_cast<std::ptrdiff_t>(count),
                     [](std::int16_t v) { return v != 0; });
}

// ---- The trace's sound calls ----

struct Call {
  long frame = 0;
  std::string kind;  // load, volume, play, stop
  int slot = 0;
  std::string file;
  long value = 0;  // volume, play flags or stop rewind
  long result = 1;
  bool Is(const char* k, int s) const { return kind == k && slot == s && result; }
};

// The first call from `from` that `pick` takes, or calls.size().
template <class Pick>
std::size_t First(const std::vector<Call>& calls, std::size_t from, Pick pick) {
  while (from < calls.size() && !pick(calls[from])) ++from;
  return from;
}

// The last call before `end` that `pick` takes, or NONE.
template <class Pick>
std::size_t Last_Before(const std::vector<Call>& calls, std::size_t end, Pick pick) {
  while (end-- > 0)
    if (pick(calls[end])) return end;
  return NONE;
}

// The sound field of each line: ["load",slot,"file",result] or [kind,slot,value(,result)].
std::vector<Call> Read_Trace(const std::string& path, long* last_frame) {
  std::ifstream file(path);
  if (!file) Die("cannot read " + path);
  static const std::regex frame_field("\"frame\":(\\d+)");
  static const std::regex call(R"re(\["(\w+)",(-?\d+),(?:"([^"]*)"|(-?\d+))(?:,(-?\d+))?\])re");
  std::vector<Call> calls;
  std::string line;
  std::smatch m;
  while (std::getline(file, line)) {
    const std::size_t at = line.find("\"sound\":");
    if (at == std::string::npos) continue;
    if (!std::regex_search(line, m, frame_field)) Die("trace: no frame field");
    *last_frame = std::max(*last_frame, std::stol(m[1]));
    for (auto it =
             std::sregex_iterator(line.begin() + static_cast<std::ptrdiff_t>(at), line.end(), call);
         it != std::sregex_iterator(); ++it) {
      const std::smatch& c = *it;
      Call k{std::stol(m[1]), c[1], std::stoi(c[2]), c[3]};
      if (c[4].matched) k.value = std::stol(c[4]);
      if (c[5].matched) k.result = std::stol(c[5]);
      if (k.slot < 0 || k.slot >= 16) Die("trace: slot out of range");
      calls.push_back(k);
    }
  }
  return calls;
}

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

// ---- The model: the sound manager's slots, summed by the mixer (whose sums have tests of
// their own) ----

struct Model {
  plat::soft::Voice voices[16];  // no samples: an empty slot

  void Apply(const Call& c, const Samples* loaded) {
    plat::soft::Voice& v = voices[c.slot];
    if (c.kind == "load") {
      v = {};  // the old buffer goes whatever the outcome
      if (c.result) {
        v.samples = loaded->data();
        v.frames = loaded->size() / 2;
      }
    } else if (c.kind == "volume") {
      v.gain = plat::soft::Gain_From_Hundredths_Db(static_cast<std::int32_t>(c.value));
    } else if (!v.samples || c.result == 0) {
      return;  // a call the manager refused changes nothing
    } else if (c.kind == "play") {
      if (c.value == 0) v.position = 0;
      v.looping = (c.value & 1) != 0;
      v.playing = true;
    } else if (c.kind == "stop") {
      v.playing = false;
      if (c.value) v.position = 0;
    }
  }

  void Mix(std::int16_t* out, std::size_t frames) {
    plat::soft::Mixer mixer;
    for (plat::soft::Voice& v : voices) mixer.Add(&v);
    mixer.Mix(out, static_cast<int>(frames));
  }
};

// ---- Matching the output, buffer by buffer ----

struct Search {
  const Samples& output;
  const std::vector<Call>& calls;
  std::vector<const Samples*> loaded;  // per call, the sound a load brings
  std::size_t buffer;
  long last_frame;
  std::size_t buffers = output.size() / 2 / buffer;
  std::vector<std::size_t> applied_at = std::vector<std::size_t>(calls.size());  // its buffer
  Samples mixed = Samples(buffer * 2);
  long budget = 400000;  // buffer mixes before the search gives up
  std::size_t deepest = 0;
  // The first call that plays: the music's start, which fixes time.
  std::size_t anchor = First(calls, 0, [](const Call& c) { return c.kind == "play" && c.result; });

  // Once the last frame has run the program shuts its sound down: the device may hand out
  // silence for its last buffers.
  bool Silent_End(std::size_t m, std::size_t anchor_at) const {
    const double end = (last_frame - calls[anchor].frame) * SAMPLES_PER_FRAME;
    const double at = static_cast<double>((m - anchor_at) * buffer);
    return at >= end - 0.03 * end - 3.0 * static_cast<double>(buffer) &&
           !Audible(output.begin() + static_cast<std::ptrdiff_t>(m * buffer * 2),
                    output.size() - m * buffer * 2);
  }

  // A call of frame k cannot reach the device much sooner than k frames of time after the
  // anchor (the pacer never runs ahead); how much later depends on the machine's load, so only
  // the bounce's own timing is judged, below. `anchor_at` is where the anchor took effect (or
  // would, in the batch being tried).
  bool Before_Window(std::size_t c, std::size_t m, std::size_t anchor_at) const {
    if (c <= anchor) return false;
    const double gap = (calls[c].frame - calls[anchor].frame) * SAMPLES_PER_FRAME;
    return gap - static_cast<double>((m - anchor_at) * buffer) >
           0.03 * gap + 3.0 * static_cast<double>(buffer);
  }

  // Calls of one frame follow each other within microseconds, so at most a device buffer or
  // two falls between them; only reading a file (a new level's music) takes longer.
  bool Split_Too_Far(std::size_t c, std::size_t m) const {
    return c > 0 && c < calls.size() && calls[c].frame == calls[c - 1].frame &&
           calls[c].kind != "load" && calls[c - 1].kind != "load" && m > applied_at[c - 1] + 2;
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
    if (Split_Too_Far(c, m)) return false;
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
      next.Mix(mixed.data(), buffer);
      if (std::equal(mixed.begin(), mixed.end(), output.begin() + m * buffer * 2) &&
          Run(m + 1, j, next))
        return true;
    }
    return false;
  }

  std::size_t Sample(std::size_t call) const { return applied_at[call] * buffer; }
};

int Check_Bounce(const Search& s, long frame) {
  const std::size_t b =
      First(s.calls, 0, [&](const Call& c) { return c.frame == frame && c.Is("play", 0); });
  if (b == s.calls.size())
    return Fail("the trace has no wall bounce (play of slot 0) at frame %ld", frame);
  // Its start is only pinned if its first buffer is heard.
  const std::size_t load = Last_Before(s.calls, b, [](const Call& c) { return c.Is("load", 0); });
  const Samples* sound = load == NONE ? nullptr : s.loaded[load];
  if (!sound || !Audible(sound->begin(), std::min(sound->size(), s.buffer * 2)))
    return Fail("the bounce's sound is silent in its first buffer; its start is not seen");
  // The music playing then started at the first play after the last load or stop of its slot
  // (a looping play of playing music does not restart it).
  const std::size_t reset =
      Last_Before(s.calls, b, [](const Call& c) { return c.Is("load", 4) || c.Is("stop", 4); });
  const std::size_t m = First(s.calls, reset + 1, [](const Call& c) { return c.Is("play", 4); });
  if (m >= b) Die("no music was playing at the bounce");
  const double measured = static_cast<double>(s.Sample(b) - s.Sample(m));
  const double expected = (frame - s.calls[m].frame) * SAMPLES_PER_FRAME;
  // Each call reaches the output at the first buffer mixed after it, so each start is late by
  // less than one buffer: their difference is within one buffer either way; a little more
  // allows for the driver's pace (it sleeps whole milliseconds) and scheduling. The music's
  // play comes after its file was read in the same frame, which is late by the reading time;
  // the frame pacer absorbs up to two frames of that and starts afresh after a longer one, so
  // the bounce may come up to two frames early against the music.
  // When the output shows the frame stopping the old music well over two frames before the new
  // one starts, the pacer has started afresh: the frames after it count from the music's start.
  // (A stop the output cannot show is put with the new music's start.)
  const double slack = static_cast<double>(s.buffer) + 0.01 * expected + 0.002 * MIX_RATE;
  double earliest = expected - 2 * SAMPLES_PER_FRAME - slack, latest = expected + slack;
  if (reset != NONE && s.calls[reset].Is("stop", 4) && s.calls[reset].frame == s.calls[m].frame &&
      static_cast<double>(s.Sample(m) - s.Sample(reset)) >
          2 * SAMPLES_PER_FRAME + static_cast<double>(s.buffer)) {
    earliest = expected - SAMPLES_PER_FRAME - slack;
    latest = expected - SAMPLES_PER_FRAME + slack;
  }
  std::printf(
      "bounce: frame %ld plays at sample %zu, %.1f ms after the music started (frame %ld, sample "
      "%zu); frames give %.1f ms, off by %+.1f ms (allowed %+.1f to %+.1f ms)\n",
      frame, s.Sample(b), Ms(measured), s.calls[m].frame, s.Sample(m), Ms(expected),
      Ms(measured - expected), Ms(earliest - expected), Ms(latest - expected));
  return measured < earliest || measured > latest ? Fail("the bounce is not at its frame's time")
                                                  : 0;
}

// Independent of the model: the stretch one track length after the music started repeats the
// stretch at its start, sample for sample, for as long as both lie before any other call.
int Check_Loop(const Search& s) {
  const std::size_t m = First(s.calls, 0, [](const Call& c) { return c.Is("play", 4); });
  if (m == s.calls.size()) return Fail("the music never started");
  const std::size_t load = Last_Before(s.calls, m, [](const Call& c) { return c.Is("load", 4); });
  if (load == NONE) return Fail("no music was loaded");
  const std::size_t length = s.loaded[load]->size() / 2, start = s.Sample(m);
  const std::size_t end =
      std::min(s.output.size() / 2, m + 1 < s.calls.size() ? s.Sample(m + 1) : NONE);
  if (end < start + length + s.buffer)
    return Fail("the music played %.1f s, not longer than its %.1f s",
                Sec(std::max(end, start) - start), Sec(length));
  const auto first = s.output.begin() + static_cast<std::ptrdiff_t>(start * 2);
  const std::size_t span = (end - start - length) * 2;
  const bool repeats = std::equal(first, first + static_cast<std::ptrdiff_t>(span),
                                  first + static_cast<std::ptrdiff_t>(length * 2));
  std::printf("loop: %s %.3f s long, started at sample %zu; %.3f s after its end %s the start\n",
              s.calls[load].file.c_str(), Sec(length), start, Sec(span / 2),
              repeats ? "repeat" : "DO NOT repeat");
  if (!Audible(first, span)) return Fail("the music is silent");
  return repeats ? 0 : Fail("the music does not loop");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 || std::atol(argv[4]) <= 0)
    Die("usage: zorvex-disk-audio-check RAW TRACE DATA_DIR BUFFER BOUNCE_FRAME");
  plat::Set_Data_Dir(argv[3]);
  // The reader's memory blocks come through the seam: the headless backend, without sound.
  const auto backend = plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(false));
  plat::Use_Os(backend.get());
  std::ifstream raw(argv[1], std::ios::binary);  // s16le, which is this machine's own order
  if (!raw) Die(std::string("cannot read ") + argv[1]);
  const std::string bytes((std::istreambuf_iterator<char>(raw)), {});
  Samples output(bytes.size() / 2);
  std::copy_n(bytes.data(), output.size() * 2, reinterpret_cast<char*>(output.data()));
  long last_frame = 0;
  const std::vector<Call> calls = Read_Trace(argv[2], &last_frame);
  if (calls.empty()) Die("the trace holds no sound calls");
  std::map<std::string, Samples> sounds;
  std::vector<const Samples*> loaded(calls.size(), nullptr);
  for (std::size_t k = 0; k < calls.size(); ++k) {
    if (calls[k].kind != "load" || !calls[k].result) continue;
    if (!sounds.count(calls[k].file)) sounds[calls[k].file] = Load_Converted(calls[k].file);
    loaded[k] = &sounds[calls[k].file];
  }

  const std::size_t buffer = std::strtoul(argv[4], nullptr, 10);
  Search s{output, calls, std::move(loaded), buffer, last_frame};
  if (!s.Run(0, 0, Model{}))
    return Fail("the output departs from the trace's sound calls at buffer %zu (%.3f s)%s",
                s.deepest, Sec(s.deepest * buffer), s.budget < 0 ? " (search gave up)" : "");
  std::printf("every sample matches the %zu sound calls, each at a buffer boundary\n",
              calls.size());
  return Check_Bounce(s, std::atol(argv[5])) + Check_Loop(s) ? 1 : 0;
}
