// Stand-in for the engine's Templates/SharedPointer.h: shared, weak and never-null references on std::shared_ptr,
// with the engine's names, default thread-safe mode and TSharedFromThis.
#pragma once

#include "CoreTypes.h"
#include "Templates/SharedPointerFwd.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"
#include <memory>
#include <type_traits>

namespace HostShared
{
/** Access to the std::shared_ptr behind the engine-named wrappers, for the wrappers' own conversions. */
struct FAccess
{
	template <class T>
	static const auto& Get(const T& Ptr)
	{
		return Ptr.Inner;
	}
	template <class Result, class Inner>
	static Result Make(Inner&& Ptr)
	{
		Result Out;
		Out.Inner = Forward<Inner>(Ptr);
		return Out;
	}
};
} // namespace HostShared

/** Base that lets an object hand out shared references to itself, once something owns it. */
template <class ObjectType, ESPMode Mode>
class TSharedFromThis : public std::enable_shared_from_this<ObjectType>
{
public:
	/** Crashes (check) when nothing owns the object yet, as in the engine (e.g. inside the constructor). */
	TSharedRef<ObjectType, Mode> AsShared();
	TSharedRef<ObjectType const, Mode> AsShared() const;
	TWeakPtr<ObjectType, Mode> AsWeak();
	TWeakPtr<ObjectType const, Mode> AsWeak() const;
	bool DoesSharedInstanceExist() const { return !this->weak_from_this().expired(); }

protected:
	template <class OtherType>
	static TSharedRef<OtherType, Mode> SharedThis(OtherType* ThisPtr);
	template <class OtherType>
	static TSharedRef<OtherType const, Mode> SharedThis(const OtherType* ThisPtr);

	TSharedFromThis() = default;
	TSharedFromThis(const TSharedFromThis&) {}
	TSharedFromThis& operator=(const TSharedFromThis&) { return *this; }
	~TSharedFromThis() = default;
};

template <class ObjectType, ESPMode Mode>
class TSharedRef
{
public:
	using ElementType = ObjectType;

	/** A reference always points at an object: default construction is only for the stand-in's own plumbing. */
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other)
		: Inner(HostShared::FAccess::Get(Other))
	{
	}
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	explicit TSharedRef(OtherType* InObject)
		: Inner(InObject)
	{
		check(InObject != nullptr);
	}
	TSharedRef(const TSharedRef&) = default;
	TSharedRef(TSharedRef&&) = default;
	TSharedRef& operator=(const TSharedRef&) = default;
	TSharedRef& operator=(TSharedRef&&) = default;

	ObjectType& Get() const { return *Inner; }
	ObjectType& operator*() const { return *Inner; }
	ObjectType* operator->() const { return Inner.get(); }
	int32 GetSharedReferenceCount() const { return (int32)Inner.use_count(); }
	bool IsUnique() const { return Inner.use_count() == 1; }
	TSharedPtr<ObjectType, Mode> ToSharedPtr() const;
	TWeakPtr<ObjectType, Mode> ToWeakPtr() const;
	/** Always true; lets generic code treat references and pointers alike. */
	bool IsValid() const { return true; }

	template <class OtherType>
	bool operator==(const TSharedRef<OtherType, Mode>& Other) const
	{
		return Inner.get() == HostShared::FAccess::Get(Other).get();
	}
	template <class OtherType>
	bool operator!=(const TSharedRef<OtherType, Mode>& Other) const
	{
		return !(*this == Other);
	}

private:
	friend struct HostShared::FAccess;
	template <class, ESPMode>
	friend class TSharedRef;
	TSharedRef() = default;
	std::shared_ptr<ObjectType> Inner;
};

template <class ObjectType, ESPMode Mode>
class TSharedPtr
{
public:
	using ElementType = ObjectType;

