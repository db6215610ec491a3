// Stands in for the engine's Widgets/SLeafWidget.h: the base of widgets without children (text, images).
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Widgets/SWidget.h"

class SLeafWidget : public SWidget
{
public:
	virtual FChildren* GetChildren() override { return &NoChildren; }

protected:
	SLeafWidget()
		: NoChildren(this)
	{
	}

private:
	FNoChildren NoChildren;
};
