// The program's exception classes. Each carries the class name the user sees
// in error boxes ("EInOutError/File not found") and a message.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  virtual const char* ClassName() const { return "Exception"; }
  std::string Message() const { return what(); }
};

#define ORVANIX_EXCEPTION_CLASS(Name)                                  \
  class Name : public Exception {                                      \
   public:                                                             \
    explicit Name(const std::string& message) : Exception(message) {}  \
    const char* ClassName() const override { return #Name; }          \
  }

// A text that is not the number it should be.
ORVANIX_EXCEPTION_CLASS(EConvertError);
// A file could not be opened, read or written.
ORVANIX_EXCEPTION_CLASS(EInOutError);
// An index outside the bounds of a fixed array.
ORVANIX_EXCEPTION_CLASS(ERangeError);
// A division by zero, an invalid operation or an overflow.
ORVANIX_EXCEPTION_CLASS(EMathError);

#undef ORVANIX_EXCEPTION_CLASS
