// Tests of the core ticker: delays count the deltas it is ticked with, one-shots fire once, and tickers may be added
// and removed while it ticks.
#include "Containers/Ticker.h"
#include "CoreMinimal.h"
#include <gtest/gtest.h>

#include <vector>

namespace
{
/** Ticks with a delta that adds up exactly in binary, so that "after 3 seconds" means the sixth tick of 0.5. */
constexpr float HalfSecond = 0.5f;
} // namespace

TEST(CoreTicker, OneShotFiresOnceWhenItsDelayHasPassed)
{
	FTSTicker Ticker;
	int32 Calls = 0;
	float SeenDelta = 0.0f;
	Ticker.AddTicker(FTickerDelegate::CreateLambda(
						 [&](float DeltaTime)
						 {
							 ++Calls;
							 SeenDelta = DeltaTime;
							 return false;
						 }),
		3.0f);
	for (int32 Tick = 1; Tick <= 5; ++Tick)
	{
		Ticker.Tick(HalfSecond);
		EXPECT_EQ(Calls, 0) << "fired after " << Tick * HalfSecond << " s";
	}
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Calls, 1);
	EXPECT_EQ(SeenDelta, HalfSecond);
	for (int32 Tick = 0; Tick < 20; ++Tick)
	{
		Ticker.Tick(HalfSecond);
	}
	EXPECT_EQ(Calls, 1);
	EXPECT_EQ(Ticker.GetNumTickers(), 0);

	// One long tick is as good as many short ones: wall time plays no part.
	Ticker.AddTicker(TEXT("Long"), 2.5f,
		[&Calls](float)
		{
			return ++Calls, false;
		});
	Ticker.Tick(2.0f);
	EXPECT_EQ(Calls, 1);
	Ticker.Tick(10.0f);
	EXPECT_EQ(Calls, 2);
}

TEST(CoreTicker, RepeatingTickerFiresAfterEachDelay)
{
	FTSTicker Ticker;
	std::vector<double> FiredAt;
	double Clock = 0.0;
	Ticker.AddTicker(TEXT("EverySecond"), 1.0f,
		[&](float)
		{
			return FiredAt.push_back(Clock), true;
		});
	int32 EveryTick = 0;
	Ticker.AddTicker(TEXT("EveryTick"), 0.0f,
		[&](float)
		{
			return ++EveryTick, true;
		});
	for (int32 Tick = 0; Tick < 10; ++Tick)
	{
		Clock += HalfSecond;
		Ticker.Tick(HalfSecond);
	}
	EXPECT_EQ(FiredAt, (std::vector<double>{1.0, 2.0, 3.0, 4.0, 5.0}));
	EXPECT_EQ(EveryTick, 10);
	EXPECT_EQ(Ticker.GetCurrentTime(), 5.0);
}

TEST(CoreTicker, RemovalDuringATick)
{
	FTSTicker Ticker;
	std::vector<char> Order;
	FTSTicker::FDelegateHandle Later;
	FTSTicker::FDelegateHandle Self;
	Ticker.AddTicker(TEXT("RemovesLater"), 0.0f,
		[&](float)
		{
			Order.push_back('a');
			FTSTicker::RemoveTicker(Later);
			return true;
		});
	Self = Ticker.AddTicker(TEXT("RemovesItself"), 0.0f,
		[&](float)
		{
			Order.push_back('s');
			FTSTicker::RemoveTicker(Self);
			return true;
		});
	Later = Ticker.AddTicker(TEXT("Removed"), 0.0f,
		[&](float)
		{
			return Order.push_back('x'), true;
		});
	const FTSTicker::FDelegateHandle NeverRun = Ticker.AddTicker(TEXT("RemovedBeforeTicking"), 0.0f,
		[&](float)
		{
			return Order.push_back('n'), true;
		});
	FTSTicker::RemoveTicker(NeverRun);

	Ticker.Tick(HalfSecond);
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(std::string(Order.begin(), Order.end()), "asa");
	EXPECT_EQ(Ticker.GetNumTickers(), 1);

	// A handle of a ticker that finished, and an empty one, are harmless.
	EXPECT_FALSE(Self.IsValid());
	FTSTicker::RemoveTicker(Self);
	FTSTicker::RemoveTicker(FTSTicker::FDelegateHandle());
}

TEST(CoreTicker, TickersAddedDuringATickRunInItWhenDue)
{
	FTSTicker Ticker;
	std::string Order;
	Ticker.AddTicker(TEXT("Adder"), 0.0f,
		[&](float)
		{
			Order += 'a';
			Ticker.AddTicker(TEXT("Now"), 0.0f,
				[&](float)
				{
					return Order += 'n', false;
				});
			Ticker.AddTicker(TEXT("InOneSecond"), 1.0f,
				[&](float)
				{
					return Order += 'l', false;
				});
			return false;
		});
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Order, "an");
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Order, "an");
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Order, "anl");
}

TEST(CoreTicker, ClockStandsStillWithoutTickers)
{
	FTSTicker Ticker;
	Ticker.Tick(100.0f);
	EXPECT_EQ(Ticker.GetCurrentTime(), 0.0);
	int32 Calls = 0;
	Ticker.AddTicker(TEXT("One"), 1.0f,
		[&Calls](float)
		{
			return ++Calls, false;
		});
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Calls, 0);
	EXPECT_EQ(Ticker.GetCurrentTime(), 0.5);
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Calls, 1);
	// Once it is empty again, the clock stops again.
	Ticker.Tick(7.0f);
	EXPECT_EQ(Ticker.GetCurrentTime(), 1.0);
}

namespace
{
class FTickedObject : public TSharedFromThis<FTickedObject>
{
public:
	explicit FTickedObject(int32& InCalls)
		: Calls(InCalls)
	{
	}
	bool OnTick(float) { return ++Calls, true; }
	int32& Calls;
};

class FTickingService final : public FTSTickerObjectBase
{
public:
	FTickingService(FTSTicker& Ticker, int32& InCalls)
		: FTSTickerObjectBase(0.0f, Ticker)
		, Calls(InCalls)
	{
	}
	bool Tick(float) override { return ++Calls, true; }
	int32& Calls;
};
} // namespace

TEST(CoreTicker, TickersOfObjectsThatWentAreDropped)
{
	FTSTicker Ticker;
	int32 Calls = 0;
	TSharedPtr<FTickedObject> Object = MakeShared<FTickedObject>(Calls);
	Ticker.AddTicker(FTickerDelegate::CreateSP(Object.ToSharedRef(), &FTickedObject::OnTick), 0.0f);
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Calls, 1);
	Object.Reset();
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(Calls, 1);
	EXPECT_EQ(Ticker.GetNumTickers(), 0);

	int32 ServiceCalls = 0;
	{
		FTickingService Service(Ticker, ServiceCalls);
		Ticker.Tick(HalfSecond);
		Ticker.Tick(HalfSecond);
	}
	Ticker.Tick(HalfSecond);
	EXPECT_EQ(ServiceCalls, 2);
}

TEST(CoreTicker, CoreTickerIsOneForTheProcess)
{
	FTSTicker& Core = FTSTicker::GetCoreTicker();
	EXPECT_EQ(&Core, &FTSTicker::GetCoreTicker());
	bool bRan = false;
	Core.AddTicker(FTickerDelegate::CreateLambda(
					   [&bRan](float)
					   {
						   return bRan = true, false;
					   }),
		0.0f);
	Core.Tick(0.05f);
	EXPECT_TRUE(bRan);
}
