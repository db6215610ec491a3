// Stand-in for the engine's Misc/AssertionMacros.h: check() and friends end the process as the engine's do.
#pragma once

namespace HostAssert
{
/** Reports a failed check with its place and ends the process, as a fatal error does in the engine. */
[[noreturn]] void Fail(const char* Expression, const char* File, int Line, const char* Message);
/** Reports a failed ensure once per place; the process goes on. */
bool Ensure(const char* Expression, const char* File, int Line);
} // namespace HostAssert

#define check(expr) ((expr) ? (void)0 : HostAssert::Fail(#expr, __FILE__, __LINE__, nullptr))
#define checkf(expr, format, ...) ((expr) ? (void)0 : HostAssert::Fail(#expr, __FILE__, __LINE__, "checkf"))
#define checkSlow(expr) check(expr)
#define checkNoEntry() HostAssert::Fail("Enclosing block should never be called", __FILE__, __LINE__, nullptr)
#define unimplemented() HostAssert::Fail("Unimplemented", __FILE__, __LINE__, nullptr)
#define verify(expr) check(expr)
#define verifyf(expr, format, ...) check(expr)
#define ensure(expr) ((expr) || HostAssert::Ensure(#expr, __FILE__, __LINE__))
#define ensureMsgf(expr, format, ...) ((expr) || HostAssert::Ensure(#expr, __FILE__, __LINE__))
#define ensureAlways(expr) ensure(expr)
