#pragma once

namespace Kav {
namespace PropertyAccess {

// The kind of scene object an access captures. Values are stored in files: never renumber.
enum PropAccessType_t : int {
    PROP_ACC_NONE = -1,
    PROP_ACC_3D_VIEW = 0,
    PROP_ACC_LEGEND = 1,
    PROP_ACC_CAD_CONTAINER = 2,
    PROP_ACC_CAD_ELEMENT = 3,
};

// One restorable property. Libraries may declare ids of their own beyond these.
enum PropTemplateID_t : int {
    PROP_ROTATION = 0,
    PROP_TRANSLATION = 1,
    PROP_SCALE = 2,
    PROP_AXIS_SCALE = 3,
    PROP_LEGEND_ALL = 4,
    PROP_ELEMENT_VISUALIZATION = 5,
    PROP_ELEMENT_VISIBILITY = 6,
    PROP_LABEL_VISIBILITY = 7,
    PROP_LABEL_CONTENT_TEMPLATE = 8,
    PROP_LABEL_AUTO_PLACEMENT = 9,
    PROP_ELEMENT_PULLOUT_DISTANCE = 35,
};

// The group under which a type's properties are shown in template editors.
enum PropTemplateCat_t : int {
    CAT_UNKNOWN = 0,
    CAT_RESTORE_GENERAL = 1,
    CAT_RESTORE_EXPLORER_ELEMENTS = 2,
    CAT_RESTORE_3D = 3,
    CAT_RESTORE_FEATURES = 4,
    CAT_RESTORE_PROJECTS = 5,
};

} // namespace PropertyAccess
} // namespace Kav
