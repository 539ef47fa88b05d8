// The five sound effects: short mono sounds, each shaped for what it marks.
#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/exact_math.h"
#include "tools/assetgen/image.h"
#include "tools/assetgen/noise.h"

namespace assetgen {

namespace {

constexpr int kRate = 22050;
constexpr float kTau = 6.2831853f;

// Runs a sample function over `seconds`, with short fades at both ends against clicks.
Sound Render(float seconds, const std::function<float(float t)>& voice) {
  Sound s;
  s.rate = kRate;
  s.channels = 1;
  const int n = static_cast<int>(seconds * kRate);
  s.samples.resize(n);
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / kRate;
    float edge = Clamp01(t / 0.0015f) * Clamp01((seconds - t) / 0.006f);
    s.samples[i] = voice(t) * edge;
  }
  return s;
}

// A phase accumulator for swept tones.
struct Phase {
  float p = 0;
  float Step(float hz) {
    p += hz / kRate;
    p -= std::floor(p);
    return p;
  }
};

// Wall bounce: a soft, round drop in pitch.
Sound Bloop() {
  Phase ph;
  return Render(0.11f, [ph](float t) mutable {
    float hz = 420 + 520 * Exp(-t * 45);
    float p = ph.Step(hz);
    float tone = 0.8f * Sin(kTau * p) + 0.2f * (p < 0.5f ? 4 * p - 1 : 3 - 4 * p);
    return tone * Exp(-t * 32);
  });
}

// Ship bounce: a springy boing that wobbles as it settles.
Sound Doing() {
  Phase ph, ph2;
  float lp = 0;
  return Render(0.42f, [=](float t) mutable {
    float wobble = 1 + 0.09f * Sin(kTau * 17 * t) * Exp(-t * 6);
    float rise = 1 + 0.35f * (1 - Exp(-t * 40));
    float hz = 240 * rise * wobble;
    float sq = ph.Step(hz) < 0.5f ? 1.0f : -1.0f;
    lp += 0.12f * (sq - lp);
    float body = 0.55f * lp + 0.5f * Sin(kTau * ph2.Step(hz * 2));
    float thump = Sin(kTau * 90 * t) * Exp(-t * 60);
    return body * Exp(-t * 7.5f) + 0.5f * thump;
  });
}

// Gun: a laser zap sweeping down fast, with a burst of noise at the muzzle.
Sound Shoot() {
  Phase ph;
  Rng rng(0x5400);
  float lp = 0;
  return Render(0.19f, [=](float t) mutable {
    float hz = 260 + 1700 * Exp(-t * 28);
    float p = ph.Step(hz);
    float zap = p < 0.3f ? 1.0f : -1.0f;
    lp += 0.5f * (zap - lp);
    float hiss = rng.Signed() * Exp(-t * 90);
    return (0.6f * lp + 0.35f * hiss) * Exp(-t * 14);
  });
}

// Brick hit: a crunchy burst whose brightness falls away, a low thump and a few bright shards.
Sound Explode() {
  Rng rng(0xE1);
  Phase thump;
  float lp = 0, lp2 = 0;
  float shards[4];
  for (float& f : shards) f = 1800 + 2600 * rng.Unit();
  return Render(0.36f, [=](float t) mutable {
    float cut = 300 + 5200 * Exp(-t * 16);
    float a = 1 - Exp(-kTau * cut / kRate);
    float n = rng.Signed();
    lp += a * (n - lp);
    lp2 += a * (lp - lp2);
    float crunch = std::round(lp2 * 6) / 6;  // coarse steps give it grit
    float boom = Sin(kTau * thump.Step(40 + 80 * Exp(-t * 25))) * Exp(-t * 14);
    float glass = 0;
    for (int k = 0; k < 4; ++k) {
      float tk = t - 0.012f * k;
      if (tk > 0) glass += Sin(kTau * shards[k] * tk) * Exp(-tk * 45);
    }
    return 0.75f * crunch * Exp(-t * 9) + 0.6f * boom + 0.12f * glass;
  });
}

// New ball: a bright rising arpeggio with a quick echo.
float Chippy_Dry(float t) {
  const float notes[4] = {72, 76, 79, 84};
  float v = 0;
  for (int k = 0; k < 4; ++k) {
    float tk = t - 0.055f * k;
    if (tk < 0 || tk > 0.2f) continue;
    float hz = 440.0f * Exp2((notes[k] - 69) / 12.0f);
    float p = hz * tk - std::floor(hz * tk);
    float sq = p < 0.25f ? 1.0f : -1.0f;
    v += sq * Exp(-tk * 14) * Clamp01((0.2f - tk) / 0.01f) * Clamp01(tk / 0.002f);
  }
  return 0.5f * v;
}

Sound Chippy() {
  return Render(0.6f, [](float t) {
    return Chippy_Dry(t) + 0.35f * Chippy_Dry(t - 0.09f) + 0.12f * Chippy_Dry(t - 0.18f);
  });
}

}  // namespace

Sound Make_Effect(const std::string& name) {
  Sound s = name == "bloop"    ? Bloop()
            : name == "doing"  ? Doing()
            : name == "shoot"  ? Shoot()
            : name == "chippy" ? Chippy()
                               : Explode();
  // Effects play at full volume over music attenuated by 4-5 dB: a peak of -2 dBFS keeps them
  // clear of it without clipping.
  Normalise(&s, 0.79f);
  return s;
}

}  // namespace assetgen
