// Stand-in for the engine's Delegates/Delegate.h: single-cast and multicast delegates with the engine's binding
// kinds. A delegate bound with CreateSP/CreateUObject holds its object weakly and reads as unbound once it is gone.
#pragma once

#include "CoreTypes.h"
#include "Templates/SharedPointer.h"
#include "Templates/UnrealTemplate.h"
#include <functional>
#include <tuple>
#include <vector>

class UObject;

/** Identifies one binding, so that a multicast delegate can remove it later. */
class FDelegateHandle
{
public:
	enum EGenerateNewHandleType
	{
		GenerateNewHandle
	};
	FDelegateHandle() = default;
	explicit FDelegateHandle(EGenerateNewHandleType);
	bool IsValid() const { return ID != 0; }
	void Reset() { ID = 0; }
	bool operator==(const FDelegateHandle& Other) const { return ID == Other.ID; }
	bool operator!=(const FDelegateHandle& Other) const { return ID != Other.ID; }

private:
	uint64 ID = 0;
};

namespace HostDelegates
{
/** True while the object lives; provided by the object system of the stand-in. */
std::function<bool()> MakeObjectAliveCheck(const UObject* Object);

template <typename UserClass, ESPMode Mode>
TWeakPtr<UserClass, Mode> WeakFromRaw(UserClass* Object)
{
	return TWeakPtr<UserClass, Mode>(StaticCastSharedRef<UserClass>(Object->AsShared()));
}
template <typename UserClass, ESPMode Mode>
TWeakPtr<const UserClass, Mode> WeakFromRaw(const UserClass* Object)
{
	return TWeakPtr<const UserClass, Mode>(StaticCastSharedRef<const UserClass>(Object->AsShared()));
}
} // namespace HostDelegates

template <typename FuncType, typename UserPolicy = void>
class TDelegate;

template <typename RetType, typename... ParamTypes, typename UserPolicy>
class TDelegate<RetType(ParamTypes...), UserPolicy>
{
public:
	using FuncType = RetType(ParamTypes...);

	TDelegate() = default;
	TDelegate(std::nullptr_t) {}

