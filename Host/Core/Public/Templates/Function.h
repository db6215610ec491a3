// Stand-in for the engine's Templates/Function.h: TFunction (copyable) and TUniqueFunction (move-only) callables.
#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include <functional>
#include <memory>

template <typename FuncType>
class TFunction;

template <typename RetType, typename... ParamTypes>
class TFunction<RetType(ParamTypes...)>
{
public:
	TFunction() = default;
	TFunction(std::nullptr_t) {}
	template <typename FunctorType,
		typename = std::enable_if_t<!std::is_same_v<std::decay_t<FunctorType>, TFunction> &&
			std::is_invocable_r_v<RetType, std::decay_t<FunctorType>&, ParamTypes...>>>
	TFunction(FunctorType&& Functor)
		: Inner(Forward<FunctorType>(Functor))
	{
	}

	/** Calling an empty function is a failed check, as in the engine. */
	RetType operator()(ParamTypes... Params) const
	{
		check(Inner != nullptr);
		return Inner(Forward<ParamTypes>(Params)...);
	}
	explicit operator bool() const { return Inner != nullptr; }
	bool IsSet() const { return Inner != nullptr; }
	void Reset() { Inner = nullptr; }

private:
	std::function<RetType(ParamTypes...)> Inner;
};

template <typename FuncType>
class TUniqueFunction;

/** A callable that may own move-only state (a moved-in buffer, a unique pointer). */
template <typename RetType, typename... ParamTypes>
class TUniqueFunction<RetType(ParamTypes...)>
{
public:
	TUniqueFunction() = default;
	TUniqueFunction(std::nullptr_t) {}
	TUniqueFunction(TUniqueFunction&&) = default;
	TUniqueFunction& operator=(TUniqueFunction&&) = default;
	TUniqueFunction(const TUniqueFunction&) = delete;
	TUniqueFunction& operator=(const TUniqueFunction&) = delete;
	template <typename FunctorType,
		typename = std::enable_if_t<!std::is_same_v<std::decay_t<FunctorType>, TUniqueFunction> &&
			std::is_invocable_r_v<RetType, std::decay_t<FunctorType>&, ParamTypes...>>>
	TUniqueFunction(FunctorType&& Functor)
		: Inner(std::make_unique<TModel<std::decay_t<FunctorType>>>(Forward<FunctorType>(Functor)))
	{
	}
	TUniqueFunction(TFunction<RetType(ParamTypes...)>&& Function)
		: Inner(Function ? std::make_unique<TModel<TFunction<RetType(ParamTypes...)>>>(MoveTemp(Function)) : nullptr)
	{
	}

	RetType operator()(ParamTypes... Params) const
	{
		check(Inner != nullptr);
		return Inner->Call(Forward<ParamTypes>(Params)...);
	}
	explicit operator bool() const { return Inner != nullptr; }
	void Reset() { Inner.reset(); }

private:
	struct FConcept
	{
		virtual ~FConcept() = default;
		virtual RetType Call(ParamTypes... Params) = 0;
	};
	template <typename FunctorType>
	struct TModel final : FConcept
	{
		template <typename InType>
		explicit TModel(InType&& In)
			: Functor(Forward<InType>(In))
		{
		}
		RetType Call(ParamTypes... Params) override { return Functor(Forward<ParamTypes>(Params)...); }
		FunctorType Functor;
	};
	std::unique_ptr<FConcept> Inner;
};

template <typename FuncType>
using TFunctionRef = TFunction<FuncType>;
