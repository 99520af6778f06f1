#pragma once
#include "kavhost_export.h"
#include <QString>
#include <QStringList>
#include <memory>

namespace Kav {
namespace CAD {
class Element;

// The element types of the host, their stable names and translated descriptions.
class KAVHOST_EXPORT ElementCreator {
public:
    enum Element_t : unsigned int {
        PART = 1,
        ASSEMBLY = 2,
        POINT = 10,
        PLANE = 11,
        CIRCLE = 12,
        CYLINDER = 13,
        SURFACE_INSPECTION = 20,
        SECTION_INSPECTION_2D = 21,
        DISTANCE = 30,
        FOLDER = 40,
        REPORT = 50,
        UNKNOWN_TYPE = 0xFFFFFFFFu
    };

    // "part", "assembly", ...; empty for a code that is no type.
    static QString getTypeName(unsigned int type);
    // Kav::translate("KavHost_element_type", ...) of a readable text; empty for no type.
    static QString getTypeDescription(unsigned int type);
    // UNKNOWN_TYPE for a name that is no type.
    static unsigned int getTypeFromName(QString const& name);
    static QStringList getTypeNames();
    // The right class for the type (SectionInsp2d, Report, ...); null for UNKNOWN_TYPE.
    static std::unique_ptr<Element> create(unsigned int type, QString const& name);
};

} // namespace CAD
} // namespace Kav
