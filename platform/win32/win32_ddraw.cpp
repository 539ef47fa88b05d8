// DirectDraw under the seam. Full screen is the real flip chain in the game's own mode. In a
// window, the primary surface is the desktop behind a clipper on the game's window; the game
// draws into a 640 x 480 5-6-5 back buffer, and a flip copies it to a second surface (what the
// front buffer shows) and stretches that into the window.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "host/host_layer.h"
#include "platform/ddraw.h"
#include "platform/soft/frame_pacer.h"
#include "platform/win32/win32_parts.h"
// The seam's headers first: the system's macros would otherwise rewrite their constants.
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <ddraw.h>
// clang-format on

namespace {

constexpr DWORD SCREEN_W = plat::SCREEN_WIDTH;
constexpr DWORD SCREEN_H = plat::SCREEN_HEIGHT;

class Surface;

struct Display {
  plat::win32::Win32Options options;  // `window` follows the switches
  HWND window = nullptr;
  DWORD game_level = 0;          // the cooperative level the game asked for, for full screen
  ::IDirectDraw4* dd = nullptr;  // not held: the game releases it before its surfaces
  ::IDirectDrawSurface4* primary = nullptr;  // in a window: the desktop
  ::IDirectDrawClipper* window_clipper = nullptr;
  std::vector<Surface*> surfaces;
  plat::soft::FramePacer pacer;
  Surface* front = nullptr;  // the game's front page
  // The last frame shown, as the game drew it, for the host layer's notes and screenshots.
  std::vector<std::uint16_t> picture;
  bool picture_current = false;
};

void Show_Paused(Display& d);

::RECT Real_Rect(const plat::RECT& r) { return ::RECT{r.left, r.top, r.right, r.bottom}; }

// Another program's window in front of the game's.
bool Other_In_Front() {
  HWND front = GetForegroundWindow();
  if (!front || front == GetDesktopWindow() || front == GetShellWindow()) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  return process != GetCurrentProcessId();
}

// Minimised, behind another program, or out of the full-screen mode. Nobody in front (the
// program that was there has gone) is not away: the game would otherwise wait for ever.
bool Away(const Display& d) {
  if (!IsWindow(d.window)) return false;
  if (plat::win32::Host_Paused()) return true;
  if (IsIconic(d.window) || Other_In_Front()) return true;
  return !d.options.window && d.dd && d.dd->TestCooperativeLevel() != DD_OK;
}

// Waits, handling the window's messages, until the game is seen again. False when a quit
// arrived meanwhile: the quit is posted again for the game's own loop to find.
bool Wait_While_Away(Display& d) {
  while (Away(d)) {
    if (plat::win32::Host_Paused()) Show_Paused(d);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
  }
  return true;
}

// Every row of `page` packed into `copy`, made to fit, or `copy` back onto the page as far as it
// holds rows. With `frame`, only the game's 640 x 480 page of 16-bit pixels will do. False when
// the page cannot be locked or is not the one asked for.
template <class T>
bool Copy_Rows(::IDirectDrawSurface4* page, std::vector<T>* copy, bool into_page, bool frame) {
  ::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  const DWORD how = DDLOCK_WAIT | (into_page ? DDLOCK_WRITEONLY : DDLOCK_READONLY);
  if (FAILED(page->Lock(nullptr, &desc, how, nullptr))) return false;
  const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
  const bool fits = !frame || (bits == 16 && desc.dwWidth == SCREEN_W && desc.dwHeight == SCREEN_H);
  const std::size_t row = desc.dwWidth * (bits / 8);
  if (fits && !into_page) copy->resize(row * desc.dwHeight / sizeof(T));
  auto* ours = reinterpret_cast<std::uint8_t*>(copy->data());
  auto* rows = static_cast<std::uint8_t*>(desc.lpSurface);
  for (DWORD y = 0; fits && y < desc.dwHeight && (y + 1) * row <= copy->size() * sizeof(T); ++y) {
    if (into_page)
      std::memcpy(rows + y * desc.lPitch, ours + y * row, row);
    else
      std::memcpy(ours + y * row, rows + y * desc.lPitch, row);
  }
  page->Unlock(nullptr);
  return fits;
}

// The host layer's turn with a frame about to be shown: a screenshot asked for is taken from
// the game's own picture, and the notes go over it on `page`. True when the page changed.
bool Host_Over(::IDirectDrawSurface4* page, Display& d) {
  d.picture_current = plat::win32::Host().Wants_Frame() && Copy_Rows(page, &d.picture, false, true);
  if (!d.picture_current) return false;
  const std::uint16_t* shown =
      plat::win32::Host().Frame(d.picture.data(), SCREEN_W, SCREEN_H, GetTickCount64());
  if (shown == d.picture.data()) return false;
  std::vector<std::uint16_t> noted(shown, shown + SCREEN_W * SCREEN_H);
  return Copy_Rows(page, &noted, true, true);
}

// An offscreen page in the game's own format: in a window the desktop may be any depth, and the
// game's colours are 5-6-5 words.
::DDSURFACEDESC2 Offscreen_Desc(DWORD width, DWORD height) {
  ::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  desc.ddpfPixelFormat.dwSize = sizeof(desc.ddpfPixelFormat);
  desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
  desc.ddpfPixelFormat.dwRGBBitCount = 16;
  desc.ddpfPixelFormat.dwRBitMask = 0xF800;
  desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
  desc.ddpfPixelFormat.dwBBitMask = 0x001F;
  return desc;
}

class Clipper final : public plat::win32::Adapter<plat::IDirectDrawClipper, ::IDirectDrawClipper> {
 public:
  explicit Clipper(::IDirectDrawClipper* real) : Adapter(real) {}
  ::IDirectDrawClipper* real() const { return real_; }

