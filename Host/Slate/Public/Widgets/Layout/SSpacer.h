// Stands in for the engine's Widgets/Layout/SSpacer.h: empty room of a given size.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SLeafWidget.h"

class SSpacer : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(SSpacer)
		: _Size(FVector2D::ZeroVector)
	{
	}
	SLATE_ATTRIBUTE(FVector2D, Size)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs) { SizeAttribute.Assign(InArgs._Size); }
	FVector2D GetSize() const { return SizeAttribute.Get(); }
	void SetSize(TAttribute<FVector2D> InSize) { SizeAttribute.Assign(InSize); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override { SizeAttribute.Update(); }
	virtual FVector2D HostMeasure(float /*MaxWidth*/, const HostSlate::FLayoutContext& /*Context*/) override
	{
		return SizeAttribute.Get();
	}
#endif

private:
	HostSlate::TCachedAttribute<FVector2D> SizeAttribute;
};
