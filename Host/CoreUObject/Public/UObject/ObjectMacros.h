// Stands in for the engine's UObject/ObjectMacros.h. There is no header tool here: the reflection markers expand to
// nothing, and a class gets StaticClass() from HOST_DECLARE_CLASS (engine stand-in headers) or from GENERATED_BODY,
// which reads the class and its parent from the matching "<File>.generated.h" (see Host/README.md, "Objects").
#pragma once

#include "CoreTypes.h"
#include <type_traits>

#define UCLASS(...)
#define UINTERFACE(...)
#define USTRUCT(...)
#define UENUM(...)
#define UPROPERTY(...)
#define UFUNCTION(...)
#define UDELEGATE(...)
#define UMETA(...)
#define UPARAM(...)
#define GENERATED_USTRUCT_BODY(...)
#define GENERATED_IINTERFACE_BODY(...)
#define GENERATED_UINTERFACE_BODY(...)

/** Flags an object carries, as the engine's. */
enum EObjectFlags : uint32
{
	RF_NoFlags = 0x00000000,
	RF_Public = 0x00000001,
	RF_Standalone = 0x00000002,
	RF_MarkAsNative = 0x00000004,
	RF_Transactional = 0x00000008,
	RF_ClassDefaultObject = 0x00000010,
	RF_ArchetypeObject = 0x00000020,
	RF_Transient = 0x00000040,
	RF_MarkAsRootSet = 0x00000080,
	RF_TagGarbageTemp = 0x00000100,
	RF_NeedInitialization = 0x00000200,
	RF_NeedLoad = 0x00000400,
	RF_KeepForCooker = 0x00000800,
	RF_NeedPostLoad = 0x00001000,
	RF_NeedPostLoadSubobjects = 0x00002000,
	RF_NewerVersionExists = 0x00004000,
	RF_BeginDestroyed = 0x00008000,
	RF_FinishDestroyed = 0x00010000,
	RF_BeingRegenerated = 0x00020000,
	RF_DefaultSubObject = 0x00040000,
	RF_WasLoaded = 0x00080000,
	RF_TextExportTransient = 0x00100000,
	RF_LoadCompleted = 0x00200000,
	RF_InheritableComponentTemplate = 0x00400000,
	RF_DuplicateTransient = 0x00800000,
	RF_StrongRefOnFrame = 0x01000000,
	RF_NonPIEDuplicateTransient = 0x02000000,
	RF_WillBeLoaded = 0x08000000,
	RF_HasExternalPackage = 0x10000000,
	RF_AllocatedInSharedPage = 0x80000000,
};

inline constexpr EObjectFlags operator|(EObjectFlags A, EObjectFlags B)
{
	return (EObjectFlags)((uint32)A | (uint32)B);
}
inline constexpr EObjectFlags operator&(EObjectFlags A, EObjectFlags B)
{
	return (EObjectFlags)((uint32)A & (uint32)B);
}
inline constexpr EObjectFlags operator~(EObjectFlags A)
{
	return (EObjectFlags)(~(uint32)A);
}
inline EObjectFlags& operator|=(EObjectFlags& A, EObjectFlags B)
{
	return A = A | B;
}
inline EObjectFlags& operator&=(EObjectFlags& A, EObjectFlags B)
{
	return A = A & B;
}

#define RF_AllFlags ((EObjectFlags)0xffffffff)
/** Objects with these flags survive CollectGarbage in the engine's editor. */
#define GARBAGE_COLLECTION_KEEPFLAGS (GIsEditor ? RF_Standalone : RF_NoFlags)

enum ERenameFlags : uint32
{
	REN_None = 0x0000,
	REN_ForceNoResetLoaders = 0x0001,
	REN_Test = 0x0002,
	REN_DoNotDirty = 0x0004,
	REN_DontCreateRedirectors = 0x0010,
	REN_NonTransactional = 0x0020,
	REN_ForceGlobalUnique = 0x0040,
	REN_SkipGeneratedClasses = 0x0080,
};

inline constexpr ERenameFlags operator|(ERenameFlags A, ERenameFlags B)
{
	return (ERenameFlags)((uint32)A | (uint32)B);
}

