// The soft backend: everything the game calls through the seam, done in memory, with the host
// supplying the clock, the window, the user's input and the screen.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/os.h"
#include "platform/soft/bmp.h"
#include "platform/soft/faults.h"
#include "platform/soft/host.h"
#include "platform/soft/surface.h"

namespace plat::soft {

class SoftSurface;

constexpr std::uint32_t kWmClose = 0x0010;

struct GdiObject {
  enum Kind { kBitmap, kStock } kind = kBitmap;
  Bitmap bitmap;  // kBitmap; a stock 1x1 one is what fresh memory DCs hold
  bool stock = false;
};

struct DeviceContext {
  enum Kind { kMemory, kSurface, kPaint } kind = kMemory;
  GdiObject* selected = nullptr;   // kMemory: the bitmap drawn from
  SoftSurface* surface = nullptr;  // kSurface
  COLORREF text_colour = 0;
  int bk_mode = 2;  // OPAQUE
};

class Backend : public plat::Os {
 public:
  explicit Backend(std::unique_ptr<Host> host);
  ~Backend() override;

  std::uint16_t RegisterClassA(const WNDCLASSA* wc) override;
  HWND CreateWindowExA(std::uint32_t ex_style, const char* class_name, const char* title,
                       std::uint32_t style, int x, int y, int w, int h, HWND parent, void* menu,
                       HINSTANCE instance, void* param) override;
  bool PeekMessageA(MSG* msg, HWND window, std::uint32_t first, std::uint32_t last,
                    std::uint32_t remove) override;
  bool TranslateMessage(const MSG* msg) override;
  LRESULT DispatchMessageA(const MSG* msg) override;
  bool PostMessageA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) override;
  void PostQuitMessage(int exit_code) override;
  LRESULT DefWindowProcA(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) override;
  HDC BeginPaint(HWND window, PAINTSTRUCT* ps) override;
  bool EndPaint(HWND window, const PAINTSTRUCT* ps) override;
  std::int16_t GetAsyncKeyState(int virtual_key) override;
  int ShowCursor(bool show) override;
  HICON LoadIconA(HINSTANCE instance, std::uintptr_t id) override;
  HCURSOR LoadCursorA(HINSTANCE instance, std::uintptr_t id) override;
  HGDIOBJ GetStockObject(int which) override;
  std::uint32_t GetTickCount() override;
  void OutputDebugStringA(const char* text) override;
  HGDIOBJ LoadImageA(HINSTANCE instance, const char* name, std::uint32_t type, int cx, int cy,
                     std::uint32_t flags) override;
  int GetObjectA(HGDIOBJ object, int size, void* out) override;
  HDC CreateCompatibleDC(HDC reference) override;
  HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override;
  bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
              std::uint32_t rop) override;
  bool DeleteDC(HDC dc) override;
  bool DeleteObject(HGDIOBJ object) override;
  COLORREF SetTextColor(HDC dc, COLORREF colour) override;
  int SetBkMode(HDC dc, int mode) override;
  bool TextOutA(HDC dc, int x, int y, const char* text, int length) override;
  HRESULT DirectDrawCreate(const GUID* device, IDirectDraw** out, void* outer) override;
  HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) override;
  HRESULT DirectInputCreateA(HINSTANCE instance, std::uint32_t version, IDirectInput** out,
                             void* outer) override;

  // Shared with the objects the backend hands out.
  Host& host() { return *host_; }
  InputState& input() { return input_; }
  FaultPlan& faults() { return faults_; }
  Journal& journal() { return journal_; }
  // Journals a method call and asks the fault plan about it: true (with *code) means fail.
  bool Step(const char* iface, const char* method, const std::string& role, HRESULT* code);
  void Note(const std::string& role, const char* method);  // journal only
  bool Call(const char* name, HRESULT* code);              // an Os function's Step
  void Pump();
  HRESULT Show_Frame(SoftSurface* front, SoftSurface* back);
  HDC Open_Surface_Dc(SoftSurface* surface);
  void Close_Dc(HDC dc);
  void Surface_Born(SoftSurface* s) { surfaces_.push_back(s); }
  void Surface_Died(SoftSurface* s);
  SoftSurface* Primary() const;
  std::string Next_Role(const char* kind);

 private:
  struct WindowClass {
    WNDPROC proc;
  };
  struct Window {
    std::string class_name;
    WNDPROC proc;
  };
  Window* Find_Window(HWND handle);
  GdiObject* Find_Object(HGDIOBJ handle);
  DeviceContext* Find_Dc(HDC handle);
  HGDIOBJ Add_Object(std::unique_ptr<GdiObject> object);
  HDC Add_Dc(std::unique_ptr<DeviceContext> dc);
  bool Selected_Anywhere(const GdiObject* object) const;

  std::unique_ptr<Host> host_;
  InputState input_;
  FaultPlan faults_;
  Journal journal_;
  std::unordered_map<std::string, WindowClass> classes_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::deque<MSG> queue_;
  bool quit_posted_ = false;
  int quit_code_ = 0;
  bool closing_ = false;
  int cursor_count_ = 0;
  std::unordered_map<const void*, std::unique_ptr<GdiObject>> objects_;
  std::unordered_map<const void*, std::unique_ptr<DeviceContext>> dcs_;
  GdiObject* stock_bitmap_ = nullptr;
  std::unordered_map<int, HGDIOBJ> stock_;
  std::vector<SoftSurface*> surfaces_;
  std::unordered_map<std::string, int> role_counts_;
};

}  // namespace plat::soft
