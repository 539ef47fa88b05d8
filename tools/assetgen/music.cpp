// Five looping tracks: a tune (melody over chords), bass, drums, pads and arpeggios, rendered
// into a loop of whole bars so the end flows into the start without a gap or a click.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/image.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

constexpr int kRate = 44100;
constexpr int kSteps = 16;  // sixteenth notes in a 4/4 bar

struct Track_Def {
  int bpm;
  int root;  // MIDI note of the tonic, in the bass's octave plus one
  int scale[7];
  const char* form;              // 4-bar sections; lower case: the same tune resolving to the tonic
  int chords_a[4], chords_b[4];  // scale degree of each bar's triad
  const char* rhythm_a[4];       // melody: 'x' new note, '-' hold, '.' rest
  const char* rhythm_b[4];
  const char* kick;  // 'X' accent, 'x' normal, 'o' ghost, '.' nothing
  const char* snare;
  const char* hat;   // 'O' open hat
  const char* bass;  // 'R' root, 'O' octave, 'F' fifth, 'T' third, 'A' approach, '-' hold
  const char* arp;   // chord tone indexes cycled every sixteenth ("" for none)
  bool pad;
  bool clap;
  float swing;  // delay of the off sixteenths, as a fraction of a step
  Instrument lead, bass_ins, pad_ins, arp_ins;
  float echo_steps, echo_level, reverb_room, reverb_level;
  std::uint32_t seed;
};

Instrument Ins(Wave w, float attack, float decay, float sustain, float release, float cutoff,
               float gain, float detune = 0, float vibrato = 0, float sub = 0, float duty = 0.5f) {
  Instrument i;
  i.wave = w;
  i.attack = attack;
  i.decay = decay;
  i.sustain = sustain;
  i.release = release;
  i.cutoff = cutoff;
  i.gain = gain;
  i.detune = detune;
  i.vibrato = vibrato;
  i.sub = sub;
  i.duty = duty;
  return i;
}

