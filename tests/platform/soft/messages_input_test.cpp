#include <gtest/gtest.h>

#include <vector>

#include "platform/os.h"
#include "platform/script/script_os.h"
#include "platform/test_double/test_backend.h"

namespace zorvex::testing {
namespace {

using namespace plat;

std::vector<std::uint32_t> seen;
LRESULT Proc(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
  seen.push_back(m);
  if (m == WM_DESTROY) PostQuitMessage(7);
  if (m == WM_CREATE || m == WM_DESTROY) return 0;
  return DefWindowProcA(w, m, wp, lp);
}

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "ZorvexBall";
    ASSERT_NE(RegisterClassA(&wc), 0);
    window = CreateWindowExA(0, "ZorvexBall", "Zorvex!", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }
  // The next message taken off the queue, or 0 when there is none.
  std::uint32_t Next() { return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) ? msg.message : 0; }
  test_double::TestBackend backend;
  WNDCLASSA wc{};
  HWND window = nullptr;
  MSG msg{};
};

TEST_F(MessagesTest, WindowCreationSendsCreate) {
  EXPECT_EQ(seen, std::vector<std::uint32_t>{WM_CREATE});
  EXPECT_TRUE(backend.host().Window_Open());
  EXPECT_EQ(RegisterClassA(&wc), 0) << "already registered";
  EXPECT_EQ(CreateWindowExA(0, "Unknown", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(MessagesTest, OneMessagePerPeekAndQuitOnlyAfterPostedOnes) {
  EXPECT_EQ(Next(), 0u);
  PostMessageA(window, 0x400, 1, 0);
  PostQuitMessage(3);
  PostMessageA(window, 0x401, 2, 0);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, 0));
  EXPECT_EQ(msg.message, 0x400u) << "peeking without PM_REMOVE leaves it queued";
  EXPECT_EQ(Next(), 0x400u);
  EXPECT_EQ(Next(), 0x401u);
  EXPECT_EQ(Next(), WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(Next(), 0u) << "the quit flag is taken once";
}

// Escape's posted WM_DESTROY goes the same way from the queue on; the game's frame tests quit so.
TEST_F(MessagesTest, TheCloseButtonQuits) {
  backend.Close_Window();  // the user clicks the close button
  ASSERT_EQ(Next(), 0x0010u);
  EXPECT_EQ(msg.hwnd, window);
  DispatchMessageA(&msg);
  EXPECT_EQ(seen.back(), WM_DESTROY);
  EXPECT_EQ(Next(), WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessagesTest, EscapeIsSeenWhileDownAndATapOnce) {
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  backend.Key(DIK_ESCAPE, true);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  backend.Key(DIK_ESCAPE, false);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  // A tap that begins and ends between two looks is still seen once.
  backend.Key(DIK_ESCAPE, true);
  backend.Key(DIK_ESCAPE, false);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Use_Os(&script);  // the devices as every run makes them: through the scripting layer
    ASSERT_EQ(DirectInputCreateA(nullptr, DIRECTINPUT_VERSION, &di, nullptr), DI_OK);
    HWND some_window = reinterpret_cast<HWND>(&di);
    ASSERT_EQ(di->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    ASSERT_EQ(di->CreateDevice(GUID_SysMouse, &mouse, nullptr), DI_OK);
    for (auto* d : {keyboard, mouse})
      ASSERT_EQ(d->SetCooperativeLevel(some_window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
  }
  void Ready() {
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    ASSERT_EQ(mouse->SetDataFormat(&c_dfDIMouse), DI_OK);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
  }
  void TearDown() override {
    for (auto* d : {keyboard, mouse}) d->Release();
    di->Release();
  }
  test_double::TestBackend backend;
  script::ScriptOs script{backend.os()};
  IDirectInput* di = nullptr;
  IDirectInputDevice* keyboard = nullptr;
  IDirectInputDevice* mouse = nullptr;
  std::uint8_t keys[256];
  DIMOUSESTATE m;
};

TEST_F(InputTest, DevicesRefuseUntilReadyAndCheckSizes) {
  EXPECT_EQ(keyboard->GetDeviceState(256, keys), DIERR_NOTACQUIRED);
  EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
  Ready();
  EXPECT_EQ(keyboard->GetDeviceState(16, keys), DIERR_INVALIDPARAM);
  EXPECT_EQ(mouse->GetDeviceState(256, &m), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->GetDeviceState(256, keys), DI_OK);
  EXPECT_EQ(mouse->Unacquire(), DI_OK);
  EXPECT_EQ(mouse->GetDeviceState(16, &m), DIERR_NOTACQUIRED);
  IDirectInputDevice* other = nullptr;
  EXPECT_NE(di->CreateDevice(IID_IDirectDraw4, &other, nullptr), DI_OK);
  EXPECT_EQ(other, nullptr);
}

TEST_F(InputTest, ScriptedInputStandsInForClockAndDevices) {
  Ready();
  backend.Key(DIK_SPACE, true);
  backend.Set_Ticks(500);
  script::FrameInput f{123456, -40, true, true, true};
  script.Pin(f);
  EXPECT_EQ(GetTickCount(), 123456u);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  ASSERT_EQ(keyboard->GetDeviceState(256, keys), DI_OK);
  for (int k = 0; k < 256; ++k) EXPECT_EQ(keys[k], k == DIK_RETURN ? 0x80 : 0) << k;
  backend.Move_Mouse(99, 99);
  ASSERT_EQ(mouse->GetDeviceState(16, &m), DI_OK);
  EXPECT_EQ(m.lX, -40);
  EXPECT_EQ(m.lY, 0);
  EXPECT_EQ(m.rgbButtons[0], 0x80);
  script.Unpin();
  EXPECT_EQ(GetTickCount(), 500u);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

TEST_F(InputTest, SampleReadsTheLiveMachine) {
  Ready();
  backend.Set_Ticks(42);
  backend.Move_Mouse(10);
  backend.Move_Mouse(-26);
  backend.Button(0, true);
  backend.Button(0, false);  // a click between two samples still counts
  backend.Key(DIK_RETURN, true);
  script::FrameInput f = script.Sample();
  EXPECT_EQ(f.tick, 42u);
  EXPECT_EQ(f.dx, -16);
  EXPECT_TRUE(f.lmb);
  EXPECT_TRUE(f.enter);
  EXPECT_FALSE(f.esc);
  f = script.Sample();
  EXPECT_EQ(f.dx, 0) << "motion is counted since the previous read";
  EXPECT_FALSE(f.lmb) << "the click is seen once";
  EXPECT_TRUE(f.enter) << "still held";
  backend.Button(0, true);
  EXPECT_TRUE(script.Sample().lmb);
  EXPECT_TRUE(script.Sample().lmb) << "still held";
}

}  // namespace
}  // namespace zorvex::testing
