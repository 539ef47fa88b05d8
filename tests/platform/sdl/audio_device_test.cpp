// The sound device going away and coming back, as SDL reports it, under its disk audio driver:
// the game plays on in silence, and the mix goes on where it stopped on the new device.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "sdl_host_fixture.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

std::atomic<int> mixes{0};
void Count_Mix(void*, std::int16_t* out, int frames) {
  ++mixes;
  for (int i = 0; i < frames * 2; ++i) out[i] = 1000;
}

class AudioDevice : public SdlHostFixture {
 protected:
  void SetUp() override {
    setenv("SDL_DISKAUDIOFILE", (dir_.path + "/disk.raw").c_str(), 1);
    plat::sdl::SdlOptions options;
    options.window = true;
    Open(options, "disk");
  }
  void TearDown() override {
    host_.reset();  // the device closed before its folder goes
    unsetenv("SDL_DISKAUDIOFILE");
  }
  void Device_Event(Uint32 type, Uint32 which) {
    SDL_Event e{};
    e.type = type;
    e.adevice.which = which;
    Push(e);
  }
  // Whether the device asks for sound within half a second.
  bool Mixing() {
    const int before = mixes;
    for (int i = 0; i < 50 && mixes == before; ++i) SDL_Delay(10);
    return mixes != before;
  }

  const TempDir dir_;
};

TEST_F(AudioDevice, RemovedTheGamePlaysOnSilentAndTheDefaultDeviceComesBack) {
  plat::soft::AudioSink* sink = host_->Audio_Sink();
  ASSERT_TRUE(sink);
  ASSERT_TRUE(sink->Start(Count_Mix, nullptr));
  ASSERT_TRUE(Mixing());

  // Another device's going changes nothing; ours is among the first numbers SDL gives.
  Device_Event(SDL_AUDIODEVICEREMOVED, 1000);
  EXPECT_TRUE(Mixing());
  for (Uint32 id = 1; id < 8; ++id) Device_Event(SDL_AUDIODEVICEREMOVED, id);
  SDL_Delay(50);
  EXPECT_FALSE(Mixing()) << "the lost device is closed";
  sink->Lock();  // the game's sound calls go on without a device
  sink->Unlock();
  EXPECT_TRUE(sink->Start(Count_Mix, nullptr));

  Device_Event(SDL_AUDIODEVICEADDED, 0);
  EXPECT_TRUE(Mixing()) << "the default device, opened again";
  Device_Event(SDL_AUDIODEVICEADDED, 1);
  EXPECT_TRUE(Mixing()) << "a second device's coming leaves ours";
}

}  // namespace
}  // namespace zorvex::testing