const Track_Def kTracks[5] = {
    // Title: a wide, slow-burning theme in A minor over a half-time beat.
    {100,
     57,
     {0, 2, 3, 5, 7, 8, 10},
     "AaBa",
     {0, 5, 2, 6},
     {3, 5, 0, 4},
     {"x---x-x-x-------", "x-x-x---x---x---", "x---x-x-x-----x-", "x-------x-------"},
     {"x-x-x-x-x---x---", "x-------x-x-x---", "x-x-x-x-x---x-x-", "x---------------"},
     "X.....x...X.....",
     "........X.......",
     "x.o.x.o.x.o.x.oO",
     "R--.R--.R--.O-F-",
     "0124",
     true,
     false,
     0.0f,
     Ins(Wave::SAW, 0.02f, 0.3f, 0.7f, 0.18f, 2600, 0.15f, 7, 0.25f),
     Ins(Wave::SAW, 0.005f, 0.2f, 0.6f, 0.06f, 520, 0.26f, 0, 0, 0.6f),
     Ins(Wave::SAW, 0.35f, 0.5f, 0.9f, 0.6f, 1300, 0.05f, 12),
     Ins(Wave::TRIANGLE, 0.003f, 0.12f, 0.2f, 0.05f, 5000, 0.09f),
     3,
     0.35f,
     0.84f,
     0.5f,
     0x0A11},
    // Level: a driving E minor run, four on the floor with eighth-note bass.
    {124,
     52,
     {0, 2, 3, 5, 7, 8, 10},
     "AaBa",
     {0, 6, 5, 6},
     {3, 4, 5, 6},
     {"x-.xx-x-x-.x--x-", "x---x-x---x-x---", "x-.xx-x-x-.x-xx-", "x-----x-x-------"},
     {"x-x-x-x---x-x---", "x-x-x-x---x-----", "x-x-x-x---x-x-x-", "x-------x---x---"},
     "X...X...X...X...",
     "....X.......X...",
     "x.O.x.O.x.O.x.Ox",
     "R-R-R-R-R-R-O-R-",
     "0242",
     false,
     false,
     0.0f,
     Ins(Wave::SQUARE, 0.004f, 0.15f, 0.6f, 0.08f, 3400, 0.12f, 5, 0.15f),
     Ins(Wave::SAW, 0.003f, 0.12f, 0.5f, 0.04f, 650, 0.24f, 0, 0, 0.5f),
     Ins(Wave::SAW, 0.3f, 0.4f, 0.9f, 0.4f, 1200, 0.04f, 10),
     Ins(Wave::SAW, 0.002f, 0.09f, 0.1f, 0.04f, 2200, 0.07f),
     3,
     0.3f,
     0.75f,
     0.3f,
     0x0B22},
    // Level: a bouncy, swung G major chip tune.
    {140,
     55,
     {0, 2, 4, 5, 7, 9, 11},
     "AaBbAa",
     {0, 4, 5, 3},
     {1, 4, 0, 5},
     {"x.x.x.x-x---x.x.", "x-x-x---x---x---", "x.x.x.x-x---x.x.", "x-x-x-------x---"},
     {"x-x-x.x.x-x-x---", "x.x.x.x.x-------", "x-x-x.x.x-x-x-x-", "x-------x-x-x---"},
     "X.....x.X.....x.",
     "....X.......X...",
     "x.x.x.x.x.x.x.xO",
     "R.O.R.O.R.O.F.O.",
     "0247",
     false,
     false,
     0.14f,
     Ins(Wave::SQUARE, 0.002f, 0.08f, 0.6f, 0.06f, 7000, 0.10f, 0, 0.2f, 0, 0.25f),
     Ins(Wave::TRIANGLE, 0.002f, 0.1f, 0.8f, 0.04f, 3000, 0.42f),
     Ins(Wave::SQUARE, 0.2f, 0.4f, 0.8f, 0.3f, 1500, 0.03f, 8, 0, 0, 0.5f),
     Ins(Wave::SQUARE, 0.001f, 0.05f, 0.15f, 0.03f, 5000, 0.05f, 0, 0, 0, 0.125f),
     2,
     0.25f,
     0.6f,
     0.25f,
     0x0C33},
    // Level: a laid-back shuffle in C dorian, syncopated bass and claps.
    {108,
     48,
     {0, 2, 3, 5, 7, 9, 10},
     "AaBa",
     {0, 3, 0, 6},
     {2, 3, 4, 6},
     {"x--x--x-x---x---", "..x-x-x-x-------", "x--x--x-x---x-x-", "x---x---x-------"},
     {"x-x-x---x--x--x-", "x-------..x-x-x-", "x-x-x---x--x--x-", "x-----------x---"},
     "X..x..x...X..x..",
     "....X..o....X...",
     "xoxoxoxoxoxoxoxO",
     "R-.R..O..R.RF.A.",
     "",
     true,
     true,
     0.22f,
     Ins(Wave::TRIANGLE, 0.004f, 0.25f, 0.45f, 0.15f, 4000, 0.24f, 4, 0.2f),
     Ins(Wave::SAW, 0.003f, 0.15f, 0.4f, 0.05f, 750, 0.26f, 0, 0, 0.6f),
     Ins(Wave::SAW, 0.25f, 0.5f, 0.8f, 0.5f, 1100, 0.05f, 14),
     Ins(Wave::TRIANGLE, 0.003f, 0.1f, 0.2f, 0.05f, 4000, 0.06f),
     3,
     0.4f,
     0.8f,
     0.45f,
     0x0D44},
    // Level: a fast, urgent F sharp harmonic minor chase with sixteenth arpeggios.
    {152,
     54,
     {0, 2, 3, 5, 7, 8, 11},
     "AaBbAa",
     {0, 5, 3, 4},
     {5, 3, 0, 4},
     {"x-x-x-x-x-x-x---", "x-x-x---x-x-x---", "x-x-x-x-x-x-x-x-", "x-------x-------"},
     {"x---x---x-x-x-x-", "x---x---x-------", "x---x---x-x-x-x-", "x-x-x-x-x-------"},
     "X...X...X...X.x.",
     "....X.......X...",
     "xoxoxoxoxoxoxoxo",
     "RROR RROR RROR FOR",
     "0247",
     false,
     false,
     0.0f,
     Ins(Wave::SAW, 0.004f, 0.2f, 0.7f, 0.08f, 3800, 0.11f, 9, 0.2f),
     Ins(Wave::SAW, 0.002f, 0.08f, 0.4f, 0.03f, 600, 0.22f, 0, 0, 0.5f),
     Ins(Wave::SAW, 0.3f, 0.4f, 0.9f, 0.4f, 1200, 0.04f, 10),
     Ins(Wave::SQUARE, 0.001f, 0.06f, 0.15f, 0.03f, 3000, 0.055f, 0, 0, 0, 0.3f),
     3,
     0.3f,
     0.7f,
     0.3f,
     0x0E55},
};

// Scale degree (may be negative or past 7) to a MIDI note above `base`.
int Degree_Note(const Track_Def& t, int base, int degree) {
  int octave = static_cast<int>(std::floor(degree / 7.0));
  return base + 12 * octave + t.scale[degree - 7 * octave];
}

