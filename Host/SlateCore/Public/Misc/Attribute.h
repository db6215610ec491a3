// Stands in for the engine's Misc/Attribute.h: a value that is either fixed or read from a getter each time it is asked.
// (A Core header in the engine; the stand-in keeps it with the UI modules, its only users.)
#pragma once

#include "CoreTypes.h"
#include "Delegates/Delegate.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include <type_traits>

class UObject;

template <typename ObjectType>
class TAttribute
{
public:
	/** The getter an attribute may be bound to. */
	using FGetter = TDelegate<ObjectType()>;

	/** An attribute that is not set: Get() answers a default value. */
	TAttribute()
		: Value()
		, bIsSet(false)
	{
	}

	/** A fixed value; anything the value type can be made from converts implicitly, as in the engine. */
	template <typename OtherType,
		typename = std::enable_if_t<!std::is_same_v<std::decay_t<OtherType>, TAttribute> &&
			std::is_constructible_v<ObjectType, const OtherType&>>>
	TAttribute(const OtherType& InInitialValue)
		: Value(InInitialValue)
		, bIsSet(true)
	{
	}

	TAttribute(ObjectType&& InInitialValue)
		: Value(MoveTemp(InInitialValue))
		, bIsSet(true)
	{
	}

	/** Bound to a const getter of a shared object, held weakly. */
	template <class SourceType>
	TAttribute(TSharedRef<SourceType> InUserObject, std::type_identity_t<ObjectType (SourceType::*)() const> InMethodPtr)
		: Value()
		, bIsSet(true)
		, Getter(FGetter::CreateSP(InUserObject, InMethodPtr))
	{
	}

	/** Bound to a const getter of an object that is already shared (the usual `TAttribute<FText>(this, &S::GetX)`). */
	template <class SourceType>
	TAttribute(SourceType* InUserObject, std::type_identity_t<ObjectType (SourceType::*)() const> InMethodPtr)
		: Value()
		, bIsSet(true)
		, Getter(FGetter::CreateSP(InUserObject, InMethodPtr))
	{
	}

	TAttribute(const TAttribute&) = default;
	TAttribute(TAttribute&&) = default;
	TAttribute& operator=(const TAttribute&) = default;
	TAttribute& operator=(TAttribute&&) = default;

	/** An attribute bound to an existing getter. */
	static TAttribute Create(const FGetter& InGetter)
	{
		const bool bExplicitConstructor = true;
		return TAttribute(InGetter, bExplicitConstructor);
	}

	/** An attribute bound to a function, typically a lambda. */
	static TAttribute Create(TFunction<ObjectType(void)>&& InLambda)
	{
		const bool bExplicitConstructor = true;
		return TAttribute(FGetter::CreateLambda(MoveTemp(InLambda)), bExplicitConstructor);
	}

	template <typename LambdaType, typename... PayloadTypes>
	static TAttribute CreateLambda(LambdaType&& InCallable, PayloadTypes&&... InputPayload)
	{
		return Create(FGetter::CreateLambda(Forward<LambdaType>(InCallable), Forward<PayloadTypes>(InputPayload)...));
	}

	template <class UserClass, typename... VarTypes>
	static TAttribute CreateSP(const UserClass* InUserObject,
		std::type_identity_t<ObjectType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)
	{
		return Create(FGetter::CreateSP(InUserObject, InFunc, Vars...));
	}

	template <class UserClass, typename... VarTypes>
	static TAttribute CreateSP(const TSharedRef<UserClass>& InUserObject,
		std::type_identity_t<ObjectType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)
	{
		return Create(FGetter::CreateSP(InUserObject, InFunc, Vars...));
	}

	template <class UserClass, typename... VarTypes>
	static TAttribute CreateRaw(const UserClass* InUserObject,
		std::type_identity_t<ObjectType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)
	{
		return Create(FGetter::CreateRaw(InUserObject, InFunc, Vars...));
	}

	template <class UserClass, typename... VarTypes>
	static TAttribute CreateUObject(const UserClass* InUserObject,
		std::type_identity_t<ObjectType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)
	{
		return Create(FGetter::CreateUObject(InUserObject, InFunc, Vars...));
	}

	template <typename... VarTypes>
	static TAttribute CreateStatic(std::type_identity_t<ObjectType (*)(VarTypes...)> InFunc, VarTypes... Vars)
	{
		return Create(FGetter::CreateStatic(InFunc, Vars...));
	}

