// Stand-in for the engine's Misc/AutomationTest.h: simple automation tests, their checks and latent commands. A test
// fails when RunTest returns false, a check fails, AddError runs, or an Error is logged while it runs (unless expected).
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Internationalization/Text.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include <cmath>
#include <type_traits>

#ifndef KINDA_SMALL_NUMBER
#define KINDA_SMALL_NUMBER (1.e-4f)
#endif

struct EAutomationTestFlags
{
	enum Type : uint32
	{
		None = 0x00000000,
		EditorContext = 0x00000001,
		ClientContext = 0x00000002,
		ServerContext = 0x00000004,
		CommandletContext = 0x00000008,
		ApplicationContextMask = EditorContext | ClientContext | ServerContext | CommandletContext,
		NonNullRHI = 0x00000100,
		RequiresUser = 0x00000200,
		FeatureMask = 0x0000FF00,
		Disabled = 0x00010000,
		CriticalPriority = 0x00100000,
		HighPriority = 0x00200000,
		MediumPriority = 0x00400000,
		LowPriority = 0x00800000,
		PriorityMask = 0x00F00000,
		SmokeFilter = 0x01000000,
		EngineFilter = 0x02000000,
		ProductFilter = 0x04000000,
		PerfFilter = 0x08000000,
		StressFilter = 0x10000000,
		NegativeFilter = 0x20000000,
		FilterMask = 0x3F000000
	};
};

namespace EAutomationExpectedErrorFlags
{
enum MatchType
{
	Exact,
	Contains
};
}

namespace HostAutomation
{
constexpr bool HasOneFilter(uint32 Flags)
{
	const uint32 Filter = Flags & EAutomationTestFlags::FilterMask;
	return Filter != 0 && (Filter & (Filter - 1)) == 0;
}
constexpr bool HasContext(uint32 Flags)
{
	return (Flags & EAutomationTestFlags::ApplicationContextMask) != 0;
}
} // namespace HostAutomation

/** A step that runs after RunTest, once per frame, until Update returns true. */
class IAutomationLatentCommand : public TSharedFromThis<IAutomationLatentCommand>
{
public:
	virtual ~IAutomationLatentCommand() = default;
	/** True when done. */
	virtual bool Update() = 0;
	/** Seconds since the first Update of this command. */
	double GetCurrentRunTime() const;

private:
	friend class FAutomationTestFramework;
	mutable double StartTime = 0.0;
};

/** Runs a function every frame until it returns true. */
class FFunctionLatentCommand : public IAutomationLatentCommand
{
public:
	explicit FFunctionLatentCommand(TFunction<bool()> InLatentPredicate)
		: LatentPredicate(MoveTemp(InLatentPredicate))
	{
	}
	bool Update() override { return LatentPredicate(); }

private:
	TFunction<bool()> LatentPredicate;
};

/** Runs a function once, after a delay. */
class FDelayedFunctionLatentCommand : public IAutomationLatentCommand
{
public:
	FDelayedFunctionLatentCommand(TFunction<void()> InCallback, float InDelay = 0.1f)
		: Callback(MoveTemp(InCallback))
		, Delay(InDelay)
	{
	}
	bool Update() override
	{
		if (GetCurrentRunTime() >= Delay)
		{
			Callback();
			return true;
		}
		return false;
	}

private:
	TFunction<void()> Callback;
	float Delay;
};

class FAutomationTestBase;

/** The registry of tests and the queue of latent commands of the running test. */
class FAutomationTestFramework
{
public:
	static FAutomationTestFramework& Get();
	bool RegisterAutomationTest(const FString& InTestNameToRegister, FAutomationTestBase* InTestToRegister);
	bool UnregisterAutomationTest(const FString& InTestNameToUnregister);
	void EnqueueLatentCommand(TSharedPtr<IAutomationLatentCommand> NewCommand);
	FAutomationTestBase* GetCurrentTest() const { return CurrentTest; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The registered tests, sorted by full name (stand-in only: used by the runner). */
	TArray<FAutomationTestBase*> HostGetTests() const;
	/** Runs one test: RunTest, then its latent commands with Frame(DeltaSeconds) between updates; true when passed. */
	bool HostRunTest(FAutomationTestBase* Test, const TFunction<void(float)>& Frame, double TimeoutSeconds);
#endif

private:
	TArray<TPair<FString, FAutomationTestBase*>> Tests;
	TArray<TSharedPtr<IAutomationLatentCommand>> LatentCommands;
	FAutomationTestBase* CurrentTest = nullptr;
};

/** One line a test reported. */
struct FAutomationEvent
{
	enum class EType
	{
		Info,
		Warning,
		Error
	};
	EType Type;
	FString Message;
};

class FAutomationTestBase
{
public:
	FAutomationTestBase(const FString& InName, const bool bInComplexTask);
	virtual ~FAutomationTestBase();

