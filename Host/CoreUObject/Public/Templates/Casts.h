// Stands in for the engine's Templates/Casts.h: checked down-casts between object classes.
#pragma once

#include "UObject/Class.h"
#include <type_traits>

template <class To, class From>
To* Cast(From* Src)
{
	if constexpr (std::is_base_of_v<To, From>)
	{
		return Src;
	}
	else
	{
		return Src && Src->IsA(To::StaticClass()) ? static_cast<To*>(Src) : nullptr;
	}
}

template <class To, class From>
const To* Cast(const From* Src)
{
	return Cast<To>(const_cast<From*>(Src));
}

template <class T>
class TObjectPtr;

template <class To, class From>
To* Cast(const TObjectPtr<From>& Src)
{
	return Cast<To>(Src.Get());
}

template <class To, class From>
To* ExactCast(From* Src)
{
	return Src && Src->GetClass() == To::StaticClass() ? static_cast<To*>(Src) : nullptr;
}

enum class ECastCheckedType : uint8
{
	NullAllowed,
	NullChecked
};

template <class To, class From>
To* CastChecked(From* Src, ECastCheckedType CheckType = ECastCheckedType::NullChecked)
{
	if (!Src)
	{
		check(CheckType == ECastCheckedType::NullAllowed);
		return nullptr;
	}
	To* Result = Cast<To>(Src);
	check(Result != nullptr);
	return Result;
}
