// The soft backend's core: the host's events, windows and the message queue, the clock, and the
// hand-over of frames to the host.
#include "platform/soft/soft_os.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/soft/ddraw_objects.h"
#include "platform/soft/keycodes.h"
#include "platform/soft/soft_os_impl.h"
#include "platform/soft/soft_sound.h"

namespace plat::soft {

namespace {
constexpr int HIDDEN_WAIT_MS = 100;  // how long one lost flip sleeps waiting for the window
}

SoftOs::SoftOs(std::unique_ptr<Host> host) : host_(std::move(host)) {
  auto bitmap = std::make_unique<GdiObject>();
  bitmap->bitmap.width = bitmap->bitmap.height = 1;
  bitmap->bitmap.pixels.assign(1, 0);
  bitmap->stock = true;
  stock_bitmap_ = bitmap.get();
  Add_Object(std::move(bitmap));
}

SoftOs::~SoftOs() = default;

std::unique_ptr<plat::Os> Make_Soft_Os(std::unique_ptr<Host> host) {
  return std::make_unique<SoftOs>(std::move(host));
}

// ---- Host events and frames ----

void SoftOs::Pump() {
  host_->Pump_Events(&input_);
  if (!input_.Take_Close()) return;
  closing_ = true;
  if (!windows_.empty())
    queue_.push_back({reinterpret_cast<HWND>(windows_.front().get()), WM_CLOSE, 0, 0});
}

HRESULT SoftOs::Show_Frame(SoftSurface* front, SoftSurface* back) {
  Pump();
  if (!host_->Visible() && !closing_) {
    // Sleep on the host's events rather than spin; the game's flip loop comes back here.
    host_->Wait_Events(&input_, HIDDEN_WAIT_MS);
    Pump();
    return DDERR_SURFACELOST;
  }
  std::swap(front->pixels().data, back->pixels().data);
  const Pixels& shown = front->pixels();
  host_->Present(shown.data.data(), shown.width, shown.height);
  return DD_OK;
}

// ---- Windows and messages ----

std::uint16_t SoftOs::RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpfnWndProc || !wc->lpszClassName) return 0;
  if (!classes_.emplace(wc->lpszClassName, wc->lpfnWndProc).second) return 0;
  return static_cast<std::uint16_t>(classes_.size());
}

HWND SoftOs::CreateWindowExA(std::uint32_t, const char* class_name, const char* title,
                             std::uint32_t, int, int, int w, int h, HWND, void*, HINSTANCE, void*) {
  if (!class_name) return nullptr;
  auto found = classes_.find(class_name);
  if (found == classes_.end()) return nullptr;
  if (!host_->Open_Window(title ? title : "", w, h)) return nullptr;
  windows_.push_back(std::make_unique<Window>(Window{found->second}));
  HWND handle = reinterpret_cast<HWND>(windows_.back().get());
  if (found->second(handle, WM_CREATE, 0, 0) == -1) {  // the window refused to be made
    windows_.pop_back();
    return nullptr;
  }
  return handle;
}

SoftOs::Window* SoftOs::Find_Window(HWND handle) {
  for (auto& w : windows_)
    if (reinterpret_cast<HWND>(w.get()) == handle) return w.get();
  return nullptr;
}

bool SoftOs::PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                          std::uint32_t remove) {
  if (!msg) return false;
  Pump();
  auto wanted = [&](const MSG& m) {
    const bool in_range = (first == 0 && last == 0) || (m.message >= first && m.message <= last);
    return in_range && (!window || m.hwnd == window);
  };
  auto it = std::find_if(queue_.begin(), queue_.end(), wanted);
  if (it != queue_.end()) {
    *msg = *it;
    if (remove & PM_REMOVE) queue_.erase(it);
    return true;
  }
  // The quit flag is seen only once nothing posted is waiting.
  if (quit_posted_ && wanted(MSG{window, WM_QUIT, 0, 0})) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quit_code_), 0};
    if (remove & PM_REMOVE) quit_posted_ = false;
    return true;
  }
  return false;
}

bool SoftOs::TranslateMessage(const MSG*) {
  return false;  // no key messages are ever posted, so there is nothing to translate
}

LRESULT SoftOs::DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  Window* w = Find_Window(msg->hwnd);
  if (!w) return 0;
  return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

bool SoftOs::PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) {
  if (window && !Find_Window(window)) return false;
  queue_.push_back({window, message, wp, lp});
  return true;
}

void SoftOs::PostQuitMessage(int exit_code) {
  quit_posted_ = true;
  quit_code_ = exit_code;
  closing_ = true;
}

LRESULT SoftOs::DefWindowProcA(HWND window, std::uint32_t message, WPARAM, LPARAM) {
  Window* w = Find_Window(window);
  if (w && message == WM_CLOSE) w->proc(window, WM_DESTROY, 0, 0);
  return 0;
}

HDC SoftOs::BeginPaint(HWND window, PAINTSTRUCT* ps) {
  if (!ps || !Find_Window(window)) return nullptr;
  auto dc = std::make_unique<DeviceContext>();
  dc->kind = DeviceContext::PAINT_DC;
  ps->hdc = Add_Dc(std::move(dc));
  ps->rcPaint = RECT{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
  return ps->hdc;
}

bool SoftOs::EndPaint(HWND window, const PAINTSTRUCT* ps) {
  if (!ps || !Find_Window(window)) return false;
  DeviceContext* dc = Find_Dc(ps->hdc);
  if (!dc || dc->kind != DeviceContext::PAINT_DC) return false;
  Close_Dc(ps->hdc);
  return true;
}

std::int16_t SoftOs::GetAsyncKeyState(int virtual_key) {
  constexpr std::int16_t KEY_DOWN = static_cast<std::int16_t>(0x8000);
  const int dik = Vk_To_Dik(virtual_key);
  if (dik < 0) return 0;
  Pump();
  return input_.Key_Down(dik, InputState::ASYNC) ? KEY_DOWN : 0;
}

int SoftOs::ShowCursor(bool show) {
  cursor_count_ += show ? 1 : -1;
  return cursor_count_;
}

// ---- Kernel ----

std::uint32_t SoftOs::GetTickCount() { return host_->Ticks(); }

void SoftOs::OutputDebugStringA(const char* text) {
  if (!text) return;
  if (std::getenv("ZORVEX_DEBUG_OUTPUT")) std::fputs(text, stderr);
}

HGLOBAL SoftOs::GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
  if (flags != GMEM_FIXED) return nullptr;  // movable blocks are never asked for
  return std::malloc(bytes ? bytes : 1);    // a zero-size block is still one of its own
}

HGLOBAL SoftOs::GlobalFree(HGLOBAL block) {
  std::free(block);
  return nullptr;  // null: freed (null itself is accepted)
}

// ---- Sound ----

HRESULT SoftOs::DirectSoundCreate(const GUID*, IDirectSound** out, void* outer) {
  if (out) *out = nullptr;
  if (!out || outer) return DSERR_INVALIDPARAM;
  return Create_Sound_Device(host_->Audio_Sink(), out);
}

}  // namespace plat::soft
