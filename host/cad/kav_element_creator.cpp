#include "cad/kav_element_creator.h"

#include "cad/kav_element.h"
#include "core/kav_translate.h"

namespace Kav {
namespace CAD {

namespace {

struct TypeInfo {
    unsigned int type;
    char const* name;
    char const* description;
};

// Names are stored in project files and snapshot streams: never rename.
constexpr TypeInfo TYPES[] = {
    {ElementCreator::PART, "part", "part"},
    {ElementCreator::ASSEMBLY, "assembly", "assembly"},
    {ElementCreator::POINT, "point", "point"},
    {ElementCreator::PLANE, "plane", "plane"},
    {ElementCreator::CIRCLE, "circle", "circle"},
    {ElementCreator::CYLINDER, "cylinder", "cylinder"},
    {ElementCreator::SURFACE_INSPECTION, "surface_inspection", "surface inspection"},
    {ElementCreator::SECTION_INSPECTION_2D, "section_inspection_2d", "2D section inspection"},
    {ElementCreator::DISTANCE, "distance", "distance"},
    {ElementCreator::FOLDER, "folder", "folder"},
    {ElementCreator::REPORT, "report", "report"},
};

TypeInfo const* find(unsigned int type)
{
    for (TypeInfo const& t : TYPES) {
        if (t.type == type)
            return &t;
    }
    return nullptr;
}

} // namespace

QString ElementCreator::getTypeName(unsigned int type)
{
    TypeInfo const* t = find(type);
    return t != nullptr ? QString::fromLatin1(t->name) : QString();
}

QString ElementCreator::getTypeDescription(unsigned int type)
{
    TypeInfo const* t = find(type);
    return t != nullptr ? Kav::translate("KavHost_element_type", t->description) : QString();
}

unsigned int ElementCreator::getTypeFromName(QString const& name)
{
    for (TypeInfo const& t : TYPES) {
        if (name == QLatin1String(t.name))
            return t.type;
    }
    return UNKNOWN_TYPE;
}

QStringList ElementCreator::getTypeNames()
{
    QStringList names;
    for (TypeInfo const& t : TYPES)
        names << QString::fromLatin1(t.name);
    return names;
}

std::unique_ptr<Element> ElementCreator::create(unsigned int type, QString const& name)
{
    if (find(type) == nullptr)
        return nullptr;
    if (type == SECTION_INSPECTION_2D)
        return std::make_unique<SectionInsp2d>(name);
    if (type == REPORT)
        return std::make_unique<Report>(name);
    return std::make_unique<Element>(name, type);
}

} // namespace CAD
} // namespace Kav