	/** Replaces any binding with a fixed value. */
	template <typename OtherType>
	void Set(const OtherType& InNewValue)
	{
		Getter.Unbind();
		Value = InNewValue;
		bIsSet = true;
	}

	/** Whether the attribute has a value or a getter. */
	bool IsSet() const { return bIsSet; }

	/** The current value: the getter is called each time when one is bound and its object still lives. */
	const ObjectType& Get() const
	{
		if (Getter.IsBound())
		{
			Value = Getter.Execute();
		}
		return Value;
	}

	/** The value, or DefaultValue when the attribute is not set. */
	const ObjectType& Get(const ObjectType& DefaultValue) const { return bIsSet ? Get() : DefaultValue; }

	void Bind(const FGetter& InGetter)
	{
		bIsSet = true;
		Getter = InGetter;
	}

	void Bind(TFunction<ObjectType(void)>&& InLambda)
	{
		bIsSet = true;
		Getter = FGetter::CreateLambda(MoveTemp(InLambda));
	}

	template <typename... VarTypes>
	void BindStatic(std::type_identity_t<ObjectType (*)(VarTypes...)> InFunc, VarTypes... Vars)
	{
		bIsSet = true;
		Getter.BindStatic(InFunc, Vars...);
	}

	template <class UserClass, typename... VarTypes>
	void BindRaw(UserClass* InUserObject, std::type_identity_t<ObjectType (UserClass::*)(VarTypes...) const> InFunc,
		VarTypes... Vars)
	{
		bIsSet = true;
		Getter.BindRaw(InUserObject, InFunc, Vars...);
	}

	/** Binds to a const getter of a shared object; the engine's own name for this is Bind, not BindSP. */
	template <class SourceType>
	void Bind(TSharedRef<SourceType> InUserObject, std::type_identity_t<ObjectType (SourceType::*)() const> InMethodPtr)
	{
		bIsSet = true;
		Getter.BindSP(InUserObject, InMethodPtr);
	}

	template <class SourceType>
	void Bind(SourceType* InUserObject, std::type_identity_t<ObjectType (SourceType::*)() const> InMethodPtr)
	{
		bIsSet = true;
		Getter.BindSP(InUserObject, InMethodPtr);
	}

	template <class UserClass, typename... VarTypes>
	void BindUObject(UserClass* InUserObject, std::type_identity_t<ObjectType (UserClass::*)(VarTypes...) const> InFunc,
		VarTypes... Vars)
	{
		bIsSet = true;
		Getter.BindUObject(InUserObject, InFunc, Vars...);
	}

	/** Whether a getter is bound (and its object, for weak bindings, still lives). */
	bool IsBound() const { return Getter.IsBound(); }

	const FGetter& GetBinding() const { return Getter; }

	/** Same binding, or same fixed value. */
	bool IdenticalTo(const TAttribute& InOther) const
	{
		const bool bIsBound = IsBound();
		if (bIsBound == InOther.IsBound())
		{
			if (bIsBound)
			{
				return Getter.GetHandle() == InOther.Getter.GetHandle();
			}
			return IsSet() == InOther.IsSet() && Value == InOther.Value;
		}
		return false;
	}

private:
	TAttribute(const FGetter& InGetter, bool /*bExplicitConstructor*/)
		: Value()
		, bIsSet(true)
		, Getter(InGetter)
	{
	}

	/** The last value read; mutable because reading a bound attribute refreshes it. */
	mutable ObjectType Value;
	bool bIsSet;
	FGetter Getter;
};

/** Makes an attribute bound to a shared object's const getter, with the argument types deduced. */
template <typename T, class UserClass>
TAttribute<T> MakeAttributeSP(const UserClass* InUserObject, T (UserClass::*InMethod)() const)
{
	return TAttribute<T>::CreateSP(InUserObject, InMethod);
}

template <typename T, class UserClass>
TAttribute<T> MakeAttributeRaw(const UserClass* InUserObject, T (UserClass::*InMethod)() const)
{
	return TAttribute<T>::CreateRaw(InUserObject, InMethod);
}

template <typename LambdaType>
auto MakeAttributeLambda(LambdaType&& InLambda)
{
	using ValueType = std::decay_t<decltype(InLambda())>;
	return TAttribute<ValueType>::Create(TFunction<ValueType(void)>(Forward<LambdaType>(InLambda)));
}
