// A platform's place for the files the game keeps between launches: whole files by name, read
// whole and replaced whole. Linux keeps them in an XDG folder, Windows under %APPDATA%; the
// settings and the best games are written once, above this.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace plat::files {

enum class ReadResult { READ, MISSING, TOO_BIG, UNREADABLE };

class Storage {
 public:
  virtual ~Storage() = default;
  // The file `name` whole into *text, when it is there and no larger than `limit` bytes.
  virtual ReadResult Read(const std::string& name, std::size_t limit, std::string* text,
                          std::string* error) = 0;
  // Replaces the file whole: a temporary file, synced, renamed over the old one. On failure the
  // old file is as it was and *error says why.
  virtual bool Write(const std::string& name, const std::string& text, std::string* error) = 0;
  // Renames a file that cannot be used to name.bad, out of the game's way but not lost.
  virtual bool Move_Aside(const std::string& name, std::string* error) = 0;
  virtual bool Remove(const std::string& name) = 0;
  // Holds the lock file `name` against every other copy of the game, waiting for it; Unlock lets
  // it go. One at a time.
  virtual bool Lock(const std::string& name, std::string* error) = 0;
  virtual void Unlock() = 0;
  // Where the file is, for the player's messages.
  virtual std::string Where(const std::string& name) const = 0;
};

// Files in `folder`, made (with its parents) at the first write.
std::unique_ptr<Storage> Make_Folder_Storage(const std::string& folder);

// The platform's folders for the settings and for the best games; "" when the system names none.
std::string Settings_Folder();
std::string Data_Folder();

}  // namespace plat::files