  plat::HRESULT SetClipList(const plat::RGNDATA* region, std::uint32_t flags) override {
    if (!region) return real_->SetClipList(nullptr, flags);
    const plat::RGNDATAHEADER& h = region->rdh;
    if (h.nCount > 4096) return DDERR_INVALIDPARAMS;
    std::vector<std::uint8_t> bytes(sizeof(RGNDATAHEADER) + h.nCount * sizeof(::RECT));
    auto* real = reinterpret_cast<::RGNDATA*>(bytes.data());
    real->rdh =
        ::RGNDATAHEADER{sizeof(RGNDATAHEADER), h.iType, h.nCount, h.nRgnSize, Real_Rect(h.rcBound)};
    const auto* rects = reinterpret_cast<const plat::RECT*>(region->Buffer);
    auto* out = reinterpret_cast<::RECT*>(real->Buffer);
    for (std::uint32_t i = 0; i < h.nCount; ++i) out[i] = Real_Rect(rects[i]);
    return real_->SetClipList(real, flags);
  }

 private:
  ~Clipper() = default;
};

class Surface final : public plat::IDirectDrawSurface4 {
 public:
  enum class Role { PLAIN, FRONT, BACK, WINDOW_FRONT };

  Surface(std::shared_ptr<Display> display, ::IDirectDrawSurface4* real, Role role)
      : display_(std::move(display)), real_(real), role_(role) {
    display_->surfaces.push_back(this);
    if (role == Role::FRONT || role == Role::WINDOW_FRONT) display_->front = this;
  }

  ::IDirectDrawSurface4* real() const { return real_; }
  Role role() const { return role_; }
  Surface* back() const { return back_; }
  void Add_Ref() { ++refs_; }
  void Set_Back(Surface* back) { back_ = back; }
  // The page gets another real surface, as when the display switches between full screen and
  // a window; the game keeps its pointer.
  void Take(::IDirectDrawSurface4* real, Role role) {
    real_ = real;
    role_ = role;
    if (clipper_) real_->SetClipper(clipper_->real());
  }

