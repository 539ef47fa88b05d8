#include "sound/wave_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/test_double/test_backend.h"
#include "sound/riff_reader.h"
#include "sound_test_support.h"

namespace zorvex::testing {
namespace {

// Every test ends with nothing allocated and no file open, whatever the result.
class WaveLoad : public ::testing::Test {
 protected:
  void TearDown() override {
    backend.faults().Clear();
    if (format) plat::GlobalFree(format);
    if (samples) plat::GlobalFree(samples);
    EXPECT_EQ(backend.Live_Blocks(), 0);
    EXPECT_EQ(Riff_Open_Files(), 0);
  }
  int Load(const std::string& bytes) { return Load_Path(dir.Write("t.wav", bytes)); }
  int Load_Path(const std::string& path) {
    return Wave_Load(path.c_str(), &size, &format, &samples);
  }
  void Expect_Nothing_Handed_Out() const {
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(samples, nullptr);
  }

  // The blocks come from the seam; its test layer counts them and can make one fail.
  plat::test_double::TestBackend backend{{0, false, false}};
  TempDir dir;
  std::uint32_t size = 99;
  plat::WAVEFORMATEX* format = nullptr;
  std::uint8_t* samples = nullptr;
};

// Files the reader refuses, each with the code it answers; nothing is handed out.
struct Refused {
  const char* what;
  std::string bytes;
  int code;
  int failing_alloc = 0;  // the memory block that cannot be had, if any
};
void PrintTo(const Refused& r, std::ostream* out) { *out << r.what; }

class RefusedWave : public WaveLoad, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedWave, AnswersItsCodeAndHandsOutNothing) {
  if (GetParam().failing_alloc) backend.faults().Fail("GlobalAlloc", 0, GetParam().failing_alloc);
  EXPECT_EQ(Load(GetParam().bytes), GetParam().code);
  Expect_Nothing_Handed_Out();
}

const std::string PCM8 = Fmt_Body(1, 1, 8000, 8), ADPCM = Fmt_Body(2, 1, 8000, 4);
const std::string HEAD = "RIFF" + U32(1000) + "WAVE" + "fmt ";  // the file ends sooner
INSTANTIATE_TEST_SUITE_P(
    Files, RefusedWave,
    ::testing::Values(
        // 40 extra format bytes declared in a chunk holding 2, plenty of data behind it.
        Refused{"extra bytes past the chunk",
                Riff(Chunk("fmt ", ADPCM + U16(40) + "ab") + Chunk("data", std::string(64, 'x'))),
                WAVE_ERR_FORMAT},
        Refused{"short format", Riff(Chunk("fmt ", PCM8.substr(0, 14)) + Chunk("data", "ab")),
                WAVE_ERR_FORMAT},
        Refused{"not WAVE", Riff(Chunk("fmt ", PCM8) + Chunk("data", "ab"), "AVI "),
                WAVE_ERR_FORMAT},
        Refused{"RIFX", "RIFX" + Riff(Chunk("data", "ab")).substr(4), WAVE_ERR_FORMAT},
        Refused{"no format", Riff(Chunk("data", "ab")), MMIOERR_CHUNKNOTFOUND},
        Refused{"no data", Riff(Chunk("fmt ", PCM8)), MMIOERR_CHUNKNOTFOUND},
        Refused{"half a header", "RIFF", MMIOERR_CHUNKNOTFOUND},
        Refused{"empty", "", MMIOERR_CHUNKNOTFOUND},
        // The search stays inside the RIFF chunk: a data chunk behind its end is not found.
        Refused{"data past the parent",
                "RIFF" + U32(4 + 24) + "WAVE" + Chunk("fmt ", PCM8) + Chunk("data", "ab"),
                MMIOERR_CHUNKNOTFOUND},
        Refused{"format cut short", HEAD + U32(16) + PCM8.substr(0, 10), WAVE_ERR_READ},
        Refused{"extra count cut short", HEAD + U32(18) + ADPCM, WAVE_ERR_READ},
        // The extra bytes fit the chunk's declared size but the file ends inside them.
        Refused{"extra bytes cut short", HEAD + U32(26) + ADPCM + U16(8) + "abc", WAVE_ERR_FORMAT},
        Refused{"data a byte past the end", Riff(Chunk("fmt ", PCM8) + Chunk("data", "abcd", 5)),
                WAVE_ERR_CORRUPT},
        // Either allocation failing, the format record's or the samples'.
        Refused{"no memory for the format", Pcm_Wav(1, 8000, 8, "abcd"), WAVE_ERR_NO_MEMORY, 1},
        Refused{"no memory for the samples", Pcm_Wav(1, 8000, 8, "abcd"), WAVE_ERR_NO_MEMORY, 2}));

// Files the reader takes: the data chunk wherever it lies, other chunks and pad bytes skipped;
// the format record as the file holds it, with extra bytes only for a non-PCM chunk longer than
// 16 bytes (PCM ignores its own count; a 16-byte non-PCM chunk has none, and the "data" header
// behind it is not taken for one).
struct Accepted {
  const char* what;
  std::string bytes, data, extra;
};
void PrintTo(const Accepted& a, std::ostream* out) { *out << a.what; }

class AcceptedWave : public WaveLoad, public ::testing::WithParamInterface<Accepted> {};

TEST_P(AcceptedWave, HandsOutTheFormatRecordAndEveryDataByte) {
  const Accepted& a = GetParam();
  ASSERT_EQ(Load(a.bytes), 0);
  ASSERT_NE(samples, nullptr);  // a block even for no data
  EXPECT_EQ(std::string(reinterpret_cast<char*>(samples), size), a.data);
  EXPECT_EQ(std::memcmp(format, a.bytes.data() + a.bytes.find("fmt ") + 8, 16), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(format + 1), format->cbSize), a.extra);
}

