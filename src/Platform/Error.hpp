#pragma once
// Base of the few errors that travel up to the entry block. Each type names
// its kind, which the entry block prints before the message.
#include <stdexcept>
#include <string>

namespace Platform {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  virtual const char* KindName() const noexcept = 0;
};

// Writing to standard output failed (closed pipe, full disk).
class EConsoleError : public Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EConsoleError"; }
};

}  // namespace Platform