	template <typename FunctorType, typename... PayloadTypes>
	static TDelegate CreateLambda(FunctorType&& Functor, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindLambda(Forward<FunctorType>(Functor), Payload...);
		return Result;
	}
	template <typename FunctorType, typename... PayloadTypes>
	static TDelegate CreateStatic(FunctorType Function, PayloadTypes... Payload)
	{
		return CreateLambda(Function, Payload...);
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	static TDelegate CreateRaw(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindRaw(Object, Method, Payload...);
		return Result;
	}
	template <typename UserClass, ESPMode Mode, typename MethodType, typename... PayloadTypes>
	static TDelegate CreateSP(const TSharedRef<UserClass, Mode>& Object, MethodType Method, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindSP(Object, Method, Payload...);
		return Result;
	}
	template <typename UserClass, ESPMode Mode, typename MethodType, typename... PayloadTypes>
	static TDelegate CreateSP(const TSharedPtr<UserClass, Mode>& Object, MethodType Method, PayloadTypes... Payload)
	{
		return CreateSP(Object.ToSharedRef(), Method, Payload...);
	}
	/** From inside an object that is already shared (the usual `CreateSP(this, &SWidget::OnX)`). */
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	static TDelegate CreateSP(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindSP(Object, Method, Payload...);
		return Result;
	}
	template <typename UserClass, typename FunctorType, typename... PayloadTypes>
	static TDelegate CreateSPLambda(UserClass* Object, FunctorType&& Functor, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindLambda(Forward<FunctorType>(Functor), Payload...);
		auto Weak = HostDelegates::WeakFromRaw<UserClass, ESPMode::ThreadSafe>(Object);
		Result.IsAlive = [Weak]() { return Weak.IsValid(); };
		Result.BoundObject = Object;
		return Result;
	}
	template <typename UserClass, ESPMode Mode, typename FunctorType, typename... PayloadTypes>
	static TDelegate CreateSPLambda(const TSharedRef<UserClass, Mode>& Object, FunctorType&& Functor, PayloadTypes... Payload)
	{
		return CreateSPLambda(&Object.Get(), Forward<FunctorType>(Functor), Payload...);
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	static TDelegate CreateUObject(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindUObject(Object, Method, Payload...);
		return Result;
	}
	template <typename UserClass, typename FunctorType, typename... PayloadTypes>
	static TDelegate CreateWeakLambda(UserClass* Object, FunctorType&& Functor, PayloadTypes... Payload)
	{
		TDelegate Result;
		Result.BindLambda(Forward<FunctorType>(Functor), Payload...);
		if constexpr (std::is_base_of_v<UObject, UserClass>)
		{
			Result.IsAlive = HostDelegates::MakeObjectAliveCheck(Object);
		}
		Result.BoundObject = Object;
		return Result;
	}

	template <typename FunctorType, typename... PayloadTypes>
	void BindLambda(FunctorType&& Functor, PayloadTypes... Payload)
	{
		Reset();
		if constexpr (sizeof...(PayloadTypes) == 0)
		{
			Callable = Forward<FunctorType>(Functor);
		}
		else
		{
			Callable = [Functor = std::decay_t<FunctorType>(Forward<FunctorType>(Functor)),
						   PayloadTuple = std::make_tuple(Payload...)](ParamTypes... Params) mutable -> RetType
			{
				return std::apply([&Functor, &Params...](auto&... Extra) -> RetType
					{ return Functor(Forward<ParamTypes>(Params)..., Extra...); },
					PayloadTuple);
			};
		}
		Handle = FDelegateHandle(FDelegateHandle::GenerateNewHandle);
	}
	template <typename FunctorType, typename... PayloadTypes>
	void BindStatic(FunctorType Function, PayloadTypes... Payload)
	{
		BindLambda(Function, Payload...);
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	void BindRaw(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		BindMethod(Object, Method, Payload...);
		BoundObject = Object;
	}
	template <typename UserClass, ESPMode Mode, typename MethodType, typename... PayloadTypes>
	void BindSP(const TSharedRef<UserClass, Mode>& Object, MethodType Method, PayloadTypes... Payload)
	{
		UserClass* Raw = &Object.Get();
		TWeakPtr<UserClass, Mode> Weak(Object);
		BindMethodGuarded(Raw, Method, [Weak]() { return Weak.IsValid(); }, Payload...);
	}
	template <typename UserClass, ESPMode Mode, typename MethodType, typename... PayloadTypes>
	void BindSP(const TSharedPtr<UserClass, Mode>& Object, MethodType Method, PayloadTypes... Payload)
	{
		BindSP(Object.ToSharedRef(), Method, Payload...);
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	void BindSP(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		auto Weak = HostDelegates::WeakFromRaw<UserClass, ESPMode::ThreadSafe>(Object);
		BindMethodGuarded(Object, Method, [Weak]() { return Weak.IsValid(); }, Payload...);
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	void BindUObject(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		BindMethodGuarded(Object, Method, HostDelegates::MakeObjectAliveCheck(Object), Payload...);
	}

	void Unbind() { Reset(); }
	/** Bound and, for weak bindings, its object still alive. */
	bool IsBound() const { return Callable != nullptr && (!IsAlive || IsAlive()); }
	bool IsBoundToObject(const void* Object) const { return Object != nullptr && BoundObject == Object; }
	FDelegateHandle GetHandle() const { return Handle; }

	/** Calling an unbound delegate is a failed check, as in the engine. */
	RetType Execute(ParamTypes... Params) const
	{
		check(IsBound());
		return Callable(Forward<ParamTypes>(Params)...);
	}
	template <typename R = RetType, typename = std::enable_if_t<std::is_void_v<R>>>
	bool ExecuteIfBound(ParamTypes... Params) const
	{
		if (!IsBound())
		{
			return false;
		}
		Callable(Forward<ParamTypes>(Params)...);
		return true;
	}

private:
	void Reset()
	{
		Callable = nullptr;
		IsAlive = nullptr;
		BoundObject = nullptr;
		Handle.Reset();
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	void BindMethod(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		Reset();
		Callable = [Object, Method, PayloadTuple = std::make_tuple(Payload...)](ParamTypes... Params) mutable -> RetType
		{
			return std::apply([Object, Method, &Params...](auto&... Extra) -> RetType
				{ return (Object->*Method)(Forward<ParamTypes>(Params)..., Extra...); },
				PayloadTuple);
		};
		Handle = FDelegateHandle(FDelegateHandle::GenerateNewHandle);
	}
	template <typename UserClass, typename MethodType, typename AliveType, typename... PayloadTypes>
	void BindMethodGuarded(UserClass* Object, MethodType Method, AliveType&& Alive, PayloadTypes... Payload)
	{
		BindMethod(Object, Method, Payload...);
		IsAlive = Forward<AliveType>(Alive);
		BoundObject = Object;
	}

	template <typename, typename>
	friend class TMulticastDelegate;

	std::function<RetType(ParamTypes...)> Callable;
	std::function<bool()> IsAlive;
	const void* BoundObject = nullptr;
	FDelegateHandle Handle;
};

template <typename FuncType, typename UserPolicy = void>
class TMulticastDelegate;

template <typename... ParamTypes, typename UserPolicy>
class TMulticastDelegate<void(ParamTypes...), UserPolicy>
{
public:
	using FDelegate = TDelegate<void(ParamTypes...)>;

	FDelegateHandle Add(const FDelegate& Delegate)
	{
		if (!Delegate.IsBound())
		{
			return FDelegateHandle();
		}
		Bindings.push_back(Delegate);
		return Delegate.GetHandle();
	}
	template <typename FunctorType, typename... PayloadTypes>
	FDelegateHandle AddLambda(FunctorType&& Functor, PayloadTypes... Payload)
	{
		return Add(FDelegate::CreateLambda(Forward<FunctorType>(Functor), Payload...));
	}
	template <typename FunctorType, typename... PayloadTypes>
	FDelegateHandle AddStatic(FunctorType Function, PayloadTypes... Payload)
	{
		return Add(FDelegate::CreateStatic(Function, Payload...));
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	FDelegateHandle AddRaw(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		return Add(FDelegate::CreateRaw(Object, Method, Payload...));
	}
	template <typename ObjectType, typename MethodType, typename... PayloadTypes>
	FDelegateHandle AddSP(const ObjectType& Object, MethodType Method, PayloadTypes... Payload)
	{
		return Add(FDelegate::CreateSP(Object, Method, Payload...));
	}
	template <typename UserClass, typename MethodType, typename... PayloadTypes>
	FDelegateHandle AddUObject(UserClass* Object, MethodType Method, PayloadTypes... Payload)
	{
		return Add(FDelegate::CreateUObject(Object, Method, Payload...));
	}
	template <typename UserClass, typename FunctorType, typename... PayloadTypes>
	FDelegateHandle AddWeakLambda(UserClass* Object, FunctorType&& Functor, PayloadTypes... Payload)
	{
		return Add(FDelegate::CreateWeakLambda(Object, Forward<FunctorType>(Functor), Payload...));
	}

	bool Remove(FDelegateHandle Handle)
	{
		for (auto It = Bindings.begin(); It != Bindings.end(); ++It)
		{
			if (It->GetHandle() == Handle)
			{
				Bindings.erase(It);
				return true;
			}
		}
		return false;
	}
	int32 RemoveAll(const void* Object)
	{
		const SIZE_T Before = Bindings.size();
		std::erase_if(Bindings, [Object](const FDelegate& Binding) { return Binding.IsBoundToObject(Object); });
		return (int32)(Before - Bindings.size());
	}
	void Clear() { Bindings.clear(); }
	bool IsBound() const
	{
		for (const FDelegate& Binding : Bindings)
		{
			if (Binding.IsBound())
			{
				return true;
			}
		}
		return false;
	}
	bool IsBoundToObject(const void* Object) const
	{
		for (const FDelegate& Binding : Bindings)
		{
			if (Binding.IsBoundToObject(Object))
			{
				return true;
			}
		}
		return false;
	}

	/** Calls every live binding; bindings added during the broadcast wait for the next one. */
	void Broadcast(ParamTypes... Params) const
	{
		const std::vector<FDelegate> Snapshot = Bindings;
		for (const FDelegate& Binding : Snapshot)
		{
			Binding.ExecuteIfBound(Params...);
		}
	}

private:
	std::vector<FDelegate> Bindings;
};

#define DECLARE_DELEGATE(DelegateName) typedef TDelegate<void()> DelegateName;
#define DECLARE_DELEGATE_OneParam(DelegateName, P1) typedef TDelegate<void(P1)> DelegateName;
#define DECLARE_DELEGATE_TwoParams(DelegateName, P1, P2) typedef TDelegate<void(P1, P2)> DelegateName;
#define DECLARE_DELEGATE_ThreeParams(DelegateName, P1, P2, P3) typedef TDelegate<void(P1, P2, P3)> DelegateName;
#define DECLARE_DELEGATE_FourParams(DelegateName, P1, P2, P3, P4) typedef TDelegate<void(P1, P2, P3, P4)> DelegateName;
#define DECLARE_DELEGATE_FiveParams(DelegateName, P1, P2, P3, P4, P5) typedef TDelegate<void(P1, P2, P3, P4, P5)> DelegateName;
#define DECLARE_DELEGATE_RetVal(R, DelegateName) typedef TDelegate<R()> DelegateName;
#define DECLARE_DELEGATE_RetVal_OneParam(R, DelegateName, P1) typedef TDelegate<R(P1)> DelegateName;
#define DECLARE_DELEGATE_RetVal_TwoParams(R, DelegateName, P1, P2) typedef TDelegate<R(P1, P2)> DelegateName;
#define DECLARE_DELEGATE_RetVal_ThreeParams(R, DelegateName, P1, P2, P3) typedef TDelegate<R(P1, P2, P3)> DelegateName;
#define DECLARE_DELEGATE_RetVal_FourParams(R, DelegateName, P1, P2, P3, P4) typedef TDelegate<R(P1, P2, P3, P4)> DelegateName;
#define DECLARE_MULTICAST_DELEGATE(DelegateName) typedef TMulticastDelegate<void()> DelegateName;
#define DECLARE_MULTICAST_DELEGATE_OneParam(DelegateName, P1) typedef TMulticastDelegate<void(P1)> DelegateName;
#define DECLARE_MULTICAST_DELEGATE_TwoParams(DelegateName, P1, P2) typedef TMulticastDelegate<void(P1, P2)> DelegateName;
#define DECLARE_MULTICAST_DELEGATE_ThreeParams(DelegateName, P1, P2, P3) typedef TMulticastDelegate<void(P1, P2, P3)> DelegateName;
#define DECLARE_EVENT(OwningType, EventName) typedef TMulticastDelegate<void()> EventName;
#define DECLARE_EVENT_OneParam(OwningType, EventName, P1) typedef TMulticastDelegate<void(P1)> EventName;

DECLARE_DELEGATE(FSimpleDelegate)
DECLARE_MULTICAST_DELEGATE(FSimpleMulticastDelegate)