std::string Long_Data() {  // many refills of the reader's buffer
  std::string data;
  for (int i = 0; i < 20001; ++i) data += static_cast<char>(i * 7);
  return data;
}
const std::string ODD = Chunk("junk", "xyz");  // odd size: the pad byte must be skipped
const std::string LIST = Chunk("LIST", "INFOISFT" + U32(3) + "ab" + std::string(2, '\0'));
INSTANTIATE_TEST_SUITE_P(
    Files, AcceptedWave,
    ::testing::Values(
        Accepted{"long", Pcm_Wav(2, 22050, 16, Long_Data()), Long_Data(), ""},
        Accepted{"empty data", Pcm_Wav(1, 8000, 8, ""), "", ""},
        Accepted{"data first", Riff(Chunk("data", "abcde") + ODD + Chunk("fmt ", PCM8)), "abcde",
                 ""},
        Accepted{"other chunks",
                 Riff(LIST + ODD + Chunk("fmt ", PCM8) + ODD + Chunk("data", "abc") + ODD), "abc",
                 ""},
        Accepted{"17-byte PCM format", Riff(Chunk("fmt ", PCM8 + "Q") + Chunk("data", "xy")), "xy",
                 ""},
        Accepted{"PCM extra count", Riff(Chunk("fmt ", PCM8 + U16(5)) + Chunk("data", "zz")), "zz",
                 ""},
        Accepted{"16-byte float format",
                 Riff(Chunk("fmt ", Fmt_Body(3, 1, 8000, 32)) + Chunk("data", "four")), "four", ""},
        Accepted{"extra bytes",
                 Riff(Chunk("fmt ", ADPCM + U16(4) + "\x01\x02\x03\x04") + Chunk("data", "dd")),
                 "dd", "\x01\x02\x03\x04"}));

// A 60-byte file claiming almost 4 GiB of samples is refused before anything is allocated for
// them: with the next allocation primed to fail, the result is still the corruption code.
TEST_F(WaveLoad, DataLongerThanTheFileIsCorruptWithoutAllocatingIt) {
  const std::string file =
      Riff(Chunk("fmt ", PCM8) + Chunk("data", std::string(16, 'x'), 0xFFFFFFF0));
  ASSERT_EQ(file.size(), 60u);
  backend.faults().Fail("GlobalAlloc", 0, 2);  // the format record succeeds, the samples fail
  EXPECT_EQ(Load(file), WAVE_ERR_CORRUPT);
  Expect_Nothing_Handed_Out();
  EXPECT_EQ(plat::GlobalAlloc(plat::GMEM_FIXED, 1), nullptr);  // the planned failure is unused
}

TEST_F(WaveLoad, MissingFileOrADirectoryCannotBeOpened) {
  EXPECT_EQ(Load_Path(dir.path + "/missing.wav"), WAVE_ERR_OPEN);
  EXPECT_EQ(Load_Path(dir.path), WAVE_ERR_OPEN);
  Expect_Nothing_Handed_Out();
}

}  // namespace
}  // namespace zorvex::testing
