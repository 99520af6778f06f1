#pragma once

// The configuration framework: levels, settings, resources and their registry.
#include "cfg/kav_cfg_resource.h"
#include "cfg/kav_cfg_settings.h"
