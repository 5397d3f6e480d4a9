#include "tests/support/CountingHeap.h"

#include <cstdlib>
#include <new>

long CountingHeap::allocationsLeft = 0;
long CountingHeap::liveBlocks = 0;
size_t CountingHeap::liveBytes = 0;
size_t CountingHeap::peakBytes = 0;

namespace {

// Each block carries its size in front, so that the bytes in use are known.
// The header is as large as the alignment operator new promises (16 bytes
// on 32-bit MinGW too, where max_align_t asks for only 8), so the block
// behind it is aligned as well as malloc's.
constexpr size_t Header = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
static_assert(Header >= sizeof(size_t) && Header >= alignof(std::max_align_t), "a header too small");

void* Allocate(std::size_t size) {
    if (CountingHeap::allocationsLeft > 0 && --CountingHeap::allocationsLeft == 0) throw std::bad_alloc();
    char* p = static_cast<char*>(std::malloc(size + Header));
    if (!p) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(p) = size;
    ++CountingHeap::liveBlocks;
    CountingHeap::liveBytes += size;
    if (CountingHeap::liveBytes > CountingHeap::peakBytes) CountingHeap::peakBytes = CountingHeap::liveBytes;
    return p + Header;
}

void Release(void* block) noexcept {
    if (!block) return;
    char* p = static_cast<char*>(block) - Header;
    --CountingHeap::liveBlocks;
    CountingHeap::liveBytes -= *reinterpret_cast<size_t*>(p);
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
// A sort asks for its scratch buffer without exceptions. With a sanitizer
// these forms would not come here by themselves, and every block freed here
// must carry a size.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
