// Replacements for a few functions of the statically linked C++ runtime, in Kestrola.exe
// only (the tests link the runtime's own). Each of the runtime's versions drags code into
// the image that this program has no use for; a definition here keeps the runtime's object
// file out of the link. Should another part of that object file ever be needed, the link
// fails with a duplicate definition rather than silently growing.

#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace {

// What the containers and strings throw for misuse or an impossible size. The runtime's
// std::logic_error family carries its message in a second, copy-on-write string
// implementation of about 40 KB; this keeps the message without it. Every handler in the
// program catches std::exception or anything.
class ContainerError : public std::exception {
public:
    explicit ContainerError(const char* message) : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};

}  // namespace

// The runtime reports an escaping exception on the console, which a window program does
// not have, and brings a C++ name demangler (about 45 KB) for that report. End the process
// as that handler does after its report.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc()
{
    throw bad_alloc();
}
void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}
void __throw_length_error(const char* message)
{
    throw ContainerError(message);
}
void __throw_logic_error(const char* message)
{
    throw ContainerError(message);
}
void __throw_out_of_range_fmt(const char* format, ...)
{
    throw ContainerError(format);
}
}  // namespace std