	TSharedPtr() = default;
	TSharedPtr(std::nullptr_t) {}
	TSharedPtr(const TSharedPtr&) = default;
	TSharedPtr(TSharedPtr&&) = default;
	TSharedPtr& operator=(const TSharedPtr&) = default;
	TSharedPtr& operator=(TSharedPtr&&) = default;
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& Other)
		: Inner(HostShared::FAccess::Get(Other))
	{
	}
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(const TSharedRef<OtherType, Mode>& Other)
		: Inner(HostShared::FAccess::Get(Other))
	{
	}
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	explicit TSharedPtr(OtherType* InObject)
		: Inner(InObject)
	{
	}
	TSharedPtr& operator=(std::nullptr_t)
	{
		Inner.reset();
		return *this;
	}

	ObjectType* Get() const { return Inner.get(); }
	bool IsValid() const { return Inner != nullptr; }
	explicit operator bool() const { return Inner != nullptr; }
	ObjectType& operator*() const
	{
		check(IsValid());
		return *Inner;
	}
	ObjectType* operator->() const
	{
		check(IsValid());
		return Inner.get();
	}
	void Reset() { Inner.reset(); }
	int32 GetSharedReferenceCount() const { return (int32)Inner.use_count(); }
	bool IsUnique() const { return Inner.use_count() == 1; }
	/** Asserts when null, as in the engine. */
	TSharedRef<ObjectType, Mode> ToSharedRef() const
	{
		check(IsValid());
		return HostShared::FAccess::Make<TSharedRef<ObjectType, Mode>>(Inner);
	}
	TWeakPtr<ObjectType, Mode> ToWeakPtr() const;

	template <class OtherType>
	bool operator==(const TSharedPtr<OtherType, Mode>& Other) const
	{
		return Inner.get() == HostShared::FAccess::Get(Other).get();
	}
	template <class OtherType>
	bool operator!=(const TSharedPtr<OtherType, Mode>& Other) const
	{
		return !(*this == Other);
	}
	template <class OtherType>
	bool operator==(const TSharedRef<OtherType, Mode>& Other) const
	{
		return Inner.get() == HostShared::FAccess::Get(Other).get();
	}
	bool operator==(std::nullptr_t) const { return Inner == nullptr; }
	bool operator!=(std::nullptr_t) const { return Inner != nullptr; }

private:
	friend struct HostShared::FAccess;
	std::shared_ptr<ObjectType> Inner;
};

template <class ObjectType, ESPMode Mode>
class TWeakPtr
{
public:
	using ElementType = ObjectType;

	TWeakPtr() = default;
	TWeakPtr(std::nullptr_t) {}
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TSharedPtr<OtherType, Mode>& Other)
		: Inner(HostShared::FAccess::Get(Other))
	{
	}
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TSharedRef<OtherType, Mode>& Other)
		: Inner(HostShared::FAccess::Get(Other))
	{
	}
	template <class OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TWeakPtr<OtherType, Mode>& Other)
		: Inner(HostShared::FAccess::Get(Other))
	{
	}

	TSharedPtr<ObjectType, Mode> Pin() const
	{
		return HostShared::FAccess::Make<TSharedPtr<ObjectType, Mode>>(Inner.lock());
	}
	bool IsValid() const { return !Inner.expired(); }
	void Reset() { Inner.reset(); }
	bool HasSameObject(const void* Other) const { return Inner.lock().get() == Other; }

	template <class OtherType>
	bool operator==(const TWeakPtr<OtherType, Mode>& Other) const
	{
		return !Inner.owner_before(HostShared::FAccess::Get(Other)) && !HostShared::FAccess::Get(Other).owner_before(Inner);
	}

private:
	friend struct HostShared::FAccess;
	std::weak_ptr<ObjectType> Inner;
};

template <class ObjectType, ESPMode Mode>
TSharedPtr<ObjectType, Mode> TSharedRef<ObjectType, Mode>::ToSharedPtr() const
{
	return TSharedPtr<ObjectType, Mode>(*this);
}

template <class ObjectType, ESPMode Mode>
TWeakPtr<ObjectType, Mode> TSharedRef<ObjectType, Mode>::ToWeakPtr() const
{
	return TWeakPtr<ObjectType, Mode>(*this);
}

template <class ObjectType, ESPMode Mode>
TWeakPtr<ObjectType, Mode> TSharedPtr<ObjectType, Mode>::ToWeakPtr() const
{
	return TWeakPtr<ObjectType, Mode>(*this);
}

template <class ObjectType, ESPMode Mode>
TSharedRef<ObjectType, Mode> TSharedFromThis<ObjectType, Mode>::AsShared()
{
	std::shared_ptr<ObjectType> Self = this->weak_from_this().lock();
	check(Self != nullptr);
	return HostShared::FAccess::Make<TSharedRef<ObjectType, Mode>>(MoveTemp(Self));
}

template <class ObjectType, ESPMode Mode>
TSharedRef<ObjectType const, Mode> TSharedFromThis<ObjectType, Mode>::AsShared() const
{
	std::shared_ptr<ObjectType const> Self = this->weak_from_this().lock();
	check(Self != nullptr);
	return HostShared::FAccess::Make<TSharedRef<ObjectType const, Mode>>(MoveTemp(Self));
}

