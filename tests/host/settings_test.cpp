// settings.ini as the game reads and rewrites it, and the keeper's answers to bad files and
// failed writes, on real files in a private folder.
#include "host/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files/storage.h"
#include "tests/file_text.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

namespace fs = std::filesystem;
using host::Settings;
using host::SettingsFile;
using host::SettingsKeeper;

TEST(SettingsFile, ReadsKnownKeysWarnsOnceForEachBadValueAndKeepsTheRest) {
  SettingsFile file;
  std::vector<std::string> warnings;
  ASSERT_TRUE(
      file.Parse("# mine\r\nvolume = 0\nwindow=1\n\n; old style\nscale = 9\npresent = vulkan\n"
                 "sensitivity = 400\nsteering = keys\nvolume = x\nstick = position\n",
                 &warnings));
  const Settings& s = file.Values();
  EXPECT_EQ(s.volume, 0);  // silence is a choice, not a fault
  EXPECT_EQ(s.window, true);
  EXPECT_FALSE(s.scale);
  EXPECT_FALSE(s.present);
  EXPECT_EQ(s.sensitivity, 400);
  EXPECT_EQ(s.stick, "position");
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0],
            "settings.ini line 6: scale '9' is not a whole number from 1 to 8; ignored");
  EXPECT_NE(warnings[2].find("line 10: volume 'x'"), std::string::npos);
}

TEST(SettingsFile, RewriteChangesOnlyTheLineOfTheKeyAndKeepsUnknownOnes) {
  SettingsFile file;
  std::vector<std::string> warnings;
  ASSERT_TRUE(file.Parse("# mine\nsteering = keys\nvolume = 100\r\n", &warnings));
  file.Set("volume", "35");
  file.Set("window", "1");
  EXPECT_EQ(file.Text(), "# mine\nsteering = keys\nvolume = 35\r\nwindow = 1\n");
  EXPECT_EQ(file.Values().volume, 35);

  SettingsFile fresh;  // a new file starts with its heading
  fresh.Set("volume", "50");
  EXPECT_EQ(fresh.Text().rfind("# Zorvex settings", 0), 0u);
  EXPECT_NE(fresh.Text().find("\nvolume = 50\n"), std::string::npos);
}

// A folder that takes no writes (read-only, or a full disk), over the real one for reading.
class Refusing : public host::Storage {
 public:
  explicit Refusing(std::unique_ptr<Storage> real) : real_(std::move(real)) {}
  host::ReadResult Read(const std::string& name, std::size_t limit, std::string* text,
                        std::string* error) override {
    return real_->Read(name, limit, text, error);
  }
  bool Write(const std::string&, const std::string&, std::string* error) override {
    *error = "No space left on device";
    return false;
  }
  bool Move_Aside(const std::string&, std::string* error) override {
    *error = "Read-only file system";
    return false;
  }
  bool Remove(const std::string&) override { return false; }
  bool Lock(const std::string&, std::string* error) override {
    *error = "Read-only file system";
    return false;
  }
  void Unlock() override {}
  std::string Where(const std::string& name) const override { return real_->Where(name); }

 private:
  std::unique_ptr<Storage> real_;
};

class Keeper : public ::testing::Test {
 protected:
  std::unique_ptr<SettingsKeeper> Make(bool refusing = false) {
    auto storage = plat::files::Make_Folder_Storage(dir_.path + "/zorvex");
    if (refusing) storage = std::make_unique<Refusing>(std::move(storage));
    return std::make_unique<SettingsKeeper>(
        std::move(storage), [this](const std::string& text) { warnings_.push_back(text); });
  }
  std::string Path() const { return dir_.path + "/zorvex/settings.ini"; }
  void Put(const std::string& text) {
    fs::create_directories(dir_.path + "/zorvex");
    std::ofstream(Path(), std::ios::binary) << text;
  }

  TempDir dir_;
  std::vector<std::string> warnings_;
};

TEST_F(Keeper, NoFileMeansTheDefaultsAndTheFirstChangeMakesTheFolderAndFile) {
  auto keeper = Make();
  const Settings s = keeper->Load();
  EXPECT_FALSE(s.volume || s.window || s.scale || s.present || s.sensitivity);
  EXPECT_EQ(keeper->Remember("volume", "70"), "");
  EXPECT_NE(File_Text(Path()).find("volume = 70\n"), std::string::npos);
  EXPECT_TRUE(warnings_.empty());
  EXPECT_EQ(Make()->Load().volume, 70);
  // Nothing of the temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path + "/zorvex"), fs::directory_iterator()),
            1);
}

TEST_F(Keeper, AFileThatCannotBeReadAsSettingsGoesAsideWithOneWarning) {
  const std::string huge = "# " + std::string(host::MAX_SETTINGS_BYTES, 'x') + "\n";
  // Binary, a control byte in a value, cut mid-line, no key or a key of two words, too long.
  for (const std::string& text :
       {std::string("\x7f"
                    "ELF\x02\x01\x01\0\0",
                    9),
        std::string("volume = 4\0\x01", 13), std::string("volume = 40\nwind"), std::string("= 5"),
        std::string("a b = 1"), huge}) {
    warnings_.clear();
    Put(text);
    auto keeper = Make();
    EXPECT_FALSE(keeper->Load().volume);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_NE(warnings_[0].find("moved aside to " + Path() + ".bad"), std::string::npos);
    EXPECT_EQ(File_Text(Path() + ".bad"), text);  // kept whole, for the player to look at
    EXPECT_FALSE(fs::exists(Path()));
    EXPECT_EQ(keeper->Remember("window", "1"), "");
    EXPECT_EQ(Make()->Load().window, true);
    fs::remove(Path());
  }
}

TEST_F(Keeper, AnUnreadableFileIsMovedAsideToo) {
  fs::create_directories(Path());  // a folder where the file should be: it cannot be read
  EXPECT_FALSE(Make()->Load().volume);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("unreadable"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(Path() + ".bad"));
}

TEST_F(Keeper, AFolderThatTakesNoWritesKeepsTheOldFileAndTellsThePlayerOnce) {
  Put("volume = 20\n");
  auto keeper = Make(true);
  EXPECT_EQ(keeper->Load().volume, 20);
  EXPECT_EQ(keeper->Remember("volume", "30"), "Settings not saved: No space left on device");
  EXPECT_EQ(keeper->Remember("volume", "40"), "");
  EXPECT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(File_Text(Path()), "volume = 20\n");
}

TEST_F(Keeper, ABadFileThatCannotGoAsideIsNeverWrittenOver) {
  Put("garbage");
  auto keeper = Make(true);
  EXPECT_FALSE(keeper->Load().volume);
  EXPECT_EQ(keeper->Remember("volume", "30"), "");
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("could not be moved aside (Read-only file system)"),
            std::string::npos);
  EXPECT_EQ(File_Text(Path()), "garbage");
}

}  // namespace
}  // namespace zorvex::testing
