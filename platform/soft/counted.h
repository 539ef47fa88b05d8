// The reference count every object of the soft backend keeps, as the system's objects do.
#pragma once

#include <cstdint>

namespace plat::soft {

// A seam object that starts with one reference and ends itself on its last Release.
template <class Seam>
class Counted : public Seam {
 public:
  void AddRef() { ++refs_; }
  std::uint32_t Release() override {
    if (--refs_ > 0) return refs_;
    delete this;
    return 0;
  }

 protected:
  virtual ~Counted() = default;

 private:
  std::uint32_t refs_ = 1;
};

}  // namespace plat::soft
