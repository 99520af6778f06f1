#pragma once

#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

#include <memory>
#include <vector>

namespace MvpTest {

// An access that only carries a type: the editing code never captures or applies anything.
class ListedAccess : public Kav::PropertyAccess::PropertyAccessBase {
public:
    explicit ListedAccess(Kav::PropertyAccess::PropAccessType_t type) : PropertyAccessBase(type) {}
    unsigned int getNumberOfBlocks() const override { return 0; }
    void saveStream(Kav::IO::OutStream*) const override {}
    unsigned int loadStream(Kav::IO::InStream*) override { return 0; }
    void apply(QString const&) const override {}
    void extract(QString const&) override {}
    PropertyAccessBase* copy() const override { return new ListedAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("listed"); }
    QString getTypeDescription() const override { return QStringLiteral("listed"); }
    unsigned int memSize() const override { return sizeof(*this); }
};

// A creator that reports a fixed category and property list.
class ListedCreator : public Kav::PropertyAccess::PropertyAccessCreator {
public:
    ListedCreator(Kav::PropertyAccess::PropAccessType_t type, Kav::PropertyAccess::PropTemplateCat_t category,
                  Kav::PropertyAccess::PropertyDescriptions list)
        : PropertyAccessCreator(type), category_(category), list_(std::move(list))
    {
    }
    Kav::PropertyAccess::PropertyAccessBase* create() const override { return new ListedAccess(getType()); }
    Kav::PropertyAccess::PropTemplateCat_t getPropertyDescriptions(
        Kav::PropertyAccess::PropertyDescriptions* out) const override
    {
        out->insert(out->end(), list_.begin(), list_.end());
        return category_;
    }

    // Properties named "property <id>".
    ListedCreator(Kav::PropertyAccess::PropAccessType_t type, std::vector<int> const& ids,
                  Kav::PropertyAccess::PropTemplateCat_t category)
        : ListedCreator(type, category, {})
    {
        for (int id : ids)
            list_.emplace_back(static_cast<Kav::PropertyAccess::PropTemplateID_t>(id), QStringLiteral("property %1").arg(id));
    }

private:
    Kav::PropertyAccess::PropTemplateCat_t category_;
    Kav::PropertyAccess::PropertyDescriptions list_;
};

// The four creators of the library as they describe themselves, registered in the library's
// order (element, container, 3D view, legend) for as long as the object lives.
class LibraryCreators {
public:
    LibraryCreators()
    {
        using namespace Kav::PropertyAccess;
        auto p = [](int id, char const* text) { return std::make_pair(static_cast<PropTemplateID_t>(id), QString::fromLatin1(text)); };
        creators_.push_back(std::make_unique<ListedCreator>(PROP_ACC_CAD_ELEMENT, CAT_RESTORE_EXPLORER_ELEMENTS,
            PropertyDescriptions{p(6, "element visibility"), p(5, "element visualization"),
                p(35, "element pullout distance"), p(7, "label visibility"), p(9, "label auto placement"),
                p(8, "label content template")}));
        creators_.push_back(std::make_unique<ListedCreator>(PROP_ACC_CAD_CONTAINER, CAT_RESTORE_EXPLORER_ELEMENTS,
            PropertyDescriptions{p(6, "element visibility")}));
        creators_.push_back(std::make_unique<ListedCreator>(PROP_ACC_3D_VIEW, CAT_RESTORE_3D,
            PropertyDescriptions{p(0, "rotation"), p(1, "translation"), p(2, "scale"), p(3, "axis scale")}));
        creators_.push_back(std::make_unique<ListedCreator>(PROP_ACC_LEGEND, CAT_RESTORE_GENERAL,
            PropertyDescriptions{p(4, "all legend parameters")}));
    }
    void add(std::unique_ptr<ListedCreator> creator) { creators_.push_back(std::move(creator)); }

private:
    std::vector<std::unique_ptr<ListedCreator>> creators_;
};

} // namespace MvpTest