  plat::HRESULT Blt(const plat::RECT* dst, plat::IDirectDrawSurface4* src,
                    const plat::RECT* src_rect, std::uint32_t flags,
                    const plat::DDBLTFX* fx) override {
    ::DDBLTFX real_fx{};
    if (fx) {
      if (fx->dwSize != plat::DDBLTFX_SIZE) return DDERR_INVALIDPARAMS;
      real_fx.dwSize = sizeof(real_fx);
      real_fx.dwFillColor = fx->dwFillColor;
    }
    ::RECT d{}, s{};
    if (dst) d = Real_Rect(*dst);
    if (src_rect) s = Real_Rect(*src_rect);
    ::IDirectDrawSurface4* source = src ? static_cast<Surface*>(src)->real_ : nullptr;
    HRESULT result = real_->Blt(dst ? &d : nullptr, source, src_rect ? &s : nullptr, flags,
                                fx ? &real_fx : nullptr);
    // Out of the full-screen mode: the frame is thrown away, and the flip waits, restores
    // and lets the game draw again.
    return result == DDERR_SURFACELOST ? DD_OK : result;
  }

  plat::HRESULT Flip(plat::IDirectDrawSurface4* target, std::uint32_t flags) override {
    if (role_ != Role::FRONT && role_ != Role::WINDOW_FRONT) return DDERR_NOTFLIPPABLE;
    if (plat::win32::Take_Screen_Switch()) return Switch_Screen();
    if (role_ == Role::WINDOW_FRONT) return Present_In_Window();
    if (plat::win32::Host_Paused() && !Wait_While_Away(*display_)) return DD_OK;
    if (back_surface()) Host_Over(back_surface()->real_, *display_);
    HRESULT result = real_->Flip(target ? static_cast<Surface*>(target)->real_ : nullptr, flags);
    if (result == DDERR_SURFACELOST) return Recover();
    Pace();
    return result;
  }

  plat::HRESULT GetAttachedSurface(const plat::DDSCAPS2* caps,
                                   plat::IDirectDrawSurface4** out) override {
    if (!caps || !out) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (role_ == Role::WINDOW_FRONT) {
      if (!(caps->dwCaps & DDSCAPS_BACKBUFFER) || !back_) return DDERR_NOTFOUND;
      back_->Add_Ref();
      *out = back_;
      return DD_OK;
    }
    ::DDSCAPS2 real_caps{caps->dwCaps, caps->dwCaps2, caps->dwCaps3, {caps->dwCaps4}};
    ::IDirectDrawSurface4* attached = nullptr;
    HRESULT result = real_->GetAttachedSurface(&real_caps, &attached);
    if (FAILED(result)) return result;
    *out = new Surface(display_, attached, Role::BACK);
    return DD_OK;
  }

  plat::HRESULT SetClipper(plat::IDirectDrawClipper* clipper) override {
    clipper_ = static_cast<Clipper*>(clipper);
    return real_->SetClipper(clipper_ ? clipper_->real() : nullptr);
  }

  plat::HRESULT SetColorKey(std::uint32_t flags, const plat::DDCOLORKEY* key) override {
    if (!key) return real_->SetColorKey(flags, nullptr);
    ::DDCOLORKEY real_key{key->dwColorSpaceLowValue, key->dwColorSpaceHighValue};
    return real_->SetColorKey(flags, &real_key);
  }

  plat::HRESULT GetDC(plat::HDC* out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    HDC dc = nullptr;
    HRESULT result = real_->GetDC(&dc);
    *out = reinterpret_cast<plat::HDC>(dc);
    return result;
  }

  plat::HRESULT ReleaseDC(plat::HDC dc) override {
    HRESULT result = real_->ReleaseDC(reinterpret_cast<HDC>(dc));
    // A sheet is drawn once, through GDI: keep a copy to put back when the surface is lost.
    if (SUCCEEDED(result) && role_ == Role::PLAIN) Copy_Rows(real_, &copy_, false, false);
    return result;
  }

