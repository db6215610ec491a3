// Stand-in for the engine's Logging/LogCategory.h.
#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"

struct FLogCategoryBase
{
	FLogCategoryBase(const TCHAR* CategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
		: Verbosity(InDefaultVerbosity)
		, DefaultVerbosity(InDefaultVerbosity)
		, CompileTimeVerbosity(InCompileTimeVerbosity)
		, CategoryFName(CategoryName)
	{
	}
	bool IsSuppressed(ELogVerbosity::Type VerbosityLevel) const
	{
		return (VerbosityLevel & ELogVerbosity::VerbosityMask) > Verbosity;
	}
	const FName& GetCategoryName() const { return CategoryFName; }
	ELogVerbosity::Type GetVerbosity() const { return Verbosity; }
	void SetVerbosity(ELogVerbosity::Type NewVerbosity) { Verbosity = NewVerbosity; }
	/** Back to the verbosity the category was declared with. */
	void ResetFromDefault() { SetVerbosity(DefaultVerbosity); }
	ELogVerbosity::Type GetCompileTimeVerbosity() const { return CompileTimeVerbosity; }

private:
	ELogVerbosity::Type Verbosity;
	ELogVerbosity::Type DefaultVerbosity;
	ELogVerbosity::Type CompileTimeVerbosity;
	FName CategoryFName;
};

template <ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity>
struct FLogCategory : public FLogCategoryBase
{
	static constexpr ELogVerbosity::Type CompileTimeVerbosity = InCompileTimeVerbosity;
	explicit FLogCategory(const TCHAR* CategoryName)
		: FLogCategoryBase(CategoryName, InDefaultVerbosity, InCompileTimeVerbosity)
	{
	}
};
