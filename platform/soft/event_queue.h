// What a host without an event loop of its own gathers between two pumps (the page's script, a
// test driving the headless host), handed to the input state in the order it came.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/soft/host.h"

namespace plat::soft {

class EventQueue {
 public:
  void Key(int code, bool down) { events_.push_back({KEY, code, down, 0}); }
  void Button(int index, bool down) { events_.push_back({BUTTON, index, down, 0}); }
  void Motion(std::int32_t dx, std::int32_t dy, std::int32_t dz) {
    events_.push_back({MOTION, dx, dy, dz});
  }
  // Nothing stays held down, and motion gathered so far is dropped (the keyboard was lost).
  void Release_All() { events_.push_back({RELEASE_ALL, 0, 0, 0}); }
  void Close() { events_.push_back({CLOSE, 0, 0, 0}); }
  void Clear() { events_.clear(); }

  void Deliver(InputState* input) {
    for (const Event& e : events_) {
      switch (e.kind) {
        case KEY:
          input->Key(e.a, e.b != 0);
          break;
        case BUTTON:
          input->Button(e.a, e.b != 0);
          break;
        case MOTION:
          input->Motion(e.a, e.b, e.c);
          break;
        case RELEASE_ALL:
          input->Release_All();
          input->Drop_Motion();
          break;
        case CLOSE:
          input->Request_Close();
          break;
      }
    }
    events_.clear();
  }

 private:
  enum Kind : std::uint8_t { KEY, BUTTON, MOTION, RELEASE_ALL, CLOSE };
  struct Event {
    Kind kind;
    std::int32_t a, b, c;
  };
  std::vector<Event> events_;
};

}  // namespace plat::soft