/** Load flags; the stand-in reads LOAD_NoWarn and LOAD_Quiet. */
enum ELoadFlags : uint32
{
	LOAD_None = 0x00000000,
	LOAD_Async = 0x00000001,
	LOAD_NoWarn = 0x00000002,
	LOAD_EditorOnly = 0x00000004,
	LOAD_ResolvingDeferredExports = 0x00000008,
	LOAD_Verify = 0x00000010,
	LOAD_NoVerify = 0x00000080,
	LOAD_IsVerifying = 0x00000100,
	LOAD_SkipLoadImportedPackages = 0x00000200,
	LOAD_DisableDependencyPreloading = 0x00001000,
	LOAD_Quiet = 0x00002000,
	LOAD_FindIfFail = 0x00004000,
	LOAD_MemoryReader = 0x00008000,
	LOAD_NoRedirects = 0x00010000,
	LOAD_ForDiff = 0x00020000,
	LOAD_PackageForPIE = 0x00080000,
	LOAD_DeferDependencyLoads = 0x00100000,
	LOAD_ForFileDiff = 0x00200000,
	LOAD_DisableCompileOnLoad = 0x00400000,
};

class UClass;
class UObject;
class FObjectInitializer;

namespace HostObjects
{
/** Makes the class object of a C++ class once; HOST_DECLARE_CLASS calls it from StaticClass(). */
UClass* RegisterClass(const TCHAR* CppName, UClass* SuperClass, const TCHAR* ScriptPackage, UObject* (*Construct)(),
	uint32 ClassCastFlags);

/** The initializer of the object being constructed now. */
const FObjectInitializer& HostObjectInitializer();

/** Builds one object of a class; the object system has already chosen its name, outer and flags. */
template <class T>
UObject* ConstructInstance()
{
	if constexpr (std::is_abstract_v<T>)
	{
		return nullptr;
	}
	else if constexpr (std::is_constructible_v<T, const FObjectInitializer&>)
	{
		return new T(HostObjectInitializer());
	}
	else
	{
		return new T();
	}
}
} // namespace HostObjects

/**
 * What the engine's header tool writes into a class: its parent as Super, StaticClass(), and a registration that
 * makes the class known before main() in every program that includes the header, so that loading a package can make
 * objects of it by class path. Module is the engine module's name ("Engine"), giving "/Script/Engine".
 */
#define HOST_DECLARE_CLASS(TClass, TSuperClass, Module)                                                            \
public:                                                                                                            \
	typedef TSuperClass Super;                                                                                     \
	typedef TClass ThisClass;                                                                                      \
	static UClass* StaticClass()                                                                                   \
	{                                                                                                              \
		static UClass* const Class = HostObjects::RegisterClass(                                                   \
			TEXT(#TClass), TSuperClass::StaticClass(), TEXT("/Script/" #Module), &HostObjects::ConstructInstance<TClass>, 0); \
		return Class;                                                                                              \
	}                                                                                                              \
	static inline UClass* const HostClassRegistrant = StaticClass();                                               \
	static const TCHAR* StaticPackage() { return TEXT("/Script/" #Module); }

/** GENERATED_BODY of a class whose generated header names it: declarations, then private access, as the engine. */
#define HOST_GENERATED_BODY_IMPL(TClass, TSuperClass, Module) \
	HOST_DECLARE_CLASS(TClass, TSuperClass, Module)             \
private:

/** GENERATED_UCLASS_BODY: as GENERATED_BODY plus the initializer constructor the class defines itself. */
#define HOST_GENERATED_UCLASS_BODY_IMPL(TClass, TSuperClass, Module)                            \
	HOST_DECLARE_CLASS(TClass, TSuperClass, Module)                                             \
	TClass(const FObjectInitializer& ObjectInitializer = HostObjects::HostObjectInitializer()); \
                                                                                                \
public:

/**
 * A generated header defines HOST_GENERATED_CLASS(Body) as Body(Class, Parent, Module) for the class that follows it;
 * GENERATED_BODY() then expands it. Each header with a UCLASS includes its own generated header last, so the
 * definition in force is always the one for the class being declared.
 */
#define GENERATED_BODY(...) HOST_GENERATED_CLASS(HOST_GENERATED_BODY_IMPL)
#define GENERATED_UCLASS_BODY(...) HOST_GENERATED_CLASS(HOST_GENERATED_UCLASS_BODY_IMPL)
