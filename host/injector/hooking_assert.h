// The hooking layer's one assertion, reported as the layer has always reported it.
#pragma once

namespace injector {

// Prints "Assertion failed: <expression>, file <file>, line <line>" and stops the process.
[[noreturn]] void StopOnFailedAssertion(const char* expression, const char* file, unsigned line);

}  // namespace injector
