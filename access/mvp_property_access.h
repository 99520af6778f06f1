#pragma once
// The plug-in's property accesses: the 3D view, the legend, CAD elements and containers,
// and the base for feature accesses of other libraries.
#include "mvp_export.h"
#include "access/mvp_container_property_access.h"
#include "access/mvp_element_property_access.h"
#include "access/mvp_feature_property_access_base.h"
#include "access/mvp_glview_property_access.h"
#include "access/mvp_legend_property_access.h"
