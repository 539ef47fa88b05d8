#include "sound/sound_manager.h"

#include <gtest/gtest.h>

#include "platform/data_path.h"
#include "platform/soft/soft_os.h"
#include "platform/soft/soft_os_impl.h"
#include "platform/soft/soft_sound.h"
#include "platform/test_double/fault_os.h"
#include "sound/riff_reader.h"
#include "sound/sound_events.h"
#include "sound_test_support.h"
#include "tests/manual_sink.h"

namespace zorvex::testing {
namespace {

// A 44100 Hz 16-bit mono ramp: the sample value tells the play position.
std::string Ramp_Wav(int frames) {
  std::string samples;
  for (int i = 1; i <= frames; ++i) samples += U16(static_cast<std::uint16_t>(i));
  return Pcm_Wav(1, 44100, 16, samples);
}

// A device that refuses the buffers the test names, over the real software device.
struct PickyDevice : plat::IDirectSound {
  plat::IDirectSound* real = nullptr;
  std::uint32_t refused_flags[2] = {};
  std::vector<std::uint32_t> asked;
  plat::HRESULT SetCooperativeLevel(plat::HWND w, std::uint32_t l) override {
    return real->SetCooperativeLevel(w, l);
  }
  plat::HRESULT CreateSoundBuffer(const plat::DSBUFFERDESC* d, plat::IDirectSoundBuffer** out,
                                  void* outer) override {
    asked.push_back(d->dwFlags);
    if (d->dwFlags != refused_flags[0] && d->dwFlags != refused_flags[1])
      return real->CreateSoundBuffer(d, out, outer);
    *out = nullptr;
    return plat::DSERR_GENERIC;
  }
  std::uint32_t Release() override {
    real->Release();
    return 0;
  }
};

// The soft machine on a headless host, but DirectSoundCreate hands out the software device on
// `sink` (none: no device), or `picky` over it, and debugger output is kept.
struct SoundOs : plat::soft::SoftOs {
  SoundOs() : SoftOs(plat::soft::Make_Headless_Host(false)) {}
  plat::soft::AudioSink* sink = nullptr;
  PickyDevice* picky = nullptr;
  std::vector<std::string> debug_output;

  void OutputDebugStringA(const char* text) override { debug_output.emplace_back(text); }
  plat::HRESULT DirectSoundCreate(const plat::GUID*, plat::IDirectSound** out, void*) override {
    if (!picky) return plat::soft::Create_Sound_Device(sink, out);
    *out = picky;
    return plat::soft::Create_Sound_Device(sink, &picky->real);
  }
};

class SoundManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.sink = &sink;
    plat::Use_Os(&counted);
    plat::Set_Data_Dir(dir.path);
    dir.Write("ramp.wav", Ramp_Wav(4000));
    dir.Write("other.wav", Pcm_Wav(1, 11025, 8, std::string(100, static_cast<char>(192))));
  }
  void TearDown() override {
    delete sound_manager;
    sound_manager = nullptr;
    Record_Sound_Events(false);
    plat::Set_Data_Dir("");
    plat::Use_Os(nullptr);
    EXPECT_EQ(counted.Live_Blocks(), 0);
    EXPECT_EQ(Riff_Open_Files(), 0);
  }
  CSoundManager& Started() {
    sound_manager = new CSoundManager;
    EXPECT_EQ(sound_manager->Init(SOUND_SLOT_COUNT, nullptr, nullptr), 1);
    return *sound_manager;
  }
  // The left channel of the next `frames` frames.
  std::vector<int> Left(int frames) {
    auto out = sink.Pull(frames);
    std::vector<int> left;
    for (int i = 0; i < frames; ++i) left.push_back(out[static_cast<std::size_t>(i) * 2]);
    return left;
  }

  TempDir dir;
  ManualSink sink;
  SoundOs os;
  plat::test_double::FaultOs counted{os};  // counts the sounds' memory blocks
  PickyDevice picky;
};

TEST_F(SoundManagerTest, OneShotRestartsFromItsStartEvenWhilePlaying) {
  CSoundManager& m = Started();
  ASSERT_EQ(m.LoadWave(SLOT_BRICK, "ramp.wav"), 1);
  EXPECT_EQ(Left(10), std::vector<int>(10, 0));  // loaded, not playing
  ASSERT_EQ(Play_Sound(SLOT_BRICK, 0), 1);
  EXPECT_EQ(Left(100).back(), 100);
  ASSERT_EQ(Play_Sound(SLOT_BRICK, 0), 1);
  auto again = Left(5);
  EXPECT_EQ(again.front(), 1);  // from the start; one instance only, not a sum
  EXPECT_EQ(again.back(), 5);
  EXPECT_EQ(Left(4000).back(), 0);  // played out once, then silent
}

