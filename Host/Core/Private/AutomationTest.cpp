// The stand-in's automation framework: registration, checks, log capture while a test runs, and latent commands
// advanced one frame at a time.
#include "Misc/AutomationTest.h"
#include "CoreGlobals.h"
#include "Misc/OutputDevice.h"
#include <chrono>
#include <thread>

namespace
{
double NowSeconds()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

/** Routes log lines of the running test into its results, as the engine's automation log does. */
class FTestLogCapture final : public FOutputDevice
{
public:
	explicit FTestLogCapture(FAutomationTestBase* InTest)
		: Test(InTest)
	{
		GLog->AddOutputDevice(this);
	}
	~FTestLogCapture() override { GLog->RemoveOutputDevice(this); }

	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		const ELogVerbosity::Type Level = (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask);
		if (Level > ELogVerbosity::Warning)
		{
			return;
		}
		const FString Line = Category.ToString() + TEXT(": ") + ToString(Level) + TEXT(": ") + V;
		Test->HostNoteLoggedLine(Line, Level <= ELogVerbosity::Error, Level == ELogVerbosity::Warning);
	}

private:
	FAutomationTestBase* Test;
};
} // namespace

double IAutomationLatentCommand::GetCurrentRunTime() const
{
	if (StartTime == 0.0)
	{
		StartTime = NowSeconds();
	}
	return NowSeconds() - StartTime;
}

FAutomationTestFramework& FAutomationTestFramework::Get()
{
	static FAutomationTestFramework Framework;
	return Framework;
}

bool FAutomationTestFramework::RegisterAutomationTest(const FString& InTestNameToRegister, FAutomationTestBase* InTestToRegister)
{
	for (const TPair<FString, FAutomationTestBase*>& Entry : Tests)
	{
		if (Entry.Key.Equals(InTestNameToRegister))
		{
			return false;
		}
	}
	Tests.Add(TPair<FString, FAutomationTestBase*>(InTestNameToRegister, InTestToRegister));
	return true;
}

bool FAutomationTestFramework::UnregisterAutomationTest(const FString& InTestNameToUnregister)
{
	return Tests.RemoveAll([&InTestNameToUnregister](const TPair<FString, FAutomationTestBase*>& Entry)
			   { return Entry.Key.Equals(InTestNameToUnregister); }) > 0;
}

void FAutomationTestFramework::EnqueueLatentCommand(TSharedPtr<IAutomationLatentCommand> NewCommand)
{
	check(CurrentTest != nullptr);
	LatentCommands.Add(NewCommand);
}

TArray<FAutomationTestBase*> FAutomationTestFramework::HostGetTests() const
{
	TArray<FAutomationTestBase*> Result;
	for (const TPair<FString, FAutomationTestBase*>& Entry : Tests)
	{
		Result.Add(Entry.Value);
	}
	Result.Sort([](const FAutomationTestBase* A, const FAutomationTestBase* B)
		{ return A->GetBeautifiedTestName().Compare(B->GetBeautifiedTestName()) < 0; });
	return Result;
}

bool FAutomationTestFramework::HostRunTest(FAutomationTestBase* Test, const TFunction<void(float)>& Frame, double TimeoutSeconds)
{
	CurrentTest = Test;
	LatentCommands.Reset();
	GIsAutomationTesting = true;
	Test->HostBeginRun();
	bool bResult = false;
	{
		FTestLogCapture Capture(Test);
		bResult = Test->RunTest(FString());

		const double Start = NowSeconds();
		double LastFrame = Start;
		while (!LatentCommands.IsEmpty())
		{
			const double Now = NowSeconds();
			if (Now - Start > TimeoutSeconds)
			{
				Test->AddError(FString::Printf(TEXT("Latent commands did not finish within %.0f seconds."), TimeoutSeconds));
				break;
			}
			Frame((float)(Now - LastFrame));
			LastFrame = Now;
			TSharedPtr<IAutomationLatentCommand> Command = LatentCommands[0];
			if (Command->Update())
			{
				LatentCommands.RemoveAt(0);
			}
			else
			{
				std::this_thread::sleep_for(std::chrono::milliseconds(5));
			}
		}
	}
	LatentCommands.Reset();
	GIsAutomationTesting = false;
	CurrentTest = nullptr;
	return Test->HostEndRun(bResult);
}

FAutomationTestBase::FAutomationTestBase(const FString& InName, const bool bInComplexTask)
	: TestName(InName)
{
	(void)bInComplexTask;
	FAutomationTestFramework::Get().RegisterAutomationTest(InName, this);
}

