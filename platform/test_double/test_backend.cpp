#include "platform/test_double/test_backend.h"

#include "platform/soft/ddraw_objects.h"
#include "platform/soft/soft_os_impl.h"

namespace plat::test_double {

namespace {
soft::SoftSurface* Soft(plat::IDirectDrawSurface4* surface) {
  return static_cast<soft::SoftSurface*>(FaultOs::Inner_Of(surface));
}
}  // namespace

TestBackend::TestBackend() : TestBackend(Options{}) {}

TestBackend::TestBackend(const Options& options) {
  auto host = std::make_unique<soft::HeadlessHost>(soft::HeadlessHost::Clock::MANUAL,
                                                   options.start_ms, options.sound);
  host_ = host.get();
  backend_ = std::make_unique<soft::SoftOs>(std::move(host));
  faulty_ = std::make_unique<FaultOs>(*backend_);
  faulty_->journal().Set_Enabled(options.journal);
  plat::Use_Os(faulty_.get());
}

TestBackend::~TestBackend() { plat::Use_Os(nullptr); }

std::vector<std::uint16_t> TestBackend::Front_Pixels() const {
  soft::SoftSurface* front = backend_->Primary();
  return front ? front->pixels().data : std::vector<std::uint16_t>{};
}

std::vector<std::uint16_t> TestBackend::Pixels_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? Soft(surface)->pixels().data : std::vector<std::uint16_t>{};
}

int TestBackend::Width_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? Soft(surface)->pixels().width : 0;
}

int TestBackend::Height_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? Soft(surface)->pixels().height : 0;
}

}  // namespace plat::test_double
