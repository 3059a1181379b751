// Compiled into each program itself, not into a library, so that these
// definitions are in place before the linker looks into the C++ runtime.
//
// The runtime's defaults for two things the programs never show pull in a
// quarter of each program:
//  - the terminate handler prints the type of an uncaught exception, with
//    the C++ demangler (about 46 KB), to a standard error a GUI program does
//    not have, and then aborts;
//  - the helpers that the standard containers and strings call to throw
//    (std::__throw_length_error, ...) build logic_error and friends, whose
//    message is the old reference-counted string, with all of its code.
// Here a terminate aborts at once, and the helpers throw a small exception
// of ours with the same message: every catch in the programs is for
// std::exception or one of our own types, so each error is caught where it
// was before.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* text) : text_(text ? text : "library error") {}
  const char* what() const noexcept override { return text_; }

 private:
  const char* text_;  // the runtime passes string literals
};

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
void __throw_domain_error(const char* text) { throw LibraryError(text); }
void __throw_invalid_argument(const char* text) { throw LibraryError(text); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_out_of_range(const char* text) { throw LibraryError(text); }
// The format's arguments are left out: nobody reads the message.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* text) { throw LibraryError(text); }
void __throw_range_error(const char* text) { throw LibraryError(text); }
void __throw_overflow_error(const char* text) { throw LibraryError(text); }
void __throw_underflow_error(const char* text) { throw LibraryError(text); }

}  // namespace std