TEST_F(SoundManagerTest, LoopingGoesOnWithoutRestartAndStopKeepsOrRewinds) {
  CSoundManager& m = Started();
  ASSERT_EQ(m.LoadWave(SLOT_MUSIC, "ramp.wav"), 1);
  ASSERT_EQ(m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING), 1);
  EXPECT_EQ(Left(3990).back(), 3990);
  ASSERT_EQ(m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING), 1);  // already looping: no restart
  auto wrap = Left(20);
  EXPECT_EQ(wrap[0], 3991);
  EXPECT_EQ(wrap[10], 1);  // and it loops
  ASSERT_EQ(m.Stop(SLOT_MUSIC, 0), 1);
  EXPECT_EQ(Left(10), std::vector<int>(10, 0));
  ASSERT_EQ(m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING), 1);
  EXPECT_EQ(Left(1)[0], 11);  // resumes where it stopped
  ASSERT_EQ(m.Stop(SLOT_MUSIC, 1), 1);
  ASSERT_EQ(m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING), 1);
  EXPECT_EQ(Left(1)[0], 1);  // rewound
}

TEST_F(SoundManagerTest, SlotsMixAtTheirVolumeAndAnotherFormatPlaysAtItsOwnRate) {
  CSoundManager& m = Started();
  ASSERT_EQ(m.LoadWave(SLOT_SERVE, "other.wav"), 1);  // 100 frames, 8-bit, 11025 Hz
  ASSERT_EQ(m.Play(SLOT_SERVE, 0), 1);
  auto out = Left(500);
  EXPECT_EQ(out[0], 16384);
  EXPECT_EQ(out[395], 16384);
  EXPECT_EQ(out[400], 0);  // 100 frames at a quarter of the rate last 400 output frames
  ASSERT_EQ(m.LoadWave(SLOT_MUSIC, "other.wav"), 1);
  Set_Slot_Volume(SLOT_MUSIC, -500);
  m.Play(SLOT_SERVE, 0);
  m.Play(SLOT_MUSIC, 0);
  EXPECT_EQ(Left(1)[0], 16384 + 9213);
}

TEST_F(SoundManagerTest, AMissingFileEmptiesTheSlotAndSlotsOutsideTheTableAreRefused) {
  CSoundManager& m = Started();
  ASSERT_EQ(m.LoadWave(SLOT_MUSIC, "ramp.wav"), 1);
  m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING);
  EXPECT_EQ(m.LoadWave(SLOT_MUSIC, "music09.wav"), 0);
  EXPECT_EQ(m.lpdsbslots[SLOT_MUSIC], nullptr);
  EXPECT_EQ(m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING), 0);
  EXPECT_EQ(m.Stop(SLOT_MUSIC, 1), 0);
  Set_Slot_Volume(SLOT_MUSIC, -400);
  EXPECT_EQ(Left(10), std::vector<int>(10, 0));       // the old music is gone
  EXPECT_TRUE(os.debug_output.empty());               // a failed read says nothing
  EXPECT_EQ(m.LoadWave(SLOT_MUSIC, "other.wav"), 1);  // and the slot can be filled again

  EXPECT_EQ(m.LoadWave(SOUND_SLOT_COUNT, "ramp.wav"), 0);  // no slot outside the table
  EXPECT_EQ(m.LoadWave(-1, "ramp.wav"), 0);
  EXPECT_EQ(m.Play(SOUND_SLOT_COUNT, 0), 0);
  EXPECT_EQ(m.Stop(-1, 0), 0);
}

TEST_F(SoundManagerTest, WithoutADeviceEveryCallAnswersZeroAndNothingBreaks) {
  os.sink = nullptr;
  sound_manager = new CSoundManager;
  EXPECT_EQ(sound_manager->Init(SOUND_SLOT_COUNT, nullptr, nullptr), 0);
  for (bool manager : {true, false}) {  // a manager without a device, then no manager at all
    for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) {
      EXPECT_EQ(Load_Sound(slot, "ramp.wav"), 0) << manager;
      EXPECT_EQ(Play_Sound(slot, 1), 0) << manager;
      EXPECT_EQ(Stop_Sound(slot, 1), 0) << manager;
      Set_Slot_Volume(slot, -500);
    }
    delete sound_manager;
    sound_manager = nullptr;
  }
}

TEST_F(SoundManagerTest, ReleasingTheManagerHandsTheDeviceSilence) {
  CSoundManager& m = Started();
  m.LoadWave(SLOT_MUSIC, "ramp.wav");
  m.Play(SLOT_MUSIC, plat::DSBPLAY_LOOPING);
  delete sound_manager;
  sound_manager = nullptr;
  EXPECT_EQ(sink.Starts(), 2);
  EXPECT_EQ(Left(10), std::vector<int>(10, 0));
}

TEST_F(SoundManagerTest, RefusedHardwareFallsBackToSoftwareAndNoBufferEmptiesTheSlot) {
  os.picky = &picky;
  picky.refused_flags[0] = 0xE4;
  CSoundManager& m = Started();
  ASSERT_EQ(m.LoadWave(SLOT_WALL, "ramp.wav"), 1);
  EXPECT_EQ(picky.asked, (std::vector<std::uint32_t>{0x01, 0xE4, 0xE8}));
  EXPECT_EQ(os.debug_output,
            std::vector<std::string>{"No hardware for sound buffer.  Choosing software.\n"});
  picky.refused_flags[1] = 0xE8;
  os.debug_output.clear();
  EXPECT_EQ(m.LoadWave(SLOT_WALL, "ramp.wav"), 0);
  EXPECT_EQ(m.lpdsbslots[SLOT_WALL], nullptr);
  EXPECT_EQ(os.debug_output.back(), "Sound buffer creation failed.\n");
}

}  // namespace
}  // namespace zorvex::testing
