// Stand-in for the engine's Misc/OutputDevice.h: where log lines go.
#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"

class FOutputDevice
{
public:
	virtual ~FOutputDevice() = default;
	/** One finished log message, without decoration, with its verbosity and category. */
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) = 0;
	virtual void Flush() {}
	virtual bool CanBeUsedOnAnyThread() const { return false; }
};

/** The log's fan-out: every added device sees every line. */
class FOutputDeviceRedirector : public FOutputDevice
{
public:
	static FOutputDeviceRedirector* Get();
	void AddOutputDevice(FOutputDevice* OutputDevice);
	void RemoveOutputDevice(FOutputDevice* OutputDevice);
	bool IsRedirectingTo(FOutputDevice* OutputDevice);
	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override;
	void Flush() override;
};
