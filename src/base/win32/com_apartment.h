// COM for the calling thread as a single-threaded apartment, released at the end of the scope when
// it came up.
#pragma once

#include "base/win32/prelude.h"

#include <objbase.h>

namespace kestrune {

class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialized_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace kestrune
