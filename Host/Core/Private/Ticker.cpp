// The core ticker. Tickers may be added from any thread (they wait in AddedElements under a lock until the next tick
// takes them in); Tick and the element list belong to the thread that ticks.
#include "Containers/Ticker.h"

FTSTicker::FElement::FElement(double InFireTime, float InDelayTime, const FTickerDelegate& InDelegate)
	: FireTime(InFireTime)
	, DelayTime(InDelayTime)
	, Delegate(InDelegate)
{
}

bool FTSTicker::FElement::Fire(float DeltaTime)
{
	if (!Delegate.IsBound())
	{
		return false;
	}
	return Delegate.Execute(DeltaTime);
}

FTSTicker::~FTSTicker() = default;

FTSTicker& FTSTicker::GetCoreTicker()
{
	static FTSTicker CoreTicker;
	return CoreTicker;
}

FTSTicker::FDelegateHandle FTSTicker::AddTicker(const FTickerDelegate& InDelegate, float InDelay)
{
	FElementPtr Element = MakeShared<FElement, ESPMode::ThreadSafe>(CurrentTime + InDelay, InDelay, InDelegate);
	std::lock_guard<std::mutex> Guard(AddedLock);
	AddedElements.Add(Element);
	return FDelegateHandle(Element);
}

FTSTicker::FDelegateHandle FTSTicker::AddTicker(const TCHAR* InName, float InDelay, TFunction<bool(float)> Function)
{
	(void)InName;
	return AddTicker(FTickerDelegate::CreateLambda(MoveTemp(Function)), InDelay);
}

void FTSTicker::RemoveTicker(FDelegateHandle Handle)
{
	// The element is only marked: the tick drops it, which keeps removal safe while the list is being walked.
	if (FElementPtr Element = Handle.Pin())
	{
		Element->bRemoved = true;
	}
}

bool FTSTicker::TakeInAdded(TArray<FElementPtr>& Into)
{
	std::lock_guard<std::mutex> Guard(AddedLock);
	if (AddedElements.IsEmpty())
	{
		return false;
	}
	Into.Append(MoveTemp(AddedElements));
	AddedElements.Reset();
	return true;
}

void FTSTicker::Tick(float DeltaTime)
{
	TakeInAdded(Elements);
	if (Elements.IsEmpty())
	{
		return;
	}
	CurrentTime += DeltaTime;

	TArray<FElementPtr> Pending = MoveTemp(Elements);
	Elements.Reset();
	TArray<FElementPtr> Kept;
	do
	{
		for (FElementPtr& Element : Pending)
		{
			if (Element->bRemoved)
			{
				continue;
			}
			if (Element->FireTime > CurrentTime)
			{
				Kept.Add(MoveTemp(Element));
				continue;
			}
			if (Element->Fire(DeltaTime) && !Element->bRemoved)
			{
				Element->FireTime = CurrentTime + Element->DelayTime;
				Kept.Add(MoveTemp(Element));
			}
		}
		Pending.Reset();
		// Tickers added while these ran belong to this tick too: a zero delay runs at once.
	} while (TakeInAdded(Pending));

	// Anything added to Elements meanwhile (a nested Tick) is kept after the survivors.
	Kept.Append(MoveTemp(Elements));
	Elements = MoveTemp(Kept);
}

void FTSTicker::Reset()
{
	{
		std::lock_guard<std::mutex> Guard(AddedLock);
		AddedElements.Empty();
	}
	Elements.Empty();
	CurrentTime = 0.0;
}

int32 FTSTicker::GetNumTickers() const
{
	int32 Count = 0;
	for (const FElementPtr& Element : Elements)
	{
		Count += Element->bRemoved ? 0 : 1;
	}
	std::lock_guard<std::mutex> Guard(AddedLock);
	for (const FElementPtr& Element : AddedElements)
	{
		Count += Element->bRemoved ? 0 : 1;
	}
	return Count;
}

FTSTickerObjectBase::FTSTickerObjectBase(float InDelay, FTSTicker& InTicker)
{
	TickHandle = InTicker.AddTicker(FTickerDelegate::CreateRaw(this, &FTSTickerObjectBase::Tick), InDelay);
}

FTSTickerObjectBase::~FTSTickerObjectBase()
{
	FTSTicker::RemoveTicker(TickHandle);
}
