#include "platform/test_double/test_backend.h"

#include "platform/soft/backend.h"
#include "platform/soft/ddraw_objects.h"

namespace plat::soft {

TestBackend::TestBackend() : TestBackend(Options{}) {}

TestBackend::TestBackend(const Options& options) {
  auto host =
      std::make_unique<HeadlessHost>(HeadlessHost::Clock::kManual, options.start_ms, options.sound);
  host_ = host.get();
  backend_ = std::make_unique<Backend>(std::move(host));
  backend_->journal().Set_Enabled(options.journal);
  plat::Use_Os(backend_.get());
}

TestBackend::~TestBackend() { plat::Use_Os(nullptr); }

plat::Os& TestBackend::os() { return *backend_; }
FaultPlan& TestBackend::faults() { return backend_->faults(); }
Journal& TestBackend::journal() { return backend_->journal(); }

std::vector<std::uint16_t> TestBackend::Front_Pixels() const {
  SoftSurface* front = backend_->Primary();
  return front ? front->pixels().data : std::vector<std::uint16_t>{};
}

std::vector<std::uint16_t> TestBackend::Back_Pixels() const {
  SoftSurface* front = backend_->Primary();
  return front ? front->Back()->pixels().data : std::vector<std::uint16_t>{};
}

std::vector<std::uint16_t> TestBackend::Pixels_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? static_cast<SoftSurface*>(surface)->pixels().data : std::vector<std::uint16_t>{};
}

int TestBackend::Width_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? static_cast<SoftSurface*>(surface)->pixels().width : 0;
}

int TestBackend::Height_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? static_cast<SoftSurface*>(surface)->pixels().height : 0;
}

}  // namespace plat::soft
