// Counts the heap allocations of a program by replacing the global operator new. Include it in
// exactly one source file of each program that wants the count. The array forms need no
// replacement of their own: the library's forward to these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace vx::test {

// Allocations made so far by the calling thread.
inline thread_local uint64_t gAllocations = 0;

}  // namespace vx::test

void* operator new(std::size_t size) {
  ++vx::test::gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
