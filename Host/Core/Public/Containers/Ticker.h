// Stand-in for the engine's Containers/Ticker.h: the core ticker, which runs delegates after delays measured on its
// own clock (the sum of the deltas it is ticked with), and objects that tick on it.
#pragma once

#include "Containers/Array.h"
#include "CoreTypes.h"
#include "Delegates/Delegate.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include <atomic>
#include <mutex>

/** Called with the tick's delta; true keeps the ticker (it fires again after its delay), false removes it. */
DECLARE_DELEGATE_RetVal_OneParam(bool, FTickerDelegate, float);

/** A ticker that may be added to and removed from on any thread and is ticked on one (the game thread). */
class FTSTicker
{
public:
	struct FElement;
	using FElementPtr = TSharedPtr<FElement, ESPMode::ThreadSafe>;
	/** Identifies an added ticker; weak, so that it is harmless once the ticker has gone. */
	using FDelegateHandle = TWeakPtr<FElement, ESPMode::ThreadSafe>;

	struct FElement
	{
		FElement() = default;
		FElement(double InFireTime, float InDelayTime, const FTickerDelegate& InDelegate);
		/** Calls the delegate; an unbound one (its object gone) counts as finished. */
		bool Fire(float DeltaTime);

		double FireTime = 0.0;
		float DelayTime = 0.0f;
		FTickerDelegate Delegate;
		std::atomic<bool> bRemoved{false};
	};

	FTSTicker() = default;
	~FTSTicker();
	FTSTicker(const FTSTicker&) = delete;
	FTSTicker& operator=(const FTSTicker&) = delete;

	/** The ticker the editor ticks every frame on the game thread. */
	static FTSTicker& GetCoreTicker();

	/** Adds a delegate that first fires once InDelay seconds of ticks have passed. */
	FDelegateHandle AddTicker(const FTickerDelegate& InDelegate, float InDelay = 0.0f);
	/** Adds a function under a name (for profiling in the engine). */
	FDelegateHandle AddTicker(const TCHAR* InName, float InDelay, TFunction<bool(float)> Function);
	/** Removes a ticker; safe during a tick (also from inside the ticker itself) and for a ticker already gone. */
	static void RemoveTicker(FDelegateHandle Handle);

	/** Advances the clock by DeltaTime and fires what is due; does nothing while no ticker exists. */
	void Tick(float DeltaTime);
	/** Drops every ticker and restarts the clock. */
	void Reset();

	/** The ticker's clock: the sum of the deltas of the ticks that had tickers to run. */
	double GetCurrentTime() const { return CurrentTime; }
	/** Tickers added and not yet finished or removed. */
	int32 GetNumTickers() const;

private:
	/** Moves the tickers added since the last call into Elements; false when there were none. */
	bool TakeInAdded(TArray<FElementPtr>& Into);

	double CurrentTime = 0.0;
	TArray<FElementPtr> Elements;
	mutable std::mutex AddedLock;
	TArray<FElementPtr> AddedElements;
};

/** An object that ticks on a ticker (the core ticker by default) from construction to destruction. */
class FTSTickerObjectBase
{
public:
	/** Called on each tick of the ticker; returning false stops further ticks. */
	virtual bool Tick(float DeltaTime) = 0;

protected:
	FTSTickerObjectBase(float InDelay = 0.0f, FTSTicker& InTicker = FTSTicker::GetCoreTicker());
	virtual ~FTSTickerObjectBase();

private:
	FTSTicker::FDelegateHandle TickHandle;
};