struct Timing {
  int step_frames;
  float swing;
  long Frame(int bar, int step) const {
    long f = (static_cast<long>(bar) * kSteps + step) * step_frames;
    if (step % 2) f += static_cast<long>(swing * step_frames);
    return f;
  }
  float Seconds(int steps) const { return static_cast<float>(steps) * step_frames / kRate; }
};

float Velocity(char c) { return c == 'X' ? 1.0f : c == 'x' ? 0.75f : c == 'o' ? 0.45f : 0.0f; }

// Length in steps of the note that starts at `i` (it holds over the '-' after it).
int Held(const std::string& s, size_t i) {
  size_t j = i + 1;
  while (j < s.size() && s[j] == '-') ++j;
  return static_cast<int>(j - i);
}

// The melody of one 4-bar section: chord tones on strong beats, steps between them, an end on
// the tonic when the section resolves.
void Melody(const Track_Def& t, const Timing& tm, Loop_Buffer* lead, int first_bar, bool b_part,
            bool resolve) {
  Rng rng(t.seed * 31 + (b_part ? 7 : 3));
  const int lo = b_part ? 2 : 0, hi = b_part ? 11 : 9;
  int degree = b_part ? 4 : 2, dir = 1;
  const int base = t.root + 12;
  for (int bar = 0; bar < 4; ++bar) {
    const std::string rhythm = (b_part ? t.rhythm_b : t.rhythm_a)[bar];
    const int chord = (b_part ? t.chords_b : t.chords_a)[bar];
    for (size_t s = 0; s < rhythm.size(); ++s) {
      if (rhythm[s] != 'x') continue;
      int len = Held(rhythm, s);
      bool last = bar == 3 && rhythm.find('x', s + 1) == std::string::npos;
      if (last && resolve) {
        degree = degree >= 4 ? 7 : 0;
      } else if (s % 4 == 0) {
        // The chord tone nearest the line, sometimes the next one over for a leap.
        int best = degree, best_d = 99;
        for (int k = -1; k <= 2; ++k) {
          for (int c : {0, 2, 4}) {
            int d = chord + c + 7 * k;
            if (d < lo || d > hi) continue;
            int dist = std::abs(d - degree) + (rng.Below(3) == 0 ? 2 : 0);
            if (dist < best_d) best_d = dist, best = d;
          }
        }
        degree = best;
      } else {
        if (rng.Below(10) < 3) dir = -dir;
        degree += dir * (rng.Below(4) == 0 ? 2 : 1);
        if (degree > hi) degree = hi - 1, dir = -1;
        if (degree < lo) degree = lo + 1, dir = 1;
      }
      float vel = s % 4 == 0 ? 0.95f : 0.8f;
      Play_Note(lead, tm.Frame(first_bar + bar, static_cast<int>(s)), tm.Seconds(len) * 0.92f,
                static_cast<float>(Degree_Note(t, base, degree)), vel, t.lead, 0.12f);
    }
  }
}

void Bass_Bar(const Track_Def& t, const Timing& tm, Loop_Buffer* out, int bar, int chord,
              int next_chord) {
  std::string pattern;
  for (const char* c = t.bass; *c; ++c)
    if (*c != ' ') pattern += *c;
  const int base = t.root - 12;
  for (size_t s = 0; s < pattern.size() && s < kSteps; ++s) {
    char c = pattern[s];
    int degree;
    switch (c) {
      case 'R':
        degree = chord;
        break;
      case 'O':
        degree = chord + 7;
        break;
      case 'F':
        degree = chord + 4;
        break;
      case 'T':
        degree = chord + 2;
        break;
      case 'A':
        degree = next_chord - 1;
        break;
      default:
        continue;
    }
    while (degree >= 7 + 3) degree -= 7;  // keep the bass low
    int len = Held(pattern, s);
    float vel = s % 4 == 0 ? 1.0f : 0.8f;
    Play_Note(out, tm.Frame(bar, static_cast<int>(s)), tm.Seconds(len) * 0.85f,
              static_cast<float>(Degree_Note(t, base, degree)), vel, t.bass_ins, 0);
  }
}

void Pad_Bar(const Track_Def& t, const Timing& tm, Loop_Buffer* pad, int bar, int chord) {
  if (!t.pad) return;
  int k = 0;
  for (int c : {0, 2, 4}) {
    float pan = k == 0 ? -0.5f : k == 1 ? 0.5f : 0;
    Play_Note(pad, tm.Frame(bar, 0), tm.Seconds(kSteps) * 0.98f,
              static_cast<float>(Degree_Note(t, t.root, chord + c)), 0.8f, t.pad_ins, pan);
    ++k;
  }
}