	virtual uint32 GetTestFlags() const = 0;
	virtual FString GetBeautifiedTestName() const = 0;
	virtual FString GetTestSourceFileName() const { return FString(); }
	virtual int32 GetTestSourceFileLine() const { return 0; }
	virtual uint32 GetRequiredDeviceNum() const { return 1; }
	const FString& GetTestName() const { return TestName; }

	virtual void AddError(const FString& InError, int32 StackOffset = 0);
	virtual void AddWarning(const FString& InWarning, int32 StackOffset = 0);
	virtual void AddInfo(const FString& InLogItem, int32 StackOffset = 0, bool bCaptureStack = false);
	void AddExpectedError(FString ExpectedPatternString,
		EAutomationExpectedErrorFlags::MatchType CompareType = EAutomationExpectedErrorFlags::Contains, int32 Occurrences = 1);
	bool HasAnyErrors() const;
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	const TArray<FAutomationEvent>& HostGetEvents() const { return Events; }
#endif

	bool TestTrue(const TCHAR* What, bool Value);
	bool TestTrue(const FString& What, bool Value) { return TestTrue(*What, Value); }
	bool TestFalse(const TCHAR* What, bool Value);
	bool TestFalse(const FString& What, bool Value) { return TestFalse(*What, Value); }

	bool TestEqual(const TCHAR* What, const int32 Actual, const int32 Expected);
	bool TestEqual(const TCHAR* What, const int64 Actual, const int64 Expected);
	bool TestEqual(const TCHAR* What, const uint32 Actual, const uint32 Expected);
	bool TestEqual(const TCHAR* What, const uint64 Actual, const uint64 Expected);
	bool TestEqual(const TCHAR* What, const float Actual, const float Expected, float Tolerance = KINDA_SMALL_NUMBER);
	bool TestEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance = KINDA_SMALL_NUMBER);
	bool TestEqual(const TCHAR* What, const bool Actual, const bool Expected);
	/** Exact, case-sensitive comparison. */
	bool TestEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected);
	/** Ignores case, as the engine's FString comparison does. */
	bool TestEqual(const TCHAR* What, const FString& Actual, const FString& Expected);
	bool TestEqual(const TCHAR* What, const FString& Actual, const TCHAR* Expected) { return TestEqual(What, Actual, FString(Expected)); }
	bool TestEqual(const TCHAR* What, const FText& Actual, const FText& Expected);
	template <typename ValueType>
	bool TestEqual(const TCHAR* What, const ValueType& Actual, const ValueType& Expected)
	{
		if (!(Actual == Expected))
		{
			AddError(FString::Printf(TEXT("%s: the two values are not equal."), What));
			return false;
		}
		return true;
	}
	// Only for a What that is an FString already: were text to convert to one here, clang would find this as good a
	// match as the overloads above for some calls and refuse them as ambiguous.
	template <typename WhatType, typename... ArgTypes>
		requires std::is_same_v<std::decay_t<WhatType>, FString>
	bool TestEqual(WhatType&& What, ArgTypes&&... Args)
	{
		return TestEqual(*What, Forward<ArgTypes>(Args)...);
	}
	bool TestEqualInsensitive(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected);

	template <typename ValueType>
	bool TestNotEqual(const TCHAR* What, const ValueType& Actual, const ValueType& Expected)
	{
		if (Actual == Expected)
		{
			AddError(FString::Printf(TEXT("%s: the two values are equal."), What));
			return false;
		}
		return true;
	}
	template <typename ValueType>
	bool TestNotNull(const TCHAR* What, const ValueType* Pointer)
	{
		if (Pointer == nullptr)
		{
			AddError(FString::Printf(TEXT("Expected '%s' to be not null."), What));
			return false;
		}
		return true;
	}
	bool TestNull(const TCHAR* What, const void* Pointer);
	template <typename ValueType>
	bool TestValid(const TCHAR* What, const TSharedPtr<ValueType>& SharedPointer)
	{
		return TestTrue(What, SharedPointer.IsValid());
	}
	template <typename ValueType>
	bool TestInvalid(const TCHAR* What, const TSharedPtr<ValueType>& SharedPointer)
	{
		return TestFalse(What, SharedPointer.IsValid());
	}
	template <typename ValueType>
	bool TestSame(const TCHAR* What, const ValueType& Actual, const ValueType& Expected)
	{
		return TestTrue(What, &Actual == &Expected);
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The stand-in's runner: clears the results before a run and judges them after. */
	void HostBeginRun();
	void HostNoteLoggedLine(const FString& Line, bool bIsError, bool bIsWarning);
	bool HostEndRun(bool bRunTestResult);
#endif

protected:
	/** The names and parameters of the test's variants: the one name and no parameters for a simple test. */
	virtual void GetTests(TArray<FString>& OutBeautifiedNames, TArray<FString>& OutTestCommands) const = 0;
	/** The test's body; Parameters is empty for simple tests. Only the framework runs it. */
	virtual bool RunTest(const FString& Parameters) = 0;

	FString TestName;

	// The framework runs the test, as the engine's does.
	friend class FAutomationTestFramework;

private:
	struct FExpectedError
	{
		FString Pattern;
		EAutomationExpectedErrorFlags::MatchType CompareType;
		int32 Occurrences;
		int32 Seen = 0;
	};
	TArray<FAutomationEvent> Events;
	TArray<FExpectedError> ExpectedErrors;
};