  // In a window the game's front buffer is the page each flip copies the picture into, so a
  // locked front holds what was shown in either mode.
  plat::HRESULT Lock(plat::RECT* rect, plat::DDSURFACEDESC2* desc, std::uint32_t flags,
                     plat::HANDLE event) override {
    if (!desc || desc->dwSize != plat::DDSURFACEDESC2_SIZE) return DDERR_INVALIDPARAMS;
    ::RECT r{};
    if (rect) r = Real_Rect(*rect);
    ::DDSURFACEDESC2 real{};
    real.dwSize = sizeof(real);
    HRESULT result = real_->Lock(rect ? &r : nullptr, &real, flags, static_cast<HANDLE>(event));
    if (FAILED(result)) return result;
    desc->dwFlags = real.dwFlags;
    desc->dwHeight = real.dwHeight;
    desc->dwWidth = real.dwWidth;
    desc->lPitch = real.lPitch;
    desc->dwBackBufferCount = real.dwBackBufferCount;
    desc->lpSurface = real.lpSurface;
    const ::DDPIXELFORMAT& f = real.ddpfPixelFormat;
    desc->ddpfPixelFormat =
        plat::DDPIXELFORMAT{f.dwSize,     f.dwFlags,    f.dwFourCC,   f.dwRGBBitCount,
                            f.dwRBitMask, f.dwGBitMask, f.dwBBitMask, f.dwRGBAlphaBitMask};
    const ::DDSCAPS2& c = real.ddsCaps;
    desc->ddsCaps = plat::DDSCAPS2{c.dwCaps, c.dwCaps2, c.dwCaps3, c.dwCaps4};
    if (role_ == Role::WINDOW_FRONT) desc->ddsCaps.dwCaps |= DDSCAPS_PRIMARYSURFACE;
    return DD_OK;
  }

  plat::HRESULT Unlock(plat::RECT* rect) override {
    ::RECT r{};
    if (rect) r = Real_Rect(*rect);
    return real_->Unlock(rect ? &r : nullptr);
  }

  std::uint32_t Release() override {
    if (--refs_ > 0) return static_cast<std::uint32_t>(refs_);
    auto& list = display_->surfaces;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (display_->front == this) display_->front = nullptr;
    if (back_) back_->Release();
    real_->Release();
    if (role_ == Role::WINDOW_FRONT) {
      if (display_->primary) display_->primary->Release();
      if (display_->window_clipper) display_->window_clipper->Release();
      display_->primary = nullptr;
      display_->window_clipper = nullptr;
    }
    delete this;
    return 0;
  }

