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
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <typeinfo>

namespace __gnu_cxx {
// The runtime's own small formatter (%s, %zu and the like), as its default
// versions of these functions use it.
int __snprintf_lite(char* buffer, std::size_t size, const char* format, va_list arguments);
}  // namespace __gnu_cxx

namespace {

// Carries its message in itself: nothing to allocate while reporting.
class RuntimeError : public std::exception {
public:
    RuntimeError() = default;
    explicit RuntimeError(const char* what) {
        std::strncpy(m_what, what ? what : "runtime error", sizeof m_what - 1);
    }
    const char* what() const noexcept override { return m_what; }
    char* Buffer() { return m_what; }
    static constexpr std::size_t kSize = 256;

private:
    char m_what[kSize] = "";
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
void __throw_out_of_range_fmt(const char* format, ...) {
    RuntimeError error;
    va_list arguments;
    va_start(arguments, format);
    int n = __gnu_cxx::__snprintf_lite(error.Buffer(), RuntimeError::kSize, format, arguments);
    va_end(arguments);
    if (n < 0) Raise(format);
    throw error;
}
void __throw_runtime_error(const char* what) { Raise(what); }
void __throw_range_error(const char* what) { Raise(what); }
void __throw_overflow_error(const char* what) { Raise(what); }
void __throw_underflow_error(const char* what) { Raise(what); }
}  // namespace std
