// Stand-in for the engine's Misc/Optional.h: TOptional, whose unset access is a failed check.
#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include <optional>

struct FNullOpt
{
	explicit constexpr FNullOpt(int) {}
};
inline constexpr FNullOpt NullOpt{0};

template <typename OptionalType>
class TOptional
{
public:
	using ElementType = OptionalType;

	TOptional() = default;
	TOptional(FNullOpt) {}
	TOptional(const OptionalType& Value)
		: Inner(Value)
	{
	}
	TOptional(OptionalType&& Value)
		: Inner(MoveTemp(Value))
	{
	}

	bool IsSet() const { return Inner.has_value(); }
	explicit operator bool() const { return Inner.has_value(); }
	void Reset() { Inner.reset(); }
	template <typename... ArgsType>
	OptionalType& Emplace(ArgsType&&... Args)
	{
		return Inner.emplace(Forward<ArgsType>(Args)...);
	}
	OptionalType& GetValue()
	{
		check(IsSet());
		return *Inner;
	}
	const OptionalType& GetValue() const
	{
		check(IsSet());
		return *Inner;
	}
	OptionalType* operator->() { return &GetValue(); }
	const OptionalType* operator->() const { return &GetValue(); }
	OptionalType& operator*() { return GetValue(); }
	const OptionalType& operator*() const { return GetValue(); }
	const OptionalType& Get(const OptionalType& DefaultValue) const { return IsSet() ? *Inner : DefaultValue; }
	OptionalType* GetPtrOrNull() { return IsSet() ? &*Inner : nullptr; }
	const OptionalType* GetPtrOrNull() const { return IsSet() ? &*Inner : nullptr; }

	friend bool operator==(const TOptional& Lhs, const TOptional& Rhs) { return Lhs.Inner == Rhs.Inner; }
	friend bool operator!=(const TOptional& Lhs, const TOptional& Rhs) { return !(Lhs == Rhs); }

private:
	std::optional<OptionalType> Inner;
};
