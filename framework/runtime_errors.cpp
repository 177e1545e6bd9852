// How the deliverables report the C++ runtime's own errors. They link the
// runtime statically and have no console, and these definitions replace the
// runtime's defaults, which cost far more than they give a window program:
//
// - The default terminate handler writes the name of the uncaught exception
//   to the standard error stream, which goes nowhere here, and pulls in the
//   symbol demangler (about 50 KB). Ending at once is what it does next anyway.
// - The container and string members report misuse (an index out of range, a
//   length past the maximum, a null pointer for a string) through
//   std::__throw_* functions. The runtime's own versions build std::logic_error
//   and its kind, which carry a reference-counted string and bring the whole
//   older string implementation and the random device that its library object
//   shares (about 60 KB of code and unwinding tables). Here they throw one
//   small exception with the same message; the programs only ever catch such
//   errors with catch (...), at thread and window-procedure boundaries.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(const char* what) : m_what(what ? what : "runtime error") {}
    const char* what() const noexcept override { return m_what; }

private:
    const char* m_what;  // always a string literal of the runtime's
};

[[noreturn]] void Raise(const char* what) { throw RuntimeError(what); }

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
void __throw_logic_error(const char* what) { Raise(what); }
void __throw_domain_error(const char* what) { Raise(what); }
void __throw_invalid_argument(const char* what) { Raise(what); }
void __throw_length_error(const char* what) { Raise(what); }
void __throw_out_of_range(const char* what) { Raise(what); }
// The format's placeholders stay unfilled: formatting them is what the
// runtime's version needs its own printf for.
void __throw_out_of_range_fmt(const char* format, ...) { Raise(format); }
void __throw_runtime_error(const char* what) { Raise(what); }
void __throw_range_error(const char* what) { Raise(what); }
void __throw_overflow_error(const char* what) { Raise(what); }
void __throw_underflow_error(const char* what) { Raise(what); }
}  // namespace std
