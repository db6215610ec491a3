// Stands in for the engine's Selection.h: a set of selected objects, kept in selection order.
#pragma once

#include "UObject/Object.h"

class USelection : public UObject
{
	HOST_DECLARE_CLASS(USelection, UObject, UnrealEd)
public:
	void Select(UObject* InObject);
	void Select(UObject* InObject, bool bSelect);
	void Deselect(UObject* InObject);
	void DeselectAll(UClass* InClass = nullptr);
	bool IsSelected(const UObject* InObject) const;
	/** Live selected objects. */
	int32 Num() const;
	UObject* GetSelectedObject(const int32 InIndex) const;
	template <class T>
	T* GetTop() const
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			if (T* Typed = Cast<T>(GetSelectedObject(Index)))
			{
				return Typed;
			}
		}
		return nullptr;
	}
	template <class T>
	int32 GetSelectedObjects(TArray<T*>& OutSelectedObjects) const
	{
		OutSelectedObjects.Empty();
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			if (T* Typed = Cast<T>(GetSelectedObject(Index)))
			{
				OutSelectedObjects.Add(Typed);
			}
		}
		return OutSelectedObjects.Num();
	}
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TArray<TWeakObjectPtr<UObject>> LiveSelection() const;
	TArray<TObjectPtr<UObject>> SelectedObjects;
};
