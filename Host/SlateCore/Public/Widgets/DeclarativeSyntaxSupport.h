// Stands in for the engine's Widgets/DeclarativeSyntaxSupport.h: SLATE_BEGIN_ARGS and the argument macros,
// SNew/SAssignNew, and the arguments every widget takes.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Misc/Attribute.h"
#include "Types/ISlateMetaData.h"
#include "Widgets/SNullWidget.h"
#include "Widgets/SWidget.h"
#include <tuple>
#include <type_traits>

class UObject;

namespace HostSlate
{
/** Member-function pointer types that fit a delegate, with extra payload parameters (the engine's TMethodPtr). */
template <bool bConst, typename UserClass, typename FuncType>
struct TMemFunPtrType;
template <typename UserClass, typename RetType, typename... ArgTypes>
struct TMemFunPtrType<false, UserClass, RetType(ArgTypes...)>
{
	using Type = RetType (UserClass::*)(ArgTypes...);
};
template <typename UserClass, typename RetType, typename... ArgTypes>
struct TMemFunPtrType<true, UserClass, RetType(ArgTypes...)>
{
	using Type = RetType (UserClass::*)(ArgTypes...) const;
};

template <typename DelegateType>
struct TDelegateTraits;
template <typename RetType, typename... ParamTypes, typename UserPolicy>
struct TDelegateTraits<TDelegate<RetType(ParamTypes...), UserPolicy>>
{
	template <typename UserClass, typename... VarTypes>
	using TMethodPtr = typename TMemFunPtrType<false, UserClass, RetType(ParamTypes..., VarTypes...)>::Type;
	template <typename UserClass, typename... VarTypes>
	using TConstMethodPtr = typename TMemFunPtrType<true, UserClass, RetType(ParamTypes..., VarTypes...)>::Type;
};
} // namespace HostSlate

/** A widget argument that always holds a widget: SNullWidget::NullWidget until one is given. */
struct TAlwaysValidWidget
{
	TAlwaysValidWidget()
		: Widget(SNullWidget::NullWidget)
	{
	}
	TSharedRef<SWidget> Widget;
};

/** The `.Content()[ ... ]` form of a named slot argument. */
template <class DeclarationType>
struct NamedSlotProperty
{
	NamedSlotProperty(DeclarationType& InOwnerDeclaration, TAlwaysValidWidget& InSlotContent)
		: OwnerDeclaration(InOwnerDeclaration)
		, SlotContent(InSlotContent)
	{
	}
	DeclarationType& operator[](const TSharedRef<SWidget>& InChild)
	{
		SlotContent.Widget = InChild;
		return OwnerDeclaration;
	}
	DeclarationType& OwnerDeclaration;
	TAlwaysValidWidget& SlotContent;
};

/** The attribute setters the argument macros write: a value or attribute, a const getter (SP, raw, UObject), a
 *  static function or a lambda. Getters must be const, as in the engine. */
