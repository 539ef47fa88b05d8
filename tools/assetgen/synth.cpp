#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/exact_math.h"
#include "tools/assetgen/image.h"

namespace assetgen {

namespace {

constexpr float kTau = 6.2831853f;

float Osc(Wave w, float phase, float duty, Rng* rng) {
  phase -= std::floor(phase);
  switch (w) {
    case Wave::SINE:
      return Sin(kTau * phase);
    case Wave::TRIANGLE:
      return phase < 0.5f ? 4 * phase - 1 : 3 - 4 * phase;
    case Wave::SQUARE:
      return phase < duty ? 1.0f : -1.0f;
    case Wave::SAW:
      return 2 * phase - 1;
    case Wave::NOISE:
      return rng->Signed();
  }
  return 0;
}

// The level a note held for `held` seconds stands at when it is let go.
float Release_Level(const Instrument& ins, float held) {
  return held < ins.attack ? held / ins.attack
                           : ins.sustain + (1 - ins.sustain) * Exp(-3 * (held - ins.attack) /
                                                                   std::max(ins.decay, 1e-4f));
}

// The level at t; after `held` it falls from `released` (Release_Level, the same for every
// sample of the note, so worked out once).
float Envelope(const Instrument& ins, float t, float held, float released) {
  if (t > held) {
    float r = (t - held) / ins.release;
    return r >= 1 ? 0 : released * (1 - r) * (1 - r);
  }
  if (t < ins.attack) return t / ins.attack;
  float d = (t - ins.attack) / std::max(ins.decay, 1e-4f);
  return ins.sustain + (1 - ins.sustain) * Exp(-3 * d);
}

float One_Pole(float cutoff, int rate) {
  return 1 - Exp(-kTau * cutoff / static_cast<float>(rate));
}

}  // namespace

float Midi_Hz(float note) { return 440.0f * Exp2((note - 69) / 12.0f); }

void Loop_Buffer::Mix_Into(Loop_Buffer* out, float gain) const {
  for (int i = 0; i < frames_; ++i) {
    out->l_[i] += l_[i] * gain;
    out->r_[i] += r_[i] * gain;
  }
}

void Play_Note(Loop_Buffer* buf, long start, float seconds, float note, float velocity,
               const Instrument& ins, float pan) {
  const int rate = buf->Rate();
  const long frames = static_cast<long>((seconds + ins.release) * rate);
  const float hz = Midi_Hz(note);
  const float spread = Exp2(ins.detune / 1200.0f);
  const float a = One_Pole(ins.cutoff, rate);
  const float gl = std::sqrt(0.5f * (1 - pan)), gr = std::sqrt(0.5f * (1 + pan));
  const float released = Release_Level(ins, seconds);
  Rng rng(static_cast<std::uint32_t>(start * 2654435761u + 1));
  float p1 = 0, p2 = 0.25f, p3 = 0, lp = 0;
  int at = buf->Index(start);
  for (long i = 0; i < frames; ++i) {
    float t = static_cast<float>(i) / rate;
    float f = hz;
    if (ins.vibrato != 0) {
      float vib = ins.vibrato * Smooth(0.15f, 0.4f, t) * Sin(kTau * ins.vibrato_hz * t);
      f *= Exp2(vib / 12.0f);
    }
    float s = Osc(ins.wave, p1, ins.duty, &rng);
    if (ins.detune != 0) s = 0.6f * s + 0.6f * Osc(ins.wave, p2, ins.duty, &rng);
    if (ins.sub > 0) s += ins.sub * Sin(kTau * p3);
    p1 += f / rate;
    p2 += f * spread / rate;
    p3 += 0.5f * f / rate;
    lp += a * (s - lp);
    float v = lp * Envelope(ins, t, seconds, released) * velocity * ins.gain;
    buf->Add_Next(&at, v * gl, v * gr);
  }
}

void Play_Drum(Loop_Buffer* buf, long start, Drum d, float velocity, float pan, Rng* noise) {
  const int rate = buf->Rate();
  const float gl = std::sqrt(0.5f * (1 - pan)), gr = std::sqrt(0.5f * (1 + pan));
  float length = 0.3f;
  switch (d) {
    case Drum::KICK:
      length = 0.4f;
      break;
    case Drum::SNARE:
      length = 0.3f;
      break;
    case Drum::HAT:
      length = 0.06f;
      break;
    case Drum::OPEN_HAT:
      length = 0.35f;
      break;
    case Drum::CLAP:
      length = 0.3f;
      break;
    case Drum::CRASH:
      length = 1.6f;
      break;
    case Drum::TOM:
      length = 0.35f;
      break;
  }
  const long frames = static_cast<long>(length * rate);
  float phase = 0, lp = 0, lp2 = 0, hp = 0;
  int at = buf->Index(start);
  for (long i = 0; i < frames; ++i) {
    float t = static_cast<float>(i) / rate;
    // Every voice rises over a millisecond and ends at zero: no step at either end.
    float fade = Clamp01((length - t) / 0.02f) * Clamp01(t / 0.001f);
    float n = noise->Signed();
    float v = 0;
    switch (d) {
      case Drum::KICK: {
        float f = 48 + 120 * Exp(-t * 30);
        phase += f / rate;
        v = Sin(kTau * phase) * Exp(-t * 7);
        v += 0.25f * n * Exp(-t * 400);
        v *= 0.95f;
        break;
      }
      case Drum::SNARE: {
        phase += 185.0f / rate;
        lp += 0.45f * (n - lp);
        v = 0.55f * lp * Exp(-t * 16) + 0.4f * Sin(kTau * phase) * Exp(-t * 28);
        v *= 0.9f;
        break;
      }
      case Drum::HAT:
      case Drum::OPEN_HAT:
      case Drum::CRASH: {
        // High-passed noise: the difference from its own low-passed copy.
        lp += 0.35f * (n - lp);
        hp = n - lp;
        float decay = d == Drum::HAT ? 70.0f : d == Drum::OPEN_HAT ? 10.0f : 2.6f;
        v = hp * Exp(-t * decay) * (d == Drum::CRASH ? 0.16f : 0.17f);
        break;
      }
      case Drum::CLAP: {
        lp += 0.3f * (n - lp);
        lp2 += 0.3f * (lp - lp2);
        float bursts = 0;
        for (int k = 0; k < 3; ++k) {
          float tk = t - 0.011f * k;
          if (tk >= 0) bursts = std::max(bursts, Exp(-tk * 120));
        }
        v = (lp - lp2) * 1.6f * std::max(bursts, 0.5f * Exp(-t * 14));
        break;
      }
      case Drum::TOM: {
        float f = 110 + 60 * Exp(-t * 12);
        phase += f / rate;
        v = 0.7f * Sin(kTau * phase) * Exp(-t * 9);
        break;
      }
    }
    v *= velocity * fade;
    buf->Add_Next(&at, v * gl, v * gr);
  }
}

namespace {

struct Comb {
  std::vector<float> line;
  int pos = 0;
  float store = 0;
  float Run(float in, float feedback, float damp) {
    float out = line[pos];
    store = out * (1 - damp) + store * damp;
    line[pos] = in + store * feedback;
    if (++pos == static_cast<int>(line.size())) pos = 0;
    return out;
  }
};

struct All_Pass {
  std::vector<float> line;
  int pos = 0;
  float Run(float in) {
    float delayed = line[pos];
    float out = delayed - in;
    line[pos] = in + delayed * 0.5f;
    if (++pos == static_cast<int>(line.size())) pos = 0;
    return out;
  }
};

void Reverb_Channel(std::vector<float>* x, int rate, int spread, float room, float damp) {
  const int combs[4] = {1116, 1188, 1277, 1356};
  const int passes[2] = {556, 441};
  std::vector<Comb> c(4);
  std::vector<All_Pass> p(2);
  float scale = rate / 44100.0f;
  for (int i = 0; i < 4; ++i) c[i].line.assign(static_cast<size_t>((combs[i] + spread) * scale), 0);
  for (int i = 0; i < 2; ++i)
    p[i].line.assign(static_cast<size_t>((passes[i] + spread) * scale), 0);
  const size_t n = x->size();
  std::vector<float> out(n);
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < n; ++i) {
      float in = (*x)[i] * 0.25f, acc = 0;
      for (auto& comb : c) acc += comb.Run(in, room, damp);
      for (auto& ap : p) acc = ap.Run(acc);
      out[i] = acc;
    }
  }
  *x = out;
}

}  // namespace

void Loop_Reverb(Loop_Buffer* buf, float room, float damp) {
  Reverb_Channel(&buf->Left(), buf->Rate(), 0, room, damp);
  Reverb_Channel(&buf->Right(), buf->Rate(), 23, room, damp);
}

void Loop_Echo(Loop_Buffer* buf, int delay, float feedback, float cutoff_hz) {
  // A ping-pong delay: each repeat crosses to the other side and loses some treble.
  const int n = buf->Frames();
  const float a = One_Pole(cutoff_hz, buf->Rate());
  std::vector<float> dl(delay, 0), dr(delay, 0);
  std::vector<float> outl(n), outr(n);
  float lpl = 0, lpr = 0;
  int pos = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < n; ++i) {
      float yl = dl[pos], yr = dr[pos];
      lpl += a * (yl - lpl);
      lpr += a * (yr - lpr);
      dl[pos] = 0.5f * (buf->Left()[i] + buf->Right()[i]) + lpr * feedback;
      dr[pos] = lpl * feedback;
      if (++pos == delay) pos = 0;
      outl[i] = yl;
      outr[i] = yr;
    }
  }
  buf->Left() = outl;
  buf->Right() = outr;
}

}  // namespace assetgen
