// Allocation failure on demand for a test program that links failing_allocator.cpp: it replaces
// the global operator new and delete, so that the Nth allocation from now fails as a crowded
// 32-bit game's heap makes it fail: std::bad_alloc thrown, or null from the nothrow forms.
#pragma once

namespace failing_allocator {

// The allocation after `successes` more fails, once; every other one succeeds.
void FailAfter(long successes);
// No allocation fails from now on.
void Disarm();
// Whether the failure armed by FailAfter has happened.
bool Failed();

}  // namespace failing_allocator