void Arpeggio_Bar(const Track_Def& t, const Timing& tm, Loop_Buffer* arp, int bar, int chord) {
  const std::string pattern = t.arp;
  if (pattern.empty()) return;
  const int tones[5] = {0, 2, 4, 7, 9};
  for (int s = 0; s < kSteps; ++s) {
    int idx = pattern[s % pattern.size()] - '0';
    int d = chord + (idx < 5 ? tones[idx] : idx);
    float vel = s % 4 == 0 ? 0.9f : 0.6f;
    Play_Note(arp, tm.Frame(bar, s), tm.Seconds(1) * 0.8f,
              static_cast<float>(Degree_Note(t, t.root + 12, d)), vel, t.arp_ins,
              s % 2 ? 0.4f : -0.4f);
  }
}

void Drum_Bar(const Track_Def& t, const Timing& tm, Loop_Buffer* dry, Loop_Buffer* room, int bar,
              int bars, Rng* rng) {
  const bool fill = bar % 8 == 7 || bar == bars - 1;
  if (bar % 8 == 0) Play_Drum(dry, tm.Frame(bar, 0), Drum::CRASH, 0.7f, -0.3f, rng);
  for (int s = 0; s < kSteps; ++s) {
    long f = tm.Frame(bar, s);
    if (float v = Velocity(t.kick[s])) Play_Drum(dry, f, Drum::KICK, v, 0, rng);
    float sv = Velocity(t.snare[s]);
    if (fill && s >= 12) sv = 0.5f + 0.12f * (s - 12);  // a roll into the next section
    if (sv > 0) {
      Play_Drum(dry, f, Drum::SNARE, sv, -0.1f, rng);
      Play_Drum(room, f, Drum::SNARE, sv * 0.6f, -0.1f, rng);
      if (t.clap && sv >= 0.75f) Play_Drum(dry, f, Drum::CLAP, 0.6f, 0.15f, rng);
    }
    if (fill && s >= 8 && s < 12 && s % 2 == 0) Play_Drum(dry, f, Drum::TOM, 0.7f, 0.3f, rng);
    char h = t.hat[s];
    if (h == 'O')
      Play_Drum(dry, f, Drum::OPEN_HAT, 0.6f, 0.35f, rng);
    else if (float v = Velocity(h))
      Play_Drum(dry, f, Drum::HAT, v, 0.35f, rng);
  }
}

// A track's length and pace.
struct Layout {
  const Track_Def& t;
  Timing tm;
  int bars, frames;
};

Layout Lay_Out(int track) {
  const Track_Def& t = kTracks[std::clamp(track, 0, 4)];
  const int bars = static_cast<int>(std::string(t.form).size()) * 4;
  Timing tm{static_cast<int>(std::lround(kRate * 60.0 / t.bpm / 4)), t.swing};
  return {t, tm, bars, bars * kSteps * tm.step_frames};
}

bool B_Part(char part) { return part == 'B' || part == 'b'; }

// The buffers' channels one after another, and back.
std::vector<float> Pack(std::initializer_list<const Loop_Buffer*> buffers) {
  std::vector<float> out;
  for (const Loop_Buffer* b : buffers) {
    out.insert(out.end(), b->Left().begin(), b->Left().end());
    out.insert(out.end(), b->Right().begin(), b->Right().end());
  }
  return out;
}

Loop_Buffer Unpack(const std::vector<float>& packed, int index, int frames) {
  Loop_Buffer b(frames, kRate);
  const auto at = packed.begin() + 2L * index * frames;
  std::copy(at, at + frames, b.Left().begin());
  std::copy(at + frames, at + 2L * frames, b.Right().begin());
  return b;
}

// Bass and drums into the dry mix, the snare's sends into the room, and the pads.
struct Beat {
  Loop_Buffer dry, room, pad;
};

Beat Make_Beat(const Layout& l) {
  const std::string form = l.t.form;
  Beat beat{{l.frames, kRate}, {l.frames, kRate}, {l.frames, kRate}};
  Rng drum_noise(l.t.seed);
  for (size_t sec = 0; sec < form.size(); ++sec) {
    const int* chords = B_Part(form[sec]) ? l.t.chords_b : l.t.chords_a;
    const int first = static_cast<int>(sec) * 4;
    for (int b = 0; b < 4; ++b) {
      const bool next_b = B_Part(form[(sec + 1) % form.size()]);
      const int next = b < 3 ? chords[b + 1] : (next_b ? l.t.chords_b : l.t.chords_a)[0];
      Bass_Bar(l.t, l.tm, &beat.dry, first + b, chords[b], next);
      Pad_Bar(l.t, l.tm, &beat.pad, first + b, chords[b]);
      Drum_Bar(l.t, l.tm, &beat.dry, &beat.room, first + b, l.bars, &drum_noise);
    }
  }
  return beat;
}

