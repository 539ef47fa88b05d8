// SoftOs, the soft backend that Make_Soft_Os (soft_os.h) makes: everything the game calls through
// the seam, done in memory, with the host supplying the clock, the window, input and the screen.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/os.h"
#include "platform/soft/bmp.h"
#include "platform/soft/host.h"
#include "platform/soft/surface.h"

namespace plat::soft {

class SoftSurface;

constexpr std::uint32_t WM_CLOSE = 0x0010;

struct GdiObject {
  enum Kind { BITMAP_OBJECT, STOCK_OBJECT } kind = BITMAP_OBJECT;
  Bitmap bitmap;  // BITMAP_OBJECT; a stock 1x1 one is what fresh memory DCs hold
  bool stock = false;
};

struct DeviceContext {
  enum Kind { MEMORY_DC, SURFACE_DC, PAINT_DC } kind = MEMORY_DC;
  GdiObject* selected = nullptr;   // MEMORY_DC: the bitmap drawn from
  SoftSurface* surface = nullptr;  // SURFACE_DC
  COLORREF text_colour = 0;
  int bk_mode = 2;  // OPAQUE
};

class SoftOs : public plat::Os {
 public:
  explicit SoftOs(std::unique_ptr<Host> host);
  ~SoftOs() override;

  ZORVEX_OS_CALLS(ZORVEX_OS_OVERRIDE)

  // Shared with the objects the backend hands out.
  Host& host() { return *host_; }
  InputState& input() { return input_; }
  void Pump();
  HRESULT Show_Frame(SoftSurface* front, SoftSurface* back);
  HDC Open_Surface_Dc(SoftSurface* surface);
  void Close_Dc(HDC dc);
  // The head of the flipping chain, while it lives.
  SoftSurface* Primary() const { return primary_; }
  void Set_Primary(SoftSurface* s) { primary_ = s; }

 private:
  struct Window {
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
  std::unordered_map<std::string, WNDPROC> classes_;
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
  SoftSurface* primary_ = nullptr;
};

}  // namespace plat::soft