template <class ObjectType, ESPMode Mode>
TWeakPtr<ObjectType, Mode> TSharedFromThis<ObjectType, Mode>::AsWeak()
{
	return HostShared::FAccess::Make<TWeakPtr<ObjectType, Mode>>(this->weak_from_this());
}

template <class ObjectType, ESPMode Mode>
TWeakPtr<ObjectType const, Mode> TSharedFromThis<ObjectType, Mode>::AsWeak() const
{
	return HostShared::FAccess::Make<TWeakPtr<ObjectType const, Mode>>(std::weak_ptr<ObjectType const>(this->weak_from_this()));
}

template <class ObjectType, ESPMode Mode>
template <class OtherType>
TSharedRef<OtherType, Mode> TSharedFromThis<ObjectType, Mode>::SharedThis(OtherType* ThisPtr)
{
	std::shared_ptr<ObjectType> Self = ThisPtr->weak_from_this().lock();
	check(Self != nullptr);
	return HostShared::FAccess::Make<TSharedRef<OtherType, Mode>>(std::static_pointer_cast<OtherType>(Self));
}

template <class ObjectType, ESPMode Mode>
template <class OtherType>
TSharedRef<OtherType const, Mode> TSharedFromThis<ObjectType, Mode>::SharedThis(const OtherType* ThisPtr)
{
	std::shared_ptr<ObjectType const> Self = ThisPtr->weak_from_this().lock();
	check(Self != nullptr);
	return HostShared::FAccess::Make<TSharedRef<OtherType const, Mode>>(std::static_pointer_cast<OtherType const>(Self));
}

template <class ObjectType, ESPMode Mode = ESPMode::ThreadSafe, typename... ArgTypes>
TSharedRef<ObjectType, Mode> MakeShared(ArgTypes&&... Args)
{
	return HostShared::FAccess::Make<TSharedRef<ObjectType, Mode>>(std::make_shared<ObjectType>(Forward<ArgTypes>(Args)...));
}

/** Wraps a new object; converts to a TSharedRef or TSharedPtr of any mode. */
template <class ObjectType>
struct TRawPtrProxy
{
	ObjectType* Object;

	template <class TargetType, ESPMode Mode>
	operator TSharedRef<TargetType, Mode>() const
	{
		return TSharedRef<TargetType, Mode>(Object);
	}
	template <class TargetType, ESPMode Mode>
	operator TSharedPtr<TargetType, Mode>() const
	{
		return TSharedPtr<TargetType, Mode>(Object);
	}
};

template <class ObjectType>
TRawPtrProxy<ObjectType> MakeShareable(ObjectType* InObject)
{
	return TRawPtrProxy<ObjectType>{InObject};
}

template <class CastToType, class CastFromType, ESPMode Mode>
TSharedRef<CastToType, Mode> StaticCastSharedRef(const TSharedRef<CastFromType, Mode>& InRef)
{
	return HostShared::FAccess::Make<TSharedRef<CastToType, Mode>>(
		std::static_pointer_cast<CastToType>(HostShared::FAccess::Get(InRef)));
}

template <class CastToType, class CastFromType, ESPMode Mode>
TSharedPtr<CastToType, Mode> StaticCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InPtr)
{
	return HostShared::FAccess::Make<TSharedPtr<CastToType, Mode>>(
		std::static_pointer_cast<CastToType>(HostShared::FAccess::Get(InPtr)));
}

template <class CastToType, class CastFromType, ESPMode Mode>
TSharedRef<CastToType, Mode> ConstCastSharedRef(const TSharedRef<CastFromType, Mode>& InRef)
{
	return HostShared::FAccess::Make<TSharedRef<CastToType, Mode>>(
		std::const_pointer_cast<CastToType>(HostShared::FAccess::Get(InRef)));
}

template <class CastToType, class CastFromType, ESPMode Mode>
TSharedPtr<CastToType, Mode> ConstCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InPtr)
{
	return HostShared::FAccess::Make<TSharedPtr<CastToType, Mode>>(
		std::const_pointer_cast<CastToType>(HostShared::FAccess::Get(InPtr)));
}

template <class ObjectType, ESPMode Mode>
uint32 GetTypeHash(const TSharedPtr<ObjectType, Mode>& Ptr)
{
	return GetTypeHash((const void*)Ptr.Get());
}

template <class ObjectType, ESPMode Mode>
uint32 GetTypeHash(const TSharedRef<ObjectType, Mode>& Ref)
{
	return GetTypeHash((const void*)&Ref.Get());
}
