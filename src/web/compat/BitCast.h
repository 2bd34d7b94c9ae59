#pragma once
// Included before every C++ file of the web build. emscripten 3.1.6 brings libc++ 13, which has
// no std::bit_cast although its compiler has the builtin behind it; the core uses std::bit_cast
// for exact float bit tricks, so the web build supplies it, with the standard's meaning.

#include <version>

#if !defined(__cpp_lib_bit_cast)
#include <type_traits>

namespace std {
template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>) constexpr To
    bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
