// settings.ini: what the player chose, remembered between launches. Plain `key = value` lines
// under a comment; lines this version does not know are kept as they are when it rewrites the
// file, so a newer or older game's keys survive.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/storage.h"

namespace host {

using plat::files::ReadResult;
using plat::files::Storage;

constexpr std::size_t MAX_SETTINGS_BYTES = 1 << 20;

// The values read; unset when the file does not give one (or gives a bad one).
struct Settings {
  std::optional<int> volume;  // 0 to 100
  std::optional<bool> window;
  std::optional<int> scale;            // 1 to 8
  std::optional<std::string> present;  // auto, gpu or surface
  std::optional<int> sensitivity;      // 25 to 400 percent
  std::optional<std::string> stick;    // speed or position: how a pad's left stick steers
};

class SettingsFile {
 public:
  // Reads the text; a bad value is left unset with one warning in *warnings. False when the
  // text is not settings at all (binary bytes, a line that is neither a comment nor key = value).
  bool Parse(const std::string& text, std::vector<std::string>* warnings);
  const Settings& Values() const { return values_; }
  // Gives `key` the value: the line that has it changes, or one is added.
  void Set(const std::string& key, const std::string& value);
  std::string Text() const;

 private:
  void Take(const std::string& key, const std::string& value, int line,
            std::vector<std::string>* warnings);

  std::vector<std::string> lines_;
  Settings values_;
};

// Reads the settings at start and writes each change at once. A file that cannot be read as
// settings goes aside as settings.ini.bad; a write that fails leaves the old file whole and is
// told once. Warnings and that message go to `warn`.
class SettingsKeeper {
 public:
  SettingsKeeper(std::unique_ptr<Storage> storage, std::function<void(const std::string&)> warn);
  Settings Load();
  // Writes key = value; returns the message to show the player when this is the first failed
  // write, else "".
  std::string Remember(const std::string& key, const std::string& value);
  std::string Where() const;

 private:
  std::unique_ptr<Storage> storage_;
  std::function<void(const std::string&)> warn_;
  SettingsFile file_;
  bool frozen_ = false;  // the file could be neither read nor moved aside: never written over
  bool told_ = false;
};

}  // namespace host
