// An audio sink pulled by hand, one device callback at a time, under the lock the game takes.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/soft/audio_sink.h"

namespace zorvex::testing {

class ManualSink final : public plat::soft::AudioSink {
 public:
  bool Start(plat::soft::MixFunction mix, void* context) override {
    std::lock_guard<std::mutex> hold(mutex_);
    mix_ = mix;
    context_ = context;
    ++starts_;
    return true;
  }
  void Lock() override { mutex_.lock(); }
  void Unlock() override { mutex_.unlock(); }
  // `frames` stereo frames of output, as the device would get them.
  void Pull(std::int16_t* out, int frames) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (mix_) mix_(context_, out, frames);
  }
  std::vector<std::int16_t> Pull(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2, 0);
    Pull(out.data(), frames);
    return out;
  }
  int Starts() const { return starts_; }

 private:
  std::mutex mutex_;
  plat::soft::MixFunction mix_ = nullptr;
  void* context_ = nullptr;
  int starts_ = 0;
};

}  // namespace zorvex::testing
