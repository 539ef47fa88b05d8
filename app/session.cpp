#include "app/session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/autopilot.h"
#include "app/replay_file.h"
#include "app/snapshot.h"
#include "app/trace.h"
#include "game/modes.h"
#include "game/state.h"
#include "platform/os.h"
#include "platform/script/script_os.h"
#include "sound/sound_events.h"
#include "zorvex/win_main.h"

namespace zorvex {

namespace {

struct Session {
  Options options;
  bool replay_ended = false;
  std::string replay_error;  // a malformed line met during play: "line N: ..."
  std::unique_ptr<plat::script::ScriptOs> script;  // the layer over the backend, while a game runs
  plat::Os* backend = nullptr;                     // what it was put over
  std::FILE* trace = nullptr;
  std::FILE* record = nullptr;
  bool keep = false;  // the live run is kept, from its start, for the best games
  std::string kept;
  bool was_over = false;
  std::uint64_t frame = 0;
  plat::script::FrameInput current;
  bool write_failed = false;
} session;
ReplayReader replay;  // apart from the rest, which starts afresh with each session

FrameObserver frame_observer = nullptr;
GameOverKeeper game_over_keeper = nullptr;

bool Replaying() { return !session.options.replay_path.empty(); }
bool Virtual_Clock() { return session.options.headless && session.options.autoplay; }
// Live play needs its clock and input pinned to the frame only when something writes them down.
bool Pinned() {
  return Replaying() || session.options.autoplay || session.trace || session.record || session.keep;
}

std::uint32_t Virtual_Tick(std::uint64_t frame) {
  return static_cast<std::uint32_t>(session.options.seed +
                                    frame * static_cast<std::uint64_t>(session.options.frame_ms));
}

void Write(std::FILE* file, const std::string& text) {
  if (file && std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
    session.write_failed = true;
  }
}

std::FILE* Open_Output(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) *error = path + ": cannot write: " + std::strerror(errno);
  return file;
}

// The next frame from the replay; false at its end or at a malformed line (kept for the exit).
bool Next_Replay_Frame(plat::script::FrameInput* frame) {
  if (session.replay_ended) return false;
  if (replay.Next(frame, &session.replay_error)) return true;
  session.replay_ended = true;
  replay.Close();
  return false;
}

plat::script::FrameInput Next_Input() {
  plat::script::FrameInput live;
  if (!Virtual_Clock()) live = session.script->Sample();
  if (!session.options.autoplay) return live;
  plat::script::FrameInput input = Autopilot_Input();
  input.tick = Virtual_Clock() ? Virtual_Tick(session.frame) : live.tick;
  input.esc = live.esc;  // Escape still ends a watched attract mode
  return input;
}

// Each game's end hands the recording up to it to the keeper of the best games.
void Keep_Frame() {
  session.kept += Replay_Frame_Text(session.current);
  const bool over = game_mode == MODE_GAME_OVER;
  if (over && !session.was_over && game_over_keeper) game_over_keeper(session.kept);
  session.was_over = over;
}

// Before Setup_Game: the scripted layer over the backend, and the start tick.
void Session_Before_Setup() {
  if (session.trace) Record_Sound_Events(true);
  // The layer goes over whatever backend is in use; unpinned it changes nothing.
  session.backend = &plat::os();
  session.script = std::make_unique<plat::script::ScriptOs>(*session.backend);
  plat::Use_Os(session.script.get());
  if (!Pinned()) return;
  plat::script::FrameInput start;
  if (Replaying())
    start.tick = replay.Start_Tick();
  else if (Virtual_Clock())
    start.tick = Virtual_Tick(0);
  else
    start = session.script->Sample();
  session.current = plat::script::FrameInput{start.tick, 0, false, false, false};
  session.script->Pin(session.current);
  Write(session.record, Replay_Header_Text(start.tick));
  if (session.keep) session.kept = Replay_Header_Text(start.tick);
}

void Session_After_Setup() {
  if (session.trace) Write(session.trace, Trace_Line(0, session.current.tick));
}

bool Session_Before_Frame() {
  if (session.options.frames >= 0 &&
      session.frame >= static_cast<std::uint64_t>(session.options.frames))
    return false;
  plat::script::FrameInput next;
  if (Replaying() && !Next_Replay_Frame(&next)) return false;
  ++session.frame;
  if (!Pinned()) return true;
  session.current = Replaying() ? next : Next_Input();
  session.script->Pin(session.current);
  return true;
}

void Session_After_Frame() {
  if (frame_observer) frame_observer(session.frame);
  if (session.trace) Write(session.trace, Trace_Line(session.frame, session.current.tick));
  Write(session.record, Replay_Frame_Text(session.current));
  if (session.keep) Keep_Frame();
  Take_Snapshots(session.frame);
}

}  // namespace

bool Begin_Session(const Options& options, std::string* error) {
  Set_Run_Hooks(
      {Session_Before_Setup, Session_After_Setup, Session_Before_Frame, Session_After_Frame});
  replay.Close();
  session = Session{};
  session.options = options;
  session.keep = options.keep_games;
  if (Replaying() && !replay.Open(options.replay_path, error)) {
    *error = options.replay_path + ": " + *error;
    return false;
  }
  // Before any output is opened, so a refused snapshot leaves no empty trace behind.
  if (!Begin_Snapshots(options.snapshots, error)) return false;
  if (!options.trace_path.empty() && !(session.trace = Open_Output(options.trace_path, error)))
    return false;
  if (!options.record_path.empty() && !(session.record = Open_Output(options.record_path, error)))
    return false;
  Reset_Autopilot();
  return true;
}

void Set_Frame_Observer(FrameObserver observer) { frame_observer = observer; }
void Set_Game_Over_Keeper(GameOverKeeper keeper) { game_over_keeper = keeper; }

bool End_Session() {
  session.kept.clear();
  for (std::FILE** file : {&session.trace, &session.record}) {
    if (!*file) continue;
    if (std::fclose(*file) != 0) session.write_failed = true;
    *file = nullptr;
  }
  // A replay that turned out malformed part-way leaves no trace or recording of half a game.
  if (!session.replay_error.empty()) {
    for (const std::string& path : {session.options.trace_path, session.options.record_path})
      if (!path.empty()) std::remove(path.c_str());
  }
  replay.Close();
  Record_Sound_Events(false);
  if (!End_Snapshots(session.frame)) session.write_failed = true;
  if (session.script) {
    plat::Use_Os(session.backend);
    session.script.reset();
  }
  return !session.write_failed;
}

const std::string& Session_Replay_Error() { return session.replay_error; }
const std::string& Session_Replay_Path() { return session.options.replay_path; }

}  // namespace zorvex
