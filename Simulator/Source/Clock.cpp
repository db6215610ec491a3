#include "Clock.h"

#include <chrono>

namespace tvsim
{
double SimClock::Now() const
{
	const auto Wall = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
	std::lock_guard Lock(Mutex);
	return Wall + OffsetSeconds;
}

void SimClock::Advance(double Seconds)
{
	std::lock_guard Lock(Mutex);
	if (Seconds > 0.0)
	{
		OffsetSeconds += Seconds;
	}
}

double SimClock::Offset() const
{
	std::lock_guard Lock(Mutex);
	return OffsetSeconds;
}

void SimClock::SetOffset(double Seconds)
{
	std::lock_guard Lock(Mutex);
	OffsetSeconds = Seconds;
}
} // namespace tvsim
