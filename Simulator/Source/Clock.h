#pragma once

#include <mutex>

namespace tvsim
{
// The simulator's notion of "now", in seconds since the Unix epoch. It is the wall clock plus
// an offset that tests can push forward (POST /_sim/time), so that rigs, jobs and download
// links can be moved on without waiting. Wall-clock based so that state written to disk keeps
// meaning across a restart.
class SimClock
{
public:
	double Now() const;
	void Advance(double Seconds);
	double Offset() const;
	void SetOffset(double Seconds);

private:
	mutable std::mutex Mutex;
	double OffsetSeconds = 0.0;
};
} // namespace tvsim