  // After the surface came back: its memory is gone, so the sheet copy goes back in, and the
  // pages start black.
  void Restore() {
    if (real_->IsLost() == DDERR_SURFACELOST) real_->Restore();
    if (role_ == Role::PLAIN && !copy_.empty()) {
      Copy_Rows(real_, &copy_, true, false);
    } else if (role_ != Role::PLAIN) {
      ::DDBLTFX fx{};
      fx.dwSize = sizeof(fx);
      real_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
  }

 private:
  ~Surface() = default;

  // After the flip (which waits for the display when it can), sleep until a learned margin
  // before the next deadline: the game's next input is read as late as it safely can be, and a
  // display faster than the game still gets 60 frames a second (frame_pacer.h).
  void Pace() { display_->pacer.Frame_Shown(); }

  // The page the game draws on.
  Surface* back_surface() const {
    if (back_) return back_;
    for (Surface* s : display_->surfaces)
      if (s->role_ == Role::BACK) return s;
    return nullptr;
  }

  plat::HRESULT Present_In_Window() {
    // Paused, the frame waits here with the notes on screen, and is shown as it was after.
    if (plat::win32::Host_Paused() && !Wait_While_Away(*display_)) return DD_OK;
    if (Away(*display_)) return Recover();
    if (!back_) return DDERR_GENERIC;
    HRESULT result = real_->Blt(nullptr, back_->real_, nullptr, DDBLT_WAIT, nullptr);
    if (result == DDERR_SURFACELOST) return Recover();
    if (FAILED(result)) return result;  // a page still locked, as a real flip would say
    const bool noted = Host_Over(real_, *display_);
    result = Show_Window_Page();
    if (result == DDERR_SURFACELOST) return Recover();
    // The notes leave the page the game may read back, which holds its own picture only.
    if (noted) real_->Blt(nullptr, back_->real_, nullptr, DDBLT_WAIT, nullptr);
    Pace();
    return DD_OK;
  }

 public:
  // Stretches the shown page into the window.
  HRESULT Show_Window_Page() {
    RECT client{};
    GetClientRect(display_->window, &client);
    POINT corner{0, 0};
    ClientToScreen(display_->window, &corner);
    OffsetRect(&client, corner.x, corner.y);
    HRESULT result = display_->primary->Blt(&client, real_, nullptr, DDBLT_WAIT, nullptr);
    if (FAILED(result) && result != DDERR_SURFACELOST) Present_Through_Gdi();
    return result == DDERR_SURFACELOST ? result : DD_OK;
  }

 private:
  plat::HRESULT Switch_Screen();

  // Where the desktop's format cannot take the game's 5-6-5 pages in one blit.
  void Present_Through_Gdi() {
    HDC from = nullptr;
    if (FAILED(real_->GetDC(&from))) return;
    RECT client{};
    GetClientRect(display_->window, &client);
    HDC to = ::GetDC(display_->window);
    StretchBlt(to, 0, 0, client.right, client.bottom, from, 0, 0, SCREEN_W, SCREEN_H, SRCCOPY);
    ::ReleaseDC(display_->window, to);
    real_->ReleaseDC(from);
  }

  plat::HRESULT Recover() {
    if (!Wait_While_Away(*display_)) return DD_OK;  // quitting: give the frame up
    if (display_->primary && display_->primary->IsLost() == DDERR_SURFACELOST)
      display_->primary->Restore();
    for (Surface* s : display_->surfaces) s->Restore();
    plat::win32::Note_Return();
    return DDERR_SURFACELOST;  // the game flips again
  }

  std::shared_ptr<Display> display_;
  ::IDirectDrawSurface4* real_;
  Role role_;
  int refs_ = 1;
  Surface* back_ = nullptr;     // in a window: the page the game draws on
  Clipper* clipper_ = nullptr;  // the game's, kept on a page that gets a new real surface
  std::vector<std::uint8_t> copy_;
};

// Paused: the frame on screen with the notes over it, as the game left it.
void Show_Paused(Display& d) {
  if (!d.front) return;
  ::IDirectDrawSurface4* page = d.front->real();
  if (!d.picture_current) {
    // The frame was shown without the layer's help: it is taken from the screen, once.
    if (!Copy_Rows(page, &d.picture, false, true)) return;
    plat::win32::Host().Frame(d.picture.data(), SCREEN_W, SCREEN_H, GetTickCount64());
    d.picture_current = true;
  }
  const std::uint16_t* noted = plat::win32::Host().Frame_Again(GetTickCount64());
  if (!noted) return;
  std::vector<std::uint16_t> copy(noted, noted + SCREEN_W * SCREEN_H);
  Copy_Rows(page, &copy, true, true);
  if (d.front->role() == Surface::Role::WINDOW_FRONT) d.front->Show_Window_Page();
}

// The desktop with a clipper on the window, the page shown and the page drawn on.
HRESULT Make_Window_Pages(Display& d, ::IDirectDrawSurface4* pages[2]) {
  ::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  ::IDirectDrawSurface4* primary = nullptr;
  HRESULT result = d.dd->CreateSurface(&desc, &primary, nullptr);
  if (FAILED(result)) return result;
  ::IDirectDrawClipper* clipper = nullptr;
  result = d.dd->CreateClipper(0, &clipper, nullptr);
  if (SUCCEEDED(result)) result = clipper->SetHWnd(0, d.window);
  if (SUCCEEDED(result)) result = primary->SetClipper(clipper);
  pages[0] = pages[1] = nullptr;
  for (int i = 0; i < 2; ++i) {
    ::DDSURFACEDESC2 own = Offscreen_Desc(SCREEN_W, SCREEN_H);
    if (SUCCEEDED(result)) result = d.dd->CreateSurface(&own, &pages[i], nullptr);
  }
  if (FAILED(result)) {
    for (int i = 0; i < 2; ++i)
      if (pages[i]) pages[i]->Release();
    if (clipper) clipper->Release();
    primary->Release();
    return result;
  }
  d.primary = primary;
  d.window_clipper = clipper;
  return DD_OK;
}

// The game's flip chain in the display's own mode, as the game itself asks for it.
HRESULT Make_Full_Screen_Pages(Display& d, ::IDirectDrawSurface4* pages[2]) {
  ::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  HRESULT result = d.dd->CreateSurface(&desc, &pages[0], nullptr);
  if (FAILED(result)) return result;
  ::DDSCAPS2 caps{};
  caps.dwCaps = DDSCAPS_BACKBUFFER;
  result = pages[0]->GetAttachedSurface(&caps, &pages[1]);
  if (FAILED(result)) pages[0]->Release();
  return result;
}

// Alt+Enter: exclusive full screen becomes a framed window, or back. The game keeps its
// surfaces: its pages get new real ones, every surface comes back as after a lost surface, and
// the game flips again.
plat::HRESULT Surface::Switch_Screen() {
  Display& d = *display_;
  Surface* back = back_surface();
  if (!d.dd || !back || !IsWindow(d.window)) return DD_OK;
  const bool to_window = !d.options.window;
  back->real_->Release();
  real_->Release();
  if (d.primary) d.primary->Release();
  if (d.window_clipper) d.window_clipper->Release();
  d.primary = nullptr;
  d.window_clipper = nullptr;
  ::IDirectDrawSurface4* pages[2] = {nullptr, nullptr};
  HRESULT result;
  if (to_window) {
    d.dd->SetCooperativeLevel(d.window, DDSCL_NORMAL);
    d.dd->RestoreDisplayMode();
    // Framed as when the game opens in a window.
    const plat::win32::WindowPlace place =
        plat::win32::Framed_Window(GetWindowLongA(d.window, GWL_EXSTYLE), d.options.scale);
    SetWindowLongPtrA(d.window, GWL_STYLE, place.style);
    SetWindowPos(d.window, HWND_NOTOPMOST, place.x, place.y, place.w, place.h,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    d.options.window = true;
    result = Make_Window_Pages(d, pages);
  } else {
    SetWindowLongPtrA(d.window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(d.window, HWND_TOPMOST, 0, 0, SCREEN_W, SCREEN_H,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    d.options.window = false;
    result = d.dd->SetCooperativeLevel(d.window, d.game_level);
    if (SUCCEEDED(result)) result = d.dd->SetDisplayMode(SCREEN_W, SCREEN_H, 16, 0, 0);
    if (SUCCEEDED(result)) result = Make_Full_Screen_Pages(d, pages);
  }
  if (FAILED(result)) {
    // Nothing to show on: the game cannot go on, and says so as a lost display would.
    plat::win32::Host().Note("Could not switch the display", GetTickCount64());
    plat::win32::Host().Report("Could not switch the display");
    return result;
  }
  Take(pages[0], to_window ? Role::WINDOW_FRONT : Role::FRONT);
  back->Take(pages[1], Role::BACK);
  if (to_window && !back_) {
    back_ = back;  // the window's front page owns its back page, as when made in a window
    back->Add_Ref();
  }
  for (Surface* s : d.surfaces) s->Restore();
  d.picture_current = false;
  // Said on standard error, not over the picture: in full screen a note would reach the page the
  // game reads.
  plat::win32::Host().Report(to_window ? "In a window - Alt+Enter for full screen"
                                       : "Full screen - Alt+Enter for a window");
  plat::win32::Host().Remember("window", to_window ? 1 : 0, GetTickCount64());
  plat::win32::Note_Return();
  return DDERR_SURFACELOST;  // the game flips again
}

class DirectDraw4 final : public plat::IDirectDraw4 {
 public:
  DirectDraw4(std::shared_ptr<Display> display, ::IDirectDraw4* real)
      : display_(std::move(display)), real_(real) {
    display_->dd = real;
  }

  plat::HRESULT SetCooperativeLevel(plat::HWND window, std::uint32_t flags) override {
    display_->window = reinterpret_cast<HWND>(window);
    display_->game_level = flags;
    // A window shares the desktop: the normal level, whatever the game asks for.
    return real_->SetCooperativeLevel(display_->window,
                                      display_->options.window ? DDSCL_NORMAL : flags);
  }

  plat::HRESULT SetDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t bpp,
                               std::uint32_t refresh, std::uint32_t flags) override {
    if (display_->options.window) return DD_OK;  // the desktop keeps its mode
    return real_->SetDisplayMode(width, height, bpp, refresh, flags);
  }

  plat::HRESULT CreateSurface(plat::DDSURFACEDESC2* desc, plat::IDirectDrawSurface4** out,
                              void* outer) override {
    if (out) *out = nullptr;
    if (!desc || !out || outer || desc->dwSize != plat::DDSURFACEDESC2_SIZE ||
        !(desc->dwFlags & DDSD_CAPS))
      return DDERR_INVALIDPARAMS;
    const bool primary = desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE;
    if (primary && display_->options.window) return Create_Window_Pages(out);
    ::DDSURFACEDESC2 real{};
    real.dwSize = sizeof(real);
    real.dwFlags = desc->dwFlags;
    real.dwHeight = desc->dwHeight;
    real.dwWidth = desc->dwWidth;
    real.dwBackBufferCount = desc->dwBackBufferCount;
    const plat::DDSCAPS2& c = desc->ddsCaps;
    real.ddsCaps = ::DDSCAPS2{c.dwCaps, c.dwCaps2, c.dwCaps3, {c.dwCaps4}};
    if (!primary && display_->options.window) {
      ::DDSURFACEDESC2 own = Offscreen_Desc(real.dwWidth, real.dwHeight);
      own.ddsCaps.dwCaps |= real.ddsCaps.dwCaps;
      real = own;
    }
    ::IDirectDrawSurface4* surface = nullptr;
    HRESULT result = real_->CreateSurface(&real, &surface, nullptr);
    if (FAILED(result)) return result;
    *out = new Surface(display_, surface, primary ? Surface::Role::FRONT : Surface::Role::PLAIN);
    return DD_OK;
  }

  plat::HRESULT CreateClipper(std::uint32_t flags, plat::IDirectDrawClipper** out,
                              void* outer) override {
    if (out) *out = nullptr;
    if (!out || outer) return DDERR_INVALIDPARAMS;
    ::IDirectDrawClipper* clipper = nullptr;
    HRESULT result = real_->CreateClipper(flags, &clipper, nullptr);
    if (FAILED(result)) return result;
    *out = new Clipper(clipper);
    return DD_OK;
  }

  std::uint32_t Release() override {
    display_->dd = nullptr;
    real_->Release();
    delete this;
    return 0;
  }

 private:
  ~DirectDraw4() = default;

  plat::HRESULT Create_Window_Pages(plat::IDirectDrawSurface4** out) {
    ::IDirectDrawSurface4* pages[2];
    HRESULT result = Make_Window_Pages(*display_, pages);
    if (FAILED(result)) return result;
    auto* front = new Surface(display_, pages[0], Surface::Role::WINDOW_FRONT);
    front->Set_Back(new Surface(display_, pages[1], Surface::Role::BACK));
    *out = front;
    return DD_OK;
  }

  std::shared_ptr<Display> display_;
  ::IDirectDraw4* real_;
};

class DirectDraw final : public plat::win32::Adapter<plat::IDirectDraw, ::IDirectDraw> {
 public:
  DirectDraw(const plat::win32::Win32Options& options, ::IDirectDraw* real)
      : Adapter(real), options_(options) {}

  plat::HRESULT QueryInterface(const plat::GUID& iid, void** out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (!(iid == plat::IID_IDirectDraw4)) return E_NOINTERFACE;
    ::IDirectDraw4* dd4 = nullptr;
    HRESULT result = real_->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd4));
    if (FAILED(result)) return result;
    auto display = std::make_shared<Display>();
    display->options = options_;
    *out = static_cast<plat::IDirectDraw4*>(new DirectDraw4(display, dd4));
    return DD_OK;
  }

 private:
  ~DirectDraw() = default;
  plat::win32::Win32Options options_;
};

std::uint32_t returns_from_away = 0;

}  // namespace

void plat::win32::Note_Return() { ++returns_from_away; }
std::uint32_t plat::win32::Returns() { return returns_from_away; }

plat::HRESULT plat::win32::Create_DirectDraw(const Win32Options& options, plat::IDirectDraw** out) {
  ::IDirectDraw* real = nullptr;
  ::HRESULT result = ::DirectDrawCreate(nullptr, &real, nullptr);
  if (FAILED(result)) return result;
  *out = new ::DirectDraw(options, real);
  return DD_OK;
}