FAutomationTestBase::~FAutomationTestBase()
{
	FAutomationTestFramework::Get().UnregisterAutomationTest(TestName);
}

void FAutomationTestBase::AddError(const FString& InError, int32)
{
	Events.Add(FAutomationEvent{FAutomationEvent::EType::Error, InError});
}

void FAutomationTestBase::AddWarning(const FString& InWarning, int32)
{
	Events.Add(FAutomationEvent{FAutomationEvent::EType::Warning, InWarning});
}

void FAutomationTestBase::AddInfo(const FString& InLogItem, int32, bool)
{
	Events.Add(FAutomationEvent{FAutomationEvent::EType::Info, InLogItem});
}

void FAutomationTestBase::AddExpectedError(FString ExpectedPatternString, EAutomationExpectedErrorFlags::MatchType CompareType, int32 Occurrences)
{
	ExpectedErrors.Add(FExpectedError{MoveTemp(ExpectedPatternString), CompareType, Occurrences});
}

bool FAutomationTestBase::HasAnyErrors() const
{
	return Events.ContainsByPredicate([](const FAutomationEvent& Event) { return Event.Type == FAutomationEvent::EType::Error; });
}

void FAutomationTestBase::HostBeginRun()
{
	Events.Reset();
	ExpectedErrors.Reset();
}

void FAutomationTestBase::HostNoteLoggedLine(const FString& Line, bool bIsError, bool bIsWarning)
{
	if (bIsError)
	{
		for (FExpectedError& Expected : ExpectedErrors)
		{
			const bool bMatches = Expected.CompareType == EAutomationExpectedErrorFlags::Exact ? Line.EndsWith(Expected.Pattern)
																							  : Line.Contains(Expected.Pattern);
			if (bMatches)
			{
				++Expected.Seen;
				return;
			}
		}
		AddError(Line);
	}
	else if (bIsWarning)
	{
		AddWarning(Line);
	}
}

bool FAutomationTestBase::HostEndRun(bool bRunTestResult)
{
	for (const FExpectedError& Expected : ExpectedErrors)
	{
		// Occurrences 0 means "any number, at least one".
		const bool bCountMatches = Expected.Occurrences == 0 ? Expected.Seen > 0 : Expected.Seen == Expected.Occurrences;
		if (!bCountMatches)
		{
			AddError(FString::Printf(TEXT("Expected error '%s' was seen %d times, expected %d."), *Expected.Pattern, Expected.Seen,
				Expected.Occurrences));
		}
	}
	return bRunTestResult && !HasAnyErrors();
}

bool FAutomationTestBase::TestTrue(const TCHAR* What, bool Value)
{
	if (!Value)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be true."), What));
	}
	return Value;
}

bool FAutomationTestBase::TestFalse(const TCHAR* What, bool Value)
{
	if (Value)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be false."), What));
	}
	return !Value;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const int32 Actual, const int32 Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %d, but it was %d."), What, Expected, Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const int64 Actual, const int64 Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %lld, but it was %lld."), What, (long long)Expected, (long long)Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const uint32 Actual, const uint32 Expected)
{
	return TestEqual(What, (int64)Actual, (int64)Expected);
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const uint64 Actual, const uint64 Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %llu, but it was %llu."), What, (unsigned long long)Expected,
			(unsigned long long)Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const float Actual, const float Expected, float Tolerance)
{
	return TestEqual(What, (double)Actual, (double)Expected, (double)Tolerance);
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	if (!(std::fabs(Actual - Expected) <= Tolerance))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %f, but it was %f within tolerance %f."), What, Expected, Actual, Tolerance));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const bool Actual, const bool Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %s."), What, Expected ? TEXT("true") : TEXT("false")));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected)
{
	if (!FString(Actual).Equals(FString(Expected), ESearchCase::CaseSensitive))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be \"%s\", but it was \"%s\"."), What, Expected, Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FString& Actual, const FString& Expected)
{
	if (!Actual.Equals(Expected, ESearchCase::IgnoreCase))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be \"%s\", but it was \"%s\"."), What, *Expected, *Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FText& Actual, const FText& Expected)
{
	return TestEqual(What, *Actual.ToString(), *Expected.ToString());
}

bool FAutomationTestBase::TestEqualInsensitive(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected)
{
	return TestEqual(What, FString(Actual), FString(Expected));
}

bool FAutomationTestBase::TestNull(const TCHAR* What, const void* Pointer)
{
	if (Pointer != nullptr)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be null."), What));
		return false;
	}
	return true;
}