#define IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, TBaseClass, PrettyName, TFlags, FileName, LineNumber)          \
	class TClass : public TBaseClass                                                                                 \
	{                                                                                                                \
	public:                                                                                                          \
		TClass(const FString& InName)                                                                                \
			: TBaseClass(InName, false)                                                                              \
		{                                                                                                            \
			static_assert(HostAutomation::HasContext(TFlags), "AutomationTest has no application flag.");           \
			static_assert(HostAutomation::HasOneFilter(TFlags), "AutomationTest must have exactly one filter type."); \
		}                                                                                                            \
		virtual uint32 GetTestFlags() const override { return TFlags; }                                              \
		virtual FString GetBeautifiedTestName() const override { return FString(PrettyName); }                       \
		virtual FString GetTestSourceFileName() const override { return FString(FileName); }                         \
		virtual int32 GetTestSourceFileLine() const override { return LineNumber; }                                  \
                                                                                                                     \
	protected:                                                                                                       \
		virtual void GetTests(TArray<FString>& OutBeautifiedNames, TArray<FString>& OutTestCommands) const override  \
		{                                                                                                            \
			OutBeautifiedNames.Add(PrettyName);                                                                      \
			OutTestCommands.Add(FString());                                                                          \
		}                                                                                                            \
		virtual bool RunTest(const FString& Parameters) override;                                                    \
	};

#define IMPLEMENT_SIMPLE_AUTOMATION_TEST(TClass, PrettyName, TFlags)                                                   \
	IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, FAutomationTestBase, PrettyName, TFlags, __FILE__, __LINE__)      \
	namespace                                                                                                        \
	{                                                                                                                \
	TClass TClass##AutomationTestInstance(TEXT(#TClass));                                                            \
	}

#define ADD_LATENT_AUTOMATION_COMMAND(ClassDeclaration)                                                                \
	FAutomationTestFramework::Get().EnqueueLatentCommand(MakeShareable(new ClassDeclaration));

#define DEFINE_LATENT_AUTOMATION_COMMAND(CommandName)                                                                  \
	class CommandName : public IAutomationLatentCommand                                                              \
	{                                                                                                                \
	public:                                                                                                          \
		virtual ~CommandName() {}                                                                                    \
		virtual bool Update() override;                                                                              \
	}

#define DEFINE_LATENT_AUTOMATION_COMMAND_ONE_PARAMETER(CommandName, ParamType, ParamName)                              \
	class CommandName : public IAutomationLatentCommand                                                              \
	{                                                                                                                \
	public:                                                                                                          \
		CommandName(ParamType InputParam)                                                                            \
			: ParamName(InputParam)                                                                                  \
		{                                                                                                            \
		}                                                                                                            \
		virtual ~CommandName() {}                                                                                    \
		virtual bool Update() override;                                                                              \
                                                                                                                     \
	private:                                                                                                         \
		ParamType ParamName;                                                                                         \
	}

#define DEFINE_LATENT_AUTOMATION_COMMAND_TWO_PARAMETER(CommandName, ParamType0, ParamName0, ParamType1, ParamName1)    \
	class CommandName : public IAutomationLatentCommand                                                              \
	{                                                                                                                \
	public:                                                                                                          \
		CommandName(ParamType0 InputParam0, ParamType1 InputParam1)                                                  \
			: ParamName0(InputParam0)                                                                                \
			, ParamName1(InputParam1)                                                                                \
		{                                                                                                            \
		}                                                                                                            \
		virtual ~CommandName() {}                                                                                    \
		virtual bool Update() override;                                                                              \
                                                                                                                     \
	private:                                                                                                         \
		ParamType0 ParamName0;                                                                                       \
		ParamType1 ParamName1;                                                                                       \
	}