#define HOST_SLATE_ATTRIBUTE_SETTERS(AttrType, AttrName)                                                                \
	WidgetArgsType& AttrName(TAttribute<AttrType> InAttribute)                                                          \
	{                                                                                                                    \
		_##AttrName = MoveTemp(InAttribute);                                                                             \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <typename... VarTypes>                                                                                      \
	WidgetArgsType& AttrName##_Static(std::type_identity_t<AttrType (*)(VarTypes...)> InFunc, VarTypes... Vars)         \
	{                                                                                                                    \
		_##AttrName = TAttribute<AttrType>::Create(TAttribute<AttrType>::FGetter::CreateStatic(InFunc, Vars...));        \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	WidgetArgsType& AttrName##_Lambda(TFunction<AttrType(void)>&& InFunctor)                                            \
	{                                                                                                                    \
		_##AttrName = TAttribute<AttrType>::Create(MoveTemp(InFunctor));                                                 \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& AttrName##_Raw(const UserClass* InUserObject,                                                       \
		std::type_identity_t<AttrType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)                      \
	{                                                                                                                    \
		_##AttrName = TAttribute<AttrType>::Create(TAttribute<AttrType>::FGetter::CreateRaw(InUserObject, InFunc, Vars...)); \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& AttrName(TSharedRef<UserClass> InUserObjectRef,                                                      \
		std::type_identity_t<AttrType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)                      \
	{                                                                                                                    \
		_##AttrName =                                                                                                    \
			TAttribute<AttrType>::Create(TAttribute<AttrType>::FGetter::CreateSP(InUserObjectRef, InFunc, Vars...));     \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& AttrName(UserClass* InUserObject,                                                                    \
		std::type_identity_t<AttrType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)                      \
	{                                                                                                                    \
		_##AttrName =                                                                                                    \
			TAttribute<AttrType>::Create(TAttribute<AttrType>::FGetter::CreateSP(InUserObject, InFunc, Vars...));        \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& AttrName##_UObject(UserClass* InUserObject,                                                         \
		std::type_identity_t<AttrType (UserClass::*)(VarTypes...) const> InFunc, VarTypes... Vars)                      \
	{                                                                                                                    \
		_##AttrName =                                                                                                    \
			TAttribute<AttrType>::Create(TAttribute<AttrType>::FGetter::CreateUObject(InUserObject, InFunc, Vars...));   \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}

/** The arguments every widget takes, whatever its kind. */
struct FSlateBaseNamedArgs
{
	TAttribute<FText> _ToolTipText;
	TAttribute<EVisibility> _Visibility = EVisibility::Visible;
	TAttribute<bool> _IsEnabled = true;
	TAttribute<TOptional<EMouseCursor::Type>> _Cursor;
	FName _Tag;
	bool _ForceVolatile = false;
	EWidgetClipping _Clipping = EWidgetClipping::Inherit;
	EFlowDirectionPreference _FlowDirectionPreference = EFlowDirectionPreference::Inherit;
	float _RenderOpacity = 1.0f;
	TArray<TSharedRef<ISlateMetaData>> MetaData;
};

/** The base of a widget's FArguments: the common arguments, returning the widget's own argument type. */
template <typename InWidgetType>
struct TSlateBaseNamedArgs : public FSlateBaseNamedArgs
{
	using WidgetArgsType = typename InWidgetType::FArguments;

	WidgetArgsType& Me() { return static_cast<WidgetArgsType&>(*this); }

	HOST_SLATE_ATTRIBUTE_SETTERS(FText, ToolTipText)
	HOST_SLATE_ATTRIBUTE_SETTERS(EVisibility, Visibility)
	HOST_SLATE_ATTRIBUTE_SETTERS(bool, IsEnabled)
	HOST_SLATE_ATTRIBUTE_SETTERS(TOptional<EMouseCursor::Type>, Cursor)

	WidgetArgsType& Tag(FName InTag)
	{
		_Tag = InTag;
		return Me();
	}
	WidgetArgsType& ForceVolatile(bool bInForceVolatile)
	{
		_ForceVolatile = bInForceVolatile;
		return Me();
	}
	WidgetArgsType& Clipping(EWidgetClipping InClipping)
	{
		_Clipping = InClipping;
		return Me();
	}
	WidgetArgsType& FlowDirectionPreference(EFlowDirectionPreference InPreference)
	{
		_FlowDirectionPreference = InPreference;
		return Me();
	}
	WidgetArgsType& RenderOpacity(float InOpacity)
	{
		_RenderOpacity = InOpacity;
		return Me();
	}
	/** Attaches metadata made from one argument, e.g. AddMetaData<FTagMetaData>(TEXT("Connect")). */
	template <typename MetaDataType, typename Arg0Type>
	WidgetArgsType& AddMetaData(Arg0Type InArg0)
	{
		MetaData.Add(MakeShared<MetaDataType>(InArg0));
		return Me();
	}
	template <typename MetaDataType>
	WidgetArgsType& AddMetaData(TSharedRef<MetaDataType> InMetaData)
	{
		MetaData.Add(InMetaData);
		return Me();
	}
};

#define SLATE_BEGIN_ARGS(InWidgetType)                                                                                  \
public:                                                                                                                  \
	struct FArguments : public TSlateBaseNamedArgs<InWidgetType>                                                         \
	{                                                                                                                    \
		typedef FArguments WidgetArgsType;                                                                               \
		typedef InWidgetType WidgetType;                                                                                 \
		FArguments()

#define SLATE_USER_ARGS(InWidgetType) SLATE_BEGIN_ARGS(InWidgetType)

#define SLATE_END_ARGS() \
	}                    \
	;

/** An attribute argument: `TAttribute<Type> _Name` with the setters above. */
#define SLATE_ATTRIBUTE(AttrType, AttrName)                                                                             \
	TAttribute<AttrType> _##AttrName;                                                                                    \
	HOST_SLATE_ATTRIBUTE_SETTERS(AttrType, AttrName)

/** A plain argument: `Type _Name` and `.Name(Type)`. */
#define SLATE_ARGUMENT(ArgType, ArgName)                                                                                \
	ArgType _##ArgName{};                                                                                                \
	WidgetArgsType& ArgName(ArgType InArg)                                                                               \
	{                                                                                                                    \
		_##ArgName = InArg;                                                                                              \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}

#define SLATE_ARGUMENT_DEFAULT(ArgType, ArgName) SLATE_ARGUMENT(ArgType, ArgName)

/** A style argument: a pointer to a style struct, given directly or by style set and name. */
#define SLATE_STYLE_ARGUMENT(ArgType, ArgName)                                                                          \
	const ArgType* _##ArgName = nullptr;                                                                                        \
	WidgetArgsType& ArgName(const ArgType* InArg)                                                                        \
	{                                                                                                                    \
		_##ArgName = InArg;                                                                                              \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	WidgetArgsType& ArgName(const class ISlateStyle* InSlateStyle, const FName& StyleName, const ANSICHAR* Specifier = nullptr) \
	{                                                                                                                    \
		_##ArgName = &InSlateStyle->GetWidgetStyle<ArgType>(StyleName, Specifier);                                       \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	WidgetArgsType& ArgName(const class ISlateStyle& InSlateStyle, const FName& StyleName, const ANSICHAR* Specifier = nullptr) \
	{                                                                                                                    \
		_##ArgName = &InSlateStyle.GetWidgetStyle<ArgType>(StyleName, Specifier);                                        \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}

/** An event argument: a delegate, or a handler bound from an object (SP, raw, UObject), a static or a lambda.
 *  Handler parameters must match the delegate's exactly, as in the engine. */
#define SLATE_EVENT(DelegateName, EventName)                                                                            \
	DelegateName _##EventName;                                                                                           \
	WidgetArgsType& EventName(const DelegateName& InDelegate)                                                            \
	{                                                                                                                    \
		_##EventName = InDelegate;                                                                                       \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <typename StaticFuncPtr, typename... VarTypes>                                                              \
	WidgetArgsType& EventName##_Static(StaticFuncPtr InFunc, VarTypes... Vars)                                           \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateStatic(InFunc, Vars...);                                                      \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <typename FunctorType, typename... VarTypes>                                                                \
	WidgetArgsType& EventName##_Lambda(FunctorType&& InFunctor, VarTypes... Vars)                                        \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateLambda(Forward<FunctorType>(InFunctor), Vars...);                             \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName##_Raw(UserClass* InUserObject,                                                            \
		typename HostSlate::TDelegateTraits<DelegateName>::template TMethodPtr<UserClass, VarTypes...> InFunc,           \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateRaw(InUserObject, InFunc, Vars...);                                           \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName##_Raw(UserClass* InUserObject,                                                            \
		typename HostSlate::TDelegateTraits<DelegateName>::template TConstMethodPtr<UserClass, VarTypes...> InFunc,      \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateRaw(InUserObject, InFunc, Vars...);                                           \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName(TSharedRef<UserClass> InUserObjectRef,                                                     \
		typename HostSlate::TDelegateTraits<DelegateName>::template TMethodPtr<UserClass, VarTypes...> InFunc,           \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateSP(InUserObjectRef, InFunc, Vars...);                                         \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName(TSharedRef<UserClass> InUserObjectRef,                                                     \
		typename HostSlate::TDelegateTraits<DelegateName>::template TConstMethodPtr<UserClass, VarTypes...> InFunc,      \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateSP(InUserObjectRef, InFunc, Vars...);                                         \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName(UserClass* InUserObject,                                                                   \
		typename HostSlate::TDelegateTraits<DelegateName>::template TMethodPtr<UserClass, VarTypes...> InFunc,           \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateSP(InUserObject, InFunc, Vars...);                                            \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName(UserClass* InUserObject,                                                                   \
		typename HostSlate::TDelegateTraits<DelegateName>::template TConstMethodPtr<UserClass, VarTypes...> InFunc,      \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateSP(InUserObject, InFunc, Vars...);                                            \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName##_UObject(UserClass* InUserObject,                                                        \
		typename HostSlate::TDelegateTraits<DelegateName>::template TMethodPtr<UserClass, VarTypes...> InFunc,           \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateUObject(InUserObject, InFunc, Vars...);                                       \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	template <class UserClass, typename... VarTypes>                                                                     \
	WidgetArgsType& EventName##_UObject(UserClass* InUserObject,                                                        \
		typename HostSlate::TDelegateTraits<DelegateName>::template TConstMethodPtr<UserClass, VarTypes...> InFunc,      \
		VarTypes... Vars)                                                                                                \
	{                                                                                                                    \
		_##EventName = DelegateName::CreateUObject(InUserObject, InFunc, Vars...);                                       \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}

/** A named slot argument: `.Name()[ widget ]`. */
#define SLATE_NAMED_SLOT(DeclarationType, SlotName)                                                                     \
	NamedSlotProperty<DeclarationType> SlotName()                                                                        \
	{                                                                                                                    \
		return NamedSlotProperty<DeclarationType>(*this, _##SlotName);                                                   \
	}                                                                                                                    \
	TAlwaysValidWidget _##SlotName;

/** The default slot: `.Name()[ widget ]` or directly `[ widget ]`. */
#define SLATE_DEFAULT_SLOT(DeclarationType, SlotName)                                                                   \
	SLATE_NAMED_SLOT(DeclarationType, SlotName)                                                                          \
	DeclarationType& operator[](const TSharedRef<SWidget>& InChild)                                                      \
	{                                                                                                                    \
		_##SlotName.Widget = InChild;                                                                                    \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}

/** Slots given with `+ Panel::Slot()`. */
#define SLATE_SLOT_ARGUMENT(SlotType, SlotName)                                                                         \
	TArray<typename SlotType::FSlotArguments> _##SlotName;                                                               \
	WidgetArgsType& operator+(typename SlotType::FSlotArguments& SlotToAdd)                                              \
	{                                                                                                                    \
		_##SlotName.Add(MoveTemp(SlotToAdd));                                                                            \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}                                                                                                                    \
	WidgetArgsType& operator+(typename SlotType::FSlotArguments&& SlotToAdd)                                             \
	{                                                                                                                    \
		_##SlotName.Add(MoveTemp(SlotToAdd));                                                                            \
		return static_cast<WidgetArgsType&>(*this);                                                                      \
	}

namespace HostSlate
{
/** A widget being declared: made first, then given its arguments by `<<=`, as the engine's TDecl. */
template <class WidgetType, typename... RequiredArgTypes>
class TSlateDecl
{
public:
	TSlateDecl(const ANSICHAR* InType, RequiredArgTypes&&... InRequiredArgs)
		: Widget(MakeShared<WidgetType>())
		, TypeName(InType)
		, RequiredArgs(Forward<RequiredArgTypes>(InRequiredArgs)...)
	{
	}

	/** Hands out the widget (SAssignNew); assigned before Construct runs, as in the engine. */
	template <class ExposeAsWidgetType>
	TSlateDecl&& Expose(TSharedPtr<ExposeAsWidgetType>& OutVarToInit)
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}
	template <class ExposeAsWidgetType>
	TSlateDecl&& Expose(TSharedRef<ExposeAsWidgetType>& OutVarToInit)
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}
	template <class ExposeAsWidgetType>
	TSlateDecl&& Expose(TWeakPtr<ExposeAsWidgetType>& OutVarToInit)
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}

	/** Applies the common arguments, then calls the widget's Construct. */
	TSharedRef<WidgetType> operator<<=(const typename WidgetType::FArguments& InArgs)
	{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		Widget->HostSetType(TypeName);
#endif
		Widget->SWidgetConstruct(InArgs);
		std::apply([this, &InArgs](auto&&... Args) { Widget->Construct(InArgs, Forward<decltype(Args)>(Args)...); },
			RequiredArgs);
		return Widget;
	}

private:
	TSharedRef<WidgetType> Widget;
	FName TypeName;
	std::tuple<RequiredArgTypes&&...> RequiredArgs;
};

template <class WidgetType, typename... RequiredArgTypes>
TSlateDecl<WidgetType, RequiredArgTypes...> MakeTDecl(const ANSICHAR* InType, RequiredArgTypes&&... InRequiredArgs)
{
	return TSlateDecl<WidgetType, RequiredArgTypes...>(InType, Forward<RequiredArgTypes>(InRequiredArgs)...);
}
} // namespace HostSlate

/** Makes a widget: `SNew(SButton).Text(...).OnClicked(...)`; extra arguments go to Construct after FArguments. */
#define SNew(WidgetType, ...)                                                                                           \
	HostSlate::MakeTDecl<WidgetType>(#WidgetType __VA_OPT__(, ) __VA_ARGS__) <<= typename WidgetType::FArguments()

/** As SNew, and also stores the new widget in ExposeAs (a TSharedPtr, TSharedRef or TWeakPtr). */
#define SAssignNew(ExposeAs, WidgetType, ...)                                                                           \
	HostSlate::MakeTDecl<WidgetType>(#WidgetType __VA_OPT__(, ) __VA_ARGS__).Expose(ExposeAs) <<=                        \
		typename WidgetType::FArguments()
