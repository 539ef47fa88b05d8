#include "platform/test_double/test_backend.h"

#include "platform/soft/backend.h"
#include "platform/soft/ddraw_objects.h"

namespace plat::soft {

Test_Backend::Test_Backend() : Test_Backend(Options{}) {}

Test_Backend::Test_Backend(const Options& options) {
  auto host =
      std::make_unique<HeadlessHost>(HeadlessHost::Clock::kManual, options.start_ms, options.sound);
  host_ = host.get();
  backend_ = std::make_unique<Backend>(std::move(host));
  backend_->journal().Set_Enabled(options.journal);
  plat::Use_Os(backend_.get());
}

Test_Backend::~Test_Backend() { plat::Use_Os(nullptr); }

plat::Os& Test_Backend::os() { return *backend_; }
FaultPlan& Test_Backend::faults() { return backend_->faults(); }
Journal& Test_Backend::journal() { return backend_->journal(); }

std::vector<std::uint16_t> Test_Backend::Front_Pixels() const {
  SoftSurface* front = backend_->Primary();
  return front ? front->pixels().data : std::vector<std::uint16_t>{};
}

std::vector<std::uint16_t> Test_Backend::Back_Pixels() const {
  SoftSurface* front = backend_->Primary();
  return front ? front->Back()->pixels().data : std::vector<std::uint16_t>{};
}

std::vector<std::uint16_t> Test_Backend::Pixels_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? static_cast<SoftSurface*>(surface)->pixels().data : std::vector<std::uint16_t>{};
}

int Test_Backend::Width_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? static_cast<SoftSurface*>(surface)->pixels().width : 0;
}

int Test_Backend::Height_Of(plat::IDirectDrawSurface4* surface) {
  return surface ? static_cast<SoftSurface*>(surface)->pixels().height : 0;
}

}  // namespace plat::soft
