#include "host/settings.h"

#include <charconv>
#include <iterator>

namespace host {

namespace {

constexpr const char* SETTINGS_FILE = "settings.ini";
constexpr const char* HEADING[] = {
    "# Zorvex settings: one key = value a line. The game rewrites this file when a setting",
    "# changes in play and keeps the lines it does not know."};

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool Is_Key(const std::string& key) {
  if (key.empty()) return false;
  for (char c : key) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}

// Text is settings only when it has no control bytes but tabs and line ends.
bool Is_Text(const std::string& text) {
  for (unsigned char c : text) {
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f) return false;
  }
  return true;
}

bool Whole(const std::string& text, int low, int high, int* out) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (value < low || value > high) return false;
  *out = value;
  return true;
}

// The line's key, or "" for a comment or a blank line.
std::string Key_Of(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') return "";
  return Trim(trimmed.substr(0, trimmed.find('=')));
}

}  // namespace

bool SettingsFile::Parse(const std::string& text, std::vector<std::string>* warnings) {
  lines_.clear();
  values_ = Settings{};
  if (!Is_Text(text)) return false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines_.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string trimmed = Trim(lines_[i]);
    if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') continue;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string::npos) return false;
    const std::string key = Trim(trimmed.substr(0, equals));
    if (!Is_Key(key)) return false;
    Take(key, Trim(trimmed.substr(equals + 1)), static_cast<int>(i) + 1, warnings);
  }
  return true;
}

void SettingsFile::Take(const std::string& key, const std::string& value, int line,
                        std::vector<std::string>* warnings) {
  int n = 0;
  bool ok = true;
  const char* wanted = "";
  if (key == "volume") {
    ok = Whole(value, 0, 100, &n), wanted = "a whole number from 0 to 100";
    if (ok) values_.volume = n;
  } else if (key == "window") {
    ok = value == "0" || value == "1", wanted = "0 or 1";
    if (ok) values_.window = value == "1";
  } else if (key == "scale") {
    ok = Whole(value, 1, 8, &n), wanted = "a whole number from 1 to 8";
    if (ok) values_.scale = n;
  } else if (key == "present") {
    ok = value == "auto" || value == "gpu" || value == "surface", wanted = "auto, gpu or surface";
    if (ok) values_.present = value;
  } else if (key == "sensitivity") {
    ok = Whole(value, 25, 400, &n), wanted = "a whole number from 25 to 400";
    if (ok) values_.sensitivity = n;
  } else if (key == "stick") {
    ok = value == "speed" || value == "position", wanted = "speed or position";
    if (ok) values_.stick = value;
  }
  if (!ok) {
    warnings->push_back(std::string(SETTINGS_FILE) + " line " + std::to_string(line) + ": " + key +
                        " '" + value + "' is not " + wanted + "; ignored");
  }
}

void SettingsFile::Set(const std::string& key, const std::string& value) {
  std::vector<std::string> warnings;
  Take(key, value, 0, &warnings);
  bool found = false;
  for (std::string& line : lines_) {
    if (Key_Of(line) != key) continue;
    const bool crlf = !line.empty() && line.back() == '\r';  // the file's own line ends stay
    line = key + " = " + value + (crlf ? "\r" : "");
    found = true;
  }
  if (found) return;
  if (lines_.empty()) lines_.assign(std::begin(HEADING), std::end(HEADING));
  lines_.push_back(key + " = " + value);
}

std::string SettingsFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\n";
  return text;
}

SettingsKeeper::SettingsKeeper(std::unique_ptr<Storage> storage,
                               std::function<void(const std::string&)> warn)
    : storage_(std::move(storage)), warn_(std::move(warn)) {}

std::string SettingsKeeper::Where() const { return storage_->Where(SETTINGS_FILE); }

Settings SettingsKeeper::Load() {
  std::string text, error;
  std::vector<std::string> warnings;
  const ReadResult read = storage_->Read(SETTINGS_FILE, MAX_SETTINGS_BYTES, &text, &error);
  if (read == ReadResult::MISSING) return {};
  if (read == ReadResult::READ && file_.Parse(text, &warnings)) {
    for (const std::string& warning : warnings) warn_(warning);
    return file_.Values();
  }
  file_ = SettingsFile{};
  const std::string why = read == ReadResult::TOO_BIG      ? "larger than 1 MB"
                          : read == ReadResult::UNREADABLE ? "unreadable (" + error + ")"
                                                           : "not a settings file";
  if (storage_->Move_Aside(SETTINGS_FILE, &error)) {
    warn_(Where() + " is " + why + "; moved aside to " + Where() + ".bad, the defaults apply");
  } else {
    frozen_ = true;
    warn_(Where() + " is " + why + " and could not be moved aside (" + error +
          "); the defaults apply and it is left alone");
  }
  return {};
}

std::string SettingsKeeper::Remember(const std::string& key, const std::string& value) {
  if (frozen_) return "";
  file_.Set(key, value);
  std::string error;
  if (storage_->Write(SETTINGS_FILE, file_.Text(), &error) || told_) return "";
  told_ = true;
  const std::string message = "Settings not saved: " + error;
  warn_(message);
  return message;
}

}  // namespace host