// The lead and its echo, and the arpeggios.
struct Tune {
  Loop_Buffer lead, arp, echo;
};

Tune Make_Tune(const Layout& l) {
  const std::string form = l.t.form;
  Loop_Buffer lead(l.frames, kRate), arp(l.frames, kRate);
  for (size_t sec = 0; sec < form.size(); ++sec) {
    const char part = form[sec];
    const int* chords = B_Part(part) ? l.t.chords_b : l.t.chords_a;
    const int first = static_cast<int>(sec) * 4;
    Melody(l.t, l.tm, &lead, first, B_Part(part), part == 'a' || part == 'b');
    for (int b = 0; b < 4; ++b) Arpeggio_Bar(l.t, l.tm, &arp, first + b, chords[b]);
  }
  Loop_Buffer echo = lead;
  Loop_Echo(&echo, static_cast<int>(l.t.echo_steps * l.tm.step_frames), 0.4f, 3000);
  return {std::move(lead), std::move(arp), std::move(echo)};
}

// The two halves mixed, with the room's reverb, and levelled.
Sound Mix(const Layout& l, Beat beat, const Tune& tune) {
  const Track_Def& t = l.t;
  const int frames = l.frames;
  Loop_Buffer &dry = beat.dry, &room = beat.room;
  const Loop_Buffer &pad = beat.pad, &lead = tune.lead, &arp = tune.arp, &echo = tune.echo;
  // Sends: the lead echoes; lead, pad, arpeggio and snare share a room.
  lead.Mix_Into(&room, 0.5f);
  pad.Mix_Into(&room, 0.8f);
  arp.Mix_Into(&room, 0.5f);
  Loop_Reverb(&room, t.reverb_room, 0.35f);
  lead.Mix_Into(&dry, 1.0f);
  pad.Mix_Into(&dry, 1.0f);
  arp.Mix_Into(&dry, 1.0f);
  echo.Mix_Into(&dry, t.echo_level);
  room.Mix_Into(&dry, t.reverb_level);

  Sound s;
  s.rate = kRate;
  s.channels = 2;
  s.samples.resize(static_cast<size_t>(frames) * 2);
  double energy = 0;
  for (int i = 0; i < frames; ++i) {
    s.samples[2 * i] = dry.Left()[i];
    s.samples[2 * i + 1] = dry.Right()[i];
    energy += dry.Left()[i] * dry.Left()[i] + dry.Right()[i] * dry.Right()[i];
  }
  // Level the tracks by loudness (about -15 dBFS RMS) unless a peak would pass -1 dBFS.
  float rms = static_cast<float>(std::sqrt(energy / (2.0 * frames)));
  float peak = 0;
  for (float v : s.samples) peak = std::max(peak, std::fabs(v));
  float gain = std::min(0.178f / std::max(rms, 1e-6f), 0.89f / std::max(peak, 1e-6f));
  for (float& v : s.samples) v *= gain;
  return s;
}

}  // namespace

Sound Make_Music(int track) {
  const Layout l = Lay_Out(track);
  return Mix(l, Make_Beat(l), Make_Tune(l));
}

std::vector<float> Make_Music_Half(int track, Music_Half half) {
  const Layout l = Lay_Out(track);
  if (half == Music_Half::BEAT) {
    const Beat beat = Make_Beat(l);
    return Pack({&beat.dry, &beat.room, &beat.pad});
  }
  const Tune tune = Make_Tune(l);
  return Pack({&tune.lead, &tune.arp, &tune.echo});
}

Sound Mix_Music(int track, const std::vector<float>& beat, const std::vector<float>& tune) {
  const Layout l = Lay_Out(track);
  const int frames = l.frames;
  if (beat.size() != 6U * frames || tune.size() != 6U * frames) return {};  // not this track's
  return Mix(l, {Unpack(beat, 0, frames), Unpack(beat, 1, frames), Unpack(beat, 2, frames)},
             {Unpack(tune, 0, frames), Unpack(tune, 1, frames), Unpack(tune, 2, frames)});
}

}  // namespace assetgen
