// Stands in for the engine's Types/ISlateMetaData.h: data of any kind attached to a widget, such as a tag.
#pragma once

#include "CoreTypes.h"
#include "UObject/NameTypes.h"

class ISlateMetaData
{
public:
	virtual ~ISlateMetaData() = default;

	/** Whether this metadata is of the given type or derives from it. */
	template <class MetaDataType>
	bool IsOfType() const
	{
		return IsOfTypeImpl(MetaDataType::GetTypeId());
	}

protected:
	virtual bool IsOfTypeImpl(const FName& /*Type*/) const { return false; }
};

/** Declares a metadata class's type id and its place in the hierarchy. */
#define SLATE_METADATA_TYPE(TYPE, BASE)                                                                                  \
	static const FName& GetTypeId()                                                                                      \
	{                                                                                                                    \
		static FName Type(TEXT(#TYPE));                                                                                  \
		return Type;                                                                                                     \
	}                                                                                                                    \
	virtual bool IsOfTypeImpl(const FName& Type) const override                                                          \
	{                                                                                                                    \
		return GetTypeId() == Type || BASE::IsOfTypeImpl(Type);                                                          \
	}

/** A name a widget is known by, for tests and tutorials. */
class FTagMetaData : public ISlateMetaData
{
public:
	SLATE_METADATA_TYPE(FTagMetaData, ISlateMetaData)

	FTagMetaData(FName InTag)
		: Tag(InTag)
	{
	}

	FName Tag;
};
